#pragma once
// A processor holding plain brush strokes; the draw processor builds on it. It has no block of its own.

#include "TesselSDKImaging/Processors/QZBrushStroke.h"
#include "TesselSDKImaging/Processors/QZProcessor.h"

#include <memory>
#include <vector>

using QZBrushStrokeList = std::vector<std::shared_ptr<QZBrushStroke>>;

class QZBrushStrokesProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZBrushStrokesProcessor> make()
    {
        return NSObject::create<QZBrushStrokesProcessor>(&QZBrushStrokesProcessor::init);
    }

    const QZBrushStrokeList& strokes() const { return strokes_; }
    void setStrokes(QZBrushStrokeList strokes) { strokes_ = std::move(strokes); }

protected:
    // Snapshots of the strokes as they are now, for a block to read while the main thread appends.
    std::vector<QZBrushStroke::Snapshot> strokeSnapshots() const;

private:
    QZBrushStrokeList strokes_;
};
