#pragma once
// The layer a GL view draws into: its renderbuffer's storage comes from the layer's bounds times
// contentsScale, and each presented frame becomes the layer's contents, shown as a screen shows
// a renderbuffer (GL's row 0 at the bottom).
//
// contentsScale starts at 1 whatever the screen's scale: the GL view records its renderbuffer's
// size as its bounds in points, so the storage must be bounds x 1.
//
// Presents arrive on the GL thread and are swapped in at once under a lock, with no hop to the
// main thread (the GL queue may be waiting for it); the compositor reads the frame under the same
// lock.

#include "GLES/EAGLDrawable.h"
#include "QuartzCore/CALayer.h"

#include <memory>
#include <mutex>

class CAEAGLLayer : public CALayer, public EAGLDrawable {
public:
    using CALayer::CALayer;
    static std::shared_ptr<CAEAGLLayer> layer() { return NSObject::create<CAEAGLLayer>(); }

    // The last presented frame; null before the first.
    std::shared_ptr<CGImage> contents() const;
    void setContents(std::shared_ptr<CGImage> contents);
    CGImageRef copyContents() const override;

    // EAGLDrawable: bounds x contentsScale, rounded to whole pixels (0 when not positive).
    EAGLDrawablePixelSize drawablePixelSize() const override;
    void presentDrawableImage(CGImageRef image) override;

private:
    mutable std::mutex mutex_;
    std::shared_ptr<CGImage> presented_;
};
