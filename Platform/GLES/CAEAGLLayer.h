#pragma once
// The layer a GL view draws into: its renderbuffer's storage comes from the layer's bounds times
// contentsScale, and each presented frame becomes the layer's contents.
//
// contentsScale starts at 1 whatever the screen's scale: the GL view records its renderbuffer's
// size as its bounds in points, so the storage must be bounds x 1.
//
// Presents arrive on the GL thread and are published at once, atomically; the main thread sees a
// frame once the presenting block has ended. Until the view core's CALayer exists this layer
// stands alone on NSObject.

#include "CoreGraphics/CGGeometry.h"
#include "CoreGraphics/CGImage.h"
#include "Foundation/NSObject.h"
#include "GLES/EAGLDrawable.h"

#include <memory>
#include <mutex>

class CAEAGLLayer : public NSObject, public EAGLDrawable {
public:
    using NSObject::NSObject;
    static std::shared_ptr<CAEAGLLayer> layer() { return NSObject::create<CAEAGLLayer>(); }

    CGRect bounds() const;
    void setBounds(CGRect bounds);
    CGFloat contentsScale() const;
    void setContentsScale(CGFloat scale);
    bool isOpaque() const;
    void setOpaque(bool opaque);
    // The last presented frame; null before the first.
    std::shared_ptr<CGImage> contents() const;
    void setContents(std::shared_ptr<CGImage> contents);

    // EAGLDrawable: bounds x contentsScale, rounded to whole pixels (0 when not positive).
    EAGLDrawablePixelSize drawablePixelSize() const override;
    void presentDrawableImage(CGImageRef image) override;

private:
    mutable std::mutex mutex_;
    CGRect bounds_{};
    CGFloat contentsScale_ = 1;
    bool opaque_ = false;
    std::shared_ptr<CGImage> contents_;
};
