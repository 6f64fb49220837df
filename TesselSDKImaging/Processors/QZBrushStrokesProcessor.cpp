#include "TesselSDKImaging/Processors/QZBrushStrokesProcessor.h"

std::vector<QZBrushStroke::Snapshot> QZBrushStrokesProcessor::strokeSnapshots() const
{
    std::vector<QZBrushStroke::Snapshot> snapshots;
    snapshots.reserve(strokes_.size());
    for (const auto& stroke : strokes_) {
        if (stroke) snapshots.push_back(stroke->snapshot());
    }
    return snapshots;
}
