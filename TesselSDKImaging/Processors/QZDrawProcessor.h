#pragma once
// The draw tool's freehand lines baked into the image: on a Core Graphics context, inside one
// transparency layer so an eraser stroke (blend mode Clear) removes only this run's paint, or as
// one GPU drawing effect. Line widths are the strokes' brush sizes times scaleFactor.

#include "TesselSDKImaging/Processors/QZBrushStrokesProcessor.h"

class QZDrawProcessor : public QZBrushStrokesProcessor {
public:
    using QZBrushStrokesProcessor::QZBrushStrokesProcessor;
    static std::shared_ptr<QZDrawProcessor> make() { return NSObject::create<QZDrawProcessor>(&QZDrawProcessor::init); }

    // Both blocks capture the strokes (as snapshots) and scaleFactor when they are made, and read
    // the stop flag before each stroke; the layer or the effect is always closed.
    QZBitmapBlock bitmapBlock() const override;
    QZQopBitmapBlock qopBitmapBlock() const override;
};
