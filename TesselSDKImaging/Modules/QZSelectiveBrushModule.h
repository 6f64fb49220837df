#pragma once
// Packages brush strokes for replay: one processor per stroke when the replay runs on the CPU,
// else one processor with all of them. It sets no mask size, GL instance or hi-res flag.

#include "TesselSDKImaging/Modules/QZModule.h"
#include "TesselSDKImaging/Processors/QZSelectiveBrushProcessor.h"

#include <functional>

class QZSelectiveBrushModule : public QZModule {
public:
    using QZModule::QZModule;
    using ProcessorFactory = std::function<std::shared_ptr<QZSelectiveBrushProcessor>()>;
    static std::shared_ptr<QZSelectiveBrushModule> make()
    {
        return NSObject::create<QZSelectiveBrushModule>(&QZSelectiveBrushModule::init);
    }

    // Makes a new processor of the brush's kind.
    const ProcessorFactory& processorClass() const { return processorClass_; }
    void setProcessorClass(ProcessorFactory factory) { processorClass_ = std::move(factory); }
    const QZBrushStrokeList& brushStrokes() const { return brushStrokes_; }
    void setBrushStrokes(QZBrushStrokeList strokes) { brushStrokes_ = std::move(strokes); }
    CGSize originalImageSize() const { return originalImageSize_; }
    void setOriginalImageSize(CGSize size) { originalImageSize_ = size; }

    // A factory without a processor adds nothing and logs "Expected non-nil processor.".
    void createProcessors(QZProcessorList& processors) override;

private:
    ProcessorFactory processorClass_;
    QZBrushStrokeList brushStrokes_;
    CGSize originalImageSize_{0, 0};
};
