#include "TesselSDKImaging/Modules/QZSelectiveBrushModule.h"

#include "Foundation/NSLog.h"

void QZSelectiveBrushModule::createProcessors(QZProcessorList& processors)
{
    QZModule::createProcessors(processors);
    const auto add = [&](QZBrushStrokeList strokes) {
        std::shared_ptr<QZSelectiveBrushProcessor> processor = processorClass_ ? processorClass_() : nullptr;
        if (!processor) {
            NSLog("%s %@", "-[QZSelectiveBrushModule createProcessors:]", "Expected non-nil processor.");
            return;
        }
        processor->setBrushStrokes(std::move(strokes));
        processors.push_back(std::move(processor));
    };
    if (willRunOnCPU()) {
        for (const auto& stroke : brushStrokes_) add({stroke});
    } else {
        add(brushStrokes_);
    }
}
