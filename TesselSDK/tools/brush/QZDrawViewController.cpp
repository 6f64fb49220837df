#include "TesselSDK/tools/brush/QZDrawViewController.h"

#include "TesselSDK/tools/QZDrawingBlend.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZColorPalette.h"
#include "TesselSDKFoundation/QZGeometry.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZDrawProcessor.h"
#include "TesselSDKImaging/QZBitmap.h"

#include "Dispatch/Dispatch.h"

#include <cmath>

namespace {

constexpr CGFloat kColorCellWidth = 54;

}  // namespace

QZDrawViewController::~QZDrawViewController()
{
    if (contextForGL_) CGContextRelease(contextForGL_);
}

std::string QZDrawViewController::customizationKeyPath() const
{
    return QZBrushViewController::customizationKeyPath() + ".draw";
}

std::shared_ptr<QZConveyorView> QZDrawViewController::colorConveyor() const
{
    return colorConveyorController_ ? colorConveyorController_->conveyorView() : nullptr;
}

// ---- View lifecycle ----

void QZDrawViewController::loadView()
{
    QZBrushViewController::loadView();
    const std::shared_ptr<UIView>& view = this->view();
    QZColorConveyorController::Colors palette =
        QZColorPaletteWithHexStrings(settings()["colors"], "-[QZDrawViewController loadView]");

    const CGRect b = view->bounds();
    auto colorStrip = QZConveyorView::make(
        CGRectMake(b.origin.x, b.origin.y + b.size.height / 2, b.size.width, b.size.height / 2), kColorCellWidth);
    colorStrip->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    view->addSubview(colorStrip);
    colorConveyorController_ = QZColorConveyorController::make(colorStrip, std::move(palette), true);
    colorConveyorController_->setDelegate(
        std::static_pointer_cast<QZColorConveyorControllerDelegate>(self<QZDrawViewController>()));

    sizeConveyorController()->setShowsGlowBox(false);
    makeBitmap();

    if (auto sizeStrip = sizeConveyor()) sizeStrip->setType(QZConveyorViewTypeDouble);
    colorStrip->setType(QZConveyorViewTypeDouble);
}

void QZDrawViewController::makeBitmap()
{
    auto gl = glInstance();
    if (!gl) return;
    const CGSize size = gl->currentImageSize();
    // Zero-filled: an Apply before the first stroke blends nothing over the photo.
    const double bytes = double(kQZBytesPerPixel) * double(size.width) * double(size.height);
    if (bytes > 0 && std::isfinite(bytes)) bitmapData_.assign(std::size_t(bytes), 0);
    // A size that is no pixel size makes no context (logged): strokes and Apply work all the same
    // and blend nothing. Without bytes the size has a side of 0 or none at all, which no context
    // accepts, so the context never makes a buffer of its own here.
    contextForGL_ = QZCGContextCreateWithData(bitmapData_.empty() ? nullptr : bitmapData_.data(), size);
    if (!contextForGL_) {
        bitmapData_.clear();
        bitmapData_.shrink_to_fit();
        return;
    }
    bitmapSize_ = size;
    CGContextConcatCTM(contextForGL_, CGAffineTransformMake(1, 0, 0, -1, 0, size.height));
}

void QZDrawViewController::viewDidAppear(bool animated)
{
    QZBrushViewController::viewDidAppear(animated);
    // Behind the leading eraser cell; the strip reports it as a selection. With one colour only,
    // nothing is chosen for the person.
    if (colorConveyorController_->colors().size() > 1) {
        const std::shared_ptr<QZConveyorView> strip = colorConveyor();
        // The strip centres a cell by its laid-out insets.
        strip->layoutIfNeeded();
        strip->selectItemAtIndex(1, false);
    }
    QZAnalytics::reportScreen("Draw");
}

void QZDrawViewController::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                     double duration)
{
    QZBrushViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (auto strip = colorConveyor()) strip->willAnimateRotationToInterfaceOrientation(orientation, duration);
}

// ---- Strokes ----

