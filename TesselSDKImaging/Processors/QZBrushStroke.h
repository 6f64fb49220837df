#pragma once
// One finger stroke of a brush or draw tool. The brush screen appends points on the main thread
// while the image server's queue paints them; a block made for a run takes a snapshot of the
// stroke (snapshot()) and reads only that, so a point list never moves under its reader. The
// queues write `color` (a picked smart colour) and `nextRenderIndex`; every field sits under the
// stroke's small lock, which is never held while painting.

#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class UIColor;

enum QZColorSplashMode : std::int32_t {
    QZColorSplashModeNone = 0,
    QZColorSplashModeSmart = 1,
    QZColorSplashModeFree = 2,
    QZColorSplashModeErase = 3,
};

class QZBrushStroke : public NSObject {
public:
    using NSObject::NSObject;
    // Red, blend mode Normal, no points, size 0, mode None, not complete.
    static std::shared_ptr<QZBrushStroke> make() { return NSObject::create<QZBrushStroke>(&QZBrushStroke::init); }

    // What a run reads of a stroke, fixed when its block was made.
    struct Snapshot {
        std::shared_ptr<QZBrushStroke> stroke;
        // Image-relative points, 0..1 from the top-left.
        std::shared_ptr<const std::vector<CGPoint>> points;
        float brushSize = 0;
        CGBlendMode blendMode = kCGBlendModeNormal;
        bool isComplete = false;
        QZColorSplashMode colorSplashMode = QZColorSplashModeNone;
        std::shared_ptr<UIColor> color;
    };
    Snapshot snapshot() const;

    std::vector<CGPoint> points() const;
    void setPoints(std::vector<CGPoint> points);
    void addPoint(CGPoint point);
    std::size_t pointCount() const;
    // The brush diameter (the draw tool's line width), in preview pixels.
    float brushSize() const;
    void setBrushSize(float size);
    std::shared_ptr<UIColor> color() const;
    void setColor(std::shared_ptr<UIColor> color);
    CGBlendMode blendMode() const;
    void setBlendMode(CGBlendMode mode);
    // The finger has lifted: the stroke gets its ending segment.
    bool isComplete() const;
    void setIsComplete(bool complete);
    QZColorSplashMode colorSplashMode() const;
    void setColorSplashMode(QZColorSplashMode mode);
    // The first point not yet painted into the live preview's mask.
    int nextRenderIndex() const;
    void setNextRenderIndex(int index);

protected:
    void init();

private:
    mutable std::mutex lock_;
    bool isComplete_ = false;
    // Copied on write while a snapshot shares it.
    std::shared_ptr<std::vector<CGPoint>> points_;
    float radius_ = 0;
    std::shared_ptr<UIColor> color_;
    CGBlendMode blendMode_ = kCGBlendModeNormal;
    QZColorSplashMode colorSplashMode_ = QZColorSplashModeNone;
    int nextRenderIndex_ = 0;
};
