#pragma once
// The brush tools that run one selective-brush processor (blemish, whiten, red-eye): after every finished
// stroke the live processor renders that stroke on the preview, and Apply hands over a module that
// repeats all strokes at full size. While the finger moves the overlay shows a white trail at half
// opacity, which goes once the stroke's render is on screen. Main thread only.

#include "TesselSDK/tools/brush/QZBrushViewController.h"

#include "TesselSDKImaging/Processors/QZSelectiveBrushProcessor.h"

#include <functional>
#include <memory>

class QZSelectiveBrushViewController : public QZBrushViewController {
public:
    using QZBrushViewController::QZBrushViewController;
    // Makes a processor of the tool's kind: the live one, and a fresh one for every replay.
    using ProcessorFactory = std::function<std::shared_ptr<QZSelectiveBrushProcessor>()>;

    using QZBrushViewController::initWithGLInstance;
    // The tool base's initWithGLInstance:, then the live processor from the factory, cells of 54
    // points, and the GL commit left to the screen until its first render.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, ProcessorFactory processorClass);

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void didFinishStroke(const std::shared_ptr<QZBrushStroke>& stroke) override;
    // A block module that makes, at every ask, a new full-size processor of the tool's kind with
    // the strokes: a processor keeps its effect texture between runs, so one made for one replay
    // would show that replay's image in the next.
    std::shared_ptr<QZModule> outputModuleWithStrokes(QZBrushStrokeList strokes) override;

    // One preview render of the stroke alone (none: the first render, of no stroke).
    void processStroke(const std::shared_ptr<QZBrushStroke>& stroke);

    const std::shared_ptr<QZSelectiveBrushProcessor>& processor() const { return processor_; }
    const ProcessorFactory& processorClass() const { return processorClass_; }

private:
    ProcessorFactory processorClass_;
    std::shared_ptr<QZSelectiveBrushProcessor> processor_;
};
