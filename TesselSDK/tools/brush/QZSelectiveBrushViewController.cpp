#include "TesselSDK/tools/brush/QZSelectiveBrushViewController.h"

#include "TesselSDK/tools/brush/QZBrushPreviewRender.h"

namespace {

constexpr float kSizeCellWidth = 54;
// The live trail, white at half opacity over the photo.
constexpr float kTrailAlpha = 0.5f;

}  // namespace

bool QZSelectiveBrushViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance,
                                                        ProcessorFactory processorClass)
{
    if (!QZToolViewController::initWithGLInstance(glInstance)) return false;
    processorClass_ = std::move(processorClass);
    processor_ = processorClass_ ? processorClass_() : nullptr;
    if (!processor_) return false;
    setCellWidth(kSizeCellWidth);
    setShouldWaitForGLCommit(true);
    return true;
}

void QZSelectiveBrushViewController::viewDidLoad()
{
    QZBrushViewController::viewDidLoad();
    if (auto overlay = drawOverlayView()) overlay->setBrushColor(UIColor::colorWithRed(1, 1, 1, 1));
    processStroke(nullptr);
}

void QZSelectiveBrushViewController::viewDidAppear(bool animated)
{
    QZBrushViewController::viewDidAppear(animated);
    // On the trail, not the overlay: presenting the screen sets the overlay's own alpha after this.
    if (auto overlay = drawOverlayView()) overlay->imageView()->setAlpha(kTrailAlpha);
}

void QZSelectiveBrushViewController::didFinishStroke(const std::shared_ptr<QZBrushStroke>& stroke)
{
    QZBrushViewController::didFinishStroke(stroke);
    processStroke(stroke);
}

void QZSelectiveBrushViewController::processStroke(const std::shared_ptr<QZBrushStroke>& stroke)
{
    std::weak_ptr<QZSelectiveBrushViewController> weak = weakSelf<QZSelectiveBrushViewController>();
    QZBrushPreviewRender(*this, *processor_, stroke, [weak] {
        auto screen = weak.lock();
        if (!screen) return;
        // Every render clears the whole trail: a second stroke's may go before its own render.
        if (auto overlay = screen->drawOverlayView()) overlay->clearDrawing();
        screen->setReadyToApply(true);
        screen->setRenderEndDate();
    });
}

std::shared_ptr<QZModule> QZSelectiveBrushViewController::outputModuleWithStrokes(QZBrushStrokeList strokes)
{
    return QZBrushReplayModule(processorClass_, std::move(strokes), processor_->maskSize());
}