void QZDrawViewController::didBeginStroke(const std::shared_ptr<QZBrushStroke>& stroke)
{
    QZBrushViewController::didBeginStroke(stroke);
    auto overlay = drawOverlayView();
    if (!overlay) return;
    // The trail draws with the same colour and blend mode, so an eraser stroke clears its pixels.
    stroke->setBlendMode(overlay->erase() ? kCGBlendModeClear : kCGBlendModeNormal);
    stroke->setColor(overlay->brushColor());
}

void QZDrawViewController::drawOverlayDidFinishDrawingPoints(QZDrawOverlayView* overlay,
                                                             const std::vector<CGPoint>& points)
{
    QZBrushViewController::drawOverlayDidFinishDrawingPoints(overlay, points);
    // Main-queue blocks run before the next input, so an Apply tap finds this stroke copied.
    std::weak_ptr<QZDrawViewController> weak = weakSelf<QZDrawViewController>();
    dispatch_async(dispatch_get_main_queue(), [weak] {
        if (auto screen = weak.lock()) screen->copyTrailIntoBitmap();
    });
}

void QZDrawViewController::copyTrailIntoBitmap()
{
    setRenderStartDate();
    auto overlay = drawOverlayView();
    if (contextForGL_ && overlay) {
        // The overlay's bounds are the preview's pixels: one overlay point is one bitmap pixel.
        CGContextClearRect(contextForGL_, CGRectMake(0, 0, bitmapSize_.width, bitmapSize_.height));
        overlay->layer()->renderInContext(contextForGL_);
    }
    setRenderEndDate();
}

std::shared_ptr<QZModule> QZDrawViewController::outputModuleWithStrokes(QZBrushStrokeList strokes)
{
    return QZBlockModule::moduleWithBlock([strokes = std::move(strokes)](QZProcessorList& processors) {
        auto processor = QZDrawProcessor::make();
        processor->setStrokes(strokes);
        processors.push_back(std::move(processor));
    });
}

// ---- Apply ----

void QZDrawViewController::finishApplying()
{
    if (finishQueued_ || wasBackButtonPressed() || successfullyApplied()) return;
    const std::shared_ptr<QZImageServer>& server = highResolutionServer();
    if (!server) {
        QZBrushViewController::finishApplying();
        return;
    }
    finishQueued_ = true;
    std::weak_ptr<QZDrawViewController> weak = weakSelf<QZDrawViewController>();
    QZBlendDrawingAndPresent(server, contextForGL_ ? bitmapData_.data() : nullptr, bitmapSize_, glInstance(), [weak] {
        auto screen = weak.lock();
        if (!screen) return;
        screen->finishQueued_ = false;
        screen->QZBrushViewController::finishApplying();
    });
}

// ---- The colour strip ----

void QZDrawViewController::showSpotColor(std::shared_ptr<UIColor> color)
{
    const std::shared_ptr<QZSpotEditingHUD>& spot = spotHUDView();
    displayHUDView(spot, true);
    spot->setSpotColor(std::move(color));
}

void QZDrawViewController::colorControllerDidSelectColorAtIndex(QZColorConveyorController*,
                                                                const std::shared_ptr<UIColor>& color, NSInteger)
{
    if (isRotating()) return;
    showSpotColor(color);
    if (auto overlay = drawOverlayView()) overlay->setBrushColor(color);
}

void QZDrawViewController::colorControllerDidScrollToColorAtIndex(QZColorConveyorController*,
                                                                  const std::shared_ptr<UIColor>& color, NSInteger)
{
    showSpotColor(color);
}

void QZDrawViewController::colorControllerDidSelectEraser(QZColorConveyorController*, bool selected)
{
    showSpotColor(nullptr);
    if (auto overlay = drawOverlayView()) overlay->setErase(selected);
}

void QZDrawViewController::colorControllerDidScrollToEraser(QZColorConveyorController*, bool selected)
{
    const std::shared_ptr<QZSpotEditingHUD>& spot = spotHUDView();
    displayHUDView(spot, true);
    if (selected) spot->setSpotColor(nullptr);
    if (auto overlay = drawOverlayView()) overlay->setErase(selected);
}
