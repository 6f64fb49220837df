#include "TesselSDK/tools/brush/QZBrushPreviewRender.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"

#include "Dispatch/Dispatch.h"

void QZBrushPreviewRender(QZToolViewController& screen, QZSelectiveBrushProcessor& processor,
                          const std::shared_ptr<QZBrushStroke>& stroke, std::function<void()> rendered)
{
    screen.setShouldWaitForGLCommit(false);
    const std::shared_ptr<QZOpenGLInstance> gl = screen.glInstance();
    processor.setBrushStrokes(stroke ? QZBrushStrokeList{stroke} : QZBrushStrokeList{});
    processor.setIsHires(false);
    processor.setGlInstance(gl);
    processor.setMaskSize(gl ? gl->currentImageSize() : CGSizeZero);
    screen.setReadyToApply(false);
    screen.setRenderStartDate();

    const std::shared_ptr<QZImageServer>& server = screen.highResolutionServer();
    if (!server) {
        // Nothing to render on: the screen is ready again all the same.
        dispatch_async(dispatch_get_main_queue(), std::move(rendered));
        return;
    }
    server->runProcessor(processor.self<QZProcessor>());
    std::weak_ptr<QZOpenGLInstance> weakGL = gl;
    server->runBlock([weakGL, rendered = std::move(rendered)] {
        if (auto instance = weakGL.lock()) instance->presentRenderbufferFromGLQueue();
        dispatch_async(dispatch_get_main_queue(), rendered);
    });
}

std::shared_ptr<QZModule>
QZBrushReplayModule(std::function<std::shared_ptr<QZSelectiveBrushProcessor>()> processorClass,
                    QZBrushStrokeList strokes, CGSize maskSize)
{
    return QZBlockModule::moduleWithBlock(
        [processorClass = std::move(processorClass), strokes = std::move(strokes), maskSize](QZProcessorList& list) {
            std::shared_ptr<QZSelectiveBrushProcessor> processor = processorClass ? processorClass() : nullptr;
            if (!processor) return;
            processor->setBrushStrokes(strokes);
            processor->setIsHires(true);
            processor->setMaskSize(maskSize);
            list.push_back(std::move(processor));
        });
}
