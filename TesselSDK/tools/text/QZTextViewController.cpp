#include "TesselSDK/tools/text/QZTextViewController.h"

#include "TesselSDK/tools/QZDrawingBlend.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZColorPalette.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZTextProcessor.h"
#include "TesselSDKImaging/QZBitmap.h"

#include "Foundation/NSLog.h"
#include "UIKit/UIGraphics.h"

#include <cmath>

namespace {

constexpr float kCellWidth = 52;
constexpr CGFloat kToolbarHeight = 44;
constexpr UIEdgeInsets kApplyCaps{0, 10, 0, 10};

CGFloat finiteOrZero(CGFloat value)
{
    return std::isfinite(value) ? value : 0;
}

}  // namespace

QZTextViewController::~QZTextViewController()
{
    if (contextForGL_) CGContextRelease(contextForGL_);
}

bool QZTextViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                                              bool quickLaunch)
{
    if (!QZConveyorViewController::initWithGLInstance(glInstance, std::move(settings), quickLaunch)) return false;
    setCellWidth(kCellWidth);
    return true;
}

QZOverlayViewFactory QZTextViewController::staticOverlayViewClass() const
{
    return [](CGRect frame) -> std::shared_ptr<QZView> { return UIView::viewWithFrame<QZTextOverlayView>(frame); };
}

std::string QZTextViewController::customizationKeyPath() const
{
    return QZConveyorViewController::customizationKeyPath() + ".text";
}

std::shared_ptr<QZTextOverlayView> QZTextViewController::textOverlayView() const
{
    return std::dynamic_pointer_cast<QZTextOverlayView>(staticOverlayView());
}

// ---- View lifecycle ----

void QZTextViewController::viewDidLoad()
{
    QZConveyorViewController::viewDidLoad();
    auto me = self<QZTextViewController>();
    colorConveyorController_ = QZColorConveyorController::make(
        conveyorView(), QZColorPaletteWithHexStrings(settings()["colors"], "-[QZTextViewController viewDidLoad]"));
    colorConveyorController_->setDelegate(std::static_pointer_cast<QZColorConveyorControllerDelegate>(me));
    // The strip counted the screen's empty rows when the base made it: it counts the colours now.
    conveyorView()->horizontalTableView()->reloadData();
    auto overlay = textOverlayView();
    if (overlay) overlay->setDelegate(std::static_pointer_cast<QZTextOverlayViewDelegate>(me));

    // A fully transparent bitmap of the preview's pixels, drawn in with a top-left origin.
    if (auto gl = glInstance()) {
        const CGSize size = gl->currentImageSize();
        const double bytes = double(kQZBytesPerPixel) * double(size.width) * double(size.height);
        if (bytes > 0 && std::isfinite(bytes)) {
            bitmapData_.assign(std::size_t(bytes), 0);
            contextForGL_ = QZCGContextCreateWithData(bitmapData_.data(), size);
        }
        if (contextForGL_) {
            bitmapSize_ = size;
            CGContextConcatCTM(contextForGL_, CGAffineTransformMake(1, 0, 0, -1, 0, size.height));
        } else {
            bitmapData_.clear();
        }
    }

    const CGFloat width = overlay ? overlay->bounds().size.width : view()->bounds().size.width;
    keyboardToolbar_ = UIView::viewWithFrame<UIToolbar>(CGRectMake(0, 0, width, kToolbarHeight));
    keyboardToolbar_->setBarStyle(UIBarStyleBlackTranslucent);
    auto done = UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemDone, me,
                                                             &QZTextViewController::dismissKeyboard);
    done->setBackgroundImage(QZSDKResources::stretchableImageNamed("apply.png", kApplyCaps), UIControlStateNormal,
                             UIBarMetricsDefault);
    done->setBackgroundImage(QZSDKResources::stretchableImageNamed("apply-active.png", kApplyCaps),
                             UIControlStateHighlighted, UIBarMetricsDefault);
    keyboardToolbar_->setItems(
        {UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemFlexibleSpace), done});
    if (overlay) overlay->setInputAccessoryView(keyboardToolbar_);
}

void QZTextViewController::viewWillAppear(bool animated)
{
    QZConveyorViewController::viewWillAppear(animated);
    if (auto overlay = textOverlayView()) overlay->startObservingKeyboard();
}

void QZTextViewController::viewDidAppear(bool animated)
{
    QZConveyorViewController::viewDidAppear(animated);
    if (!colorConveyorController_->colors().empty()) conveyorView()->selectItemAtIndex(0, false);
    if (auto overlay = textOverlayView()) overlay->startEditing();
    QZAnalytics::reportScreen("Text");
}

void QZTextViewController::viewWillDisappear(bool animated)
{
    QZConveyorViewController::viewWillDisappear(animated);
    if (auto overlay = textOverlayView()) overlay->stopObservingKeyboard();
    if (auto canvas = scrollableImageView()) canvas->zoomOutAnimated(true);
}

void QZTextViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZConveyorViewController::willRotateToInterfaceOrientation(orientation, duration);
    conveyorView()->willRotateToInterfaceOrientation(orientation, duration);
    if (auto overlay = textOverlayView()) overlay->willRotateToInterfaceOrientation(orientation, duration);
}

void QZTextViewController::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                     double duration)
{
    QZConveyorViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    conveyorView()->willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (auto overlay = textOverlayView()) overlay->willAnimateRotationToInterfaceOrientation(orientation, duration);
}

void QZTextViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZConveyorViewController::didRotateFromInterfaceOrientation(orientation);
    if (auto overlay = textOverlayView()) overlay->didRotateFromInterfaceOrientation(orientation);
}

void QZTextViewController::dismissKeyboard()
{
    if (auto overlay = textOverlayView()) overlay->endEditing(true);
}

// ---- The colour strip ----

void QZTextViewController::setTextColors(const std::shared_ptr<UIColor>& color)
{
    auto overlay = textOverlayView();
    auto box = overlay ? overlay->textView() : nullptr;
    if (!box) return;
    box->textField()->setTextColor(color);
    box->textField()->setTextBorderColor(color);
}

void QZTextViewController::colorControllerDidSelectColorAtIndex(QZColorConveyorController*,
                                                                const std::shared_ptr<UIColor>& color, NSInteger)
{
    setTextColors(color);
}

void QZTextViewController::colorControllerDidScrollToColorAtIndex(QZColorConveyorController*,
                                                                  const std::shared_ptr<UIColor>& color, NSInteger)
{
    setTextColors(color);
}

void QZTextViewController::colorControllerDidSelectEraser(QZColorConveyorController*, bool)
{
    NSLog("%s %@", "-[QZTextViewController colorController:didSelectEraser:]",
          "Eraser shouldn't be enabled for text tool");
}

void QZTextViewController::colorControllerDidScrollToEraser(QZColorConveyorController*, bool)
{
    NSLog("%s %@", "-[QZTextViewController colorController:didScrollToEraser:]",
          "Eraser shouldn't be enabled for text tool");
}

// ---- The overlay ----

CGRect QZTextViewController::rectForImageInTextOverlayView(QZTextOverlayView* overlay)
{
    auto canvas = scrollableImageView();
    auto imageView = canvas ? canvas->imageView() : nullptr;
    if (!imageView || !overlay) return CGRectZero;
    return imageView->convertRectToView(imageView->bounds(), overlay);
}

// ---- Apply ----

void QZTextViewController::finishApplying()
{
    if (finishQueued_ || wasBackButtonPressed() || successfullyApplied()) return;
    auto overlay = textOverlayView();
    auto canvas = scrollableImageView();
    auto imageView = canvas ? canvas->imageView() : nullptr;
    setRenderStartDate();
    if (overlay && imageView) {
        // z is the canvas's own zoom (points per image pixel), not the tool's relative zoom, which
        // reads 1 zoomed out and would record the text 1 / z too small.
        const CGFloat z = canvas->zoomScale();
        const CGRect r = overlay->rectForTextInViewScale(*imageView, z);
        const CGSize v = imageView->bounds().size;
        relativeTextRect_ = CGRectMake(finiteOrZero(r.origin.x / v.width), finiteOrZero(r.origin.y / v.height),
                                       finiteOrZero(r.size.width / v.width), finiteOrZero(r.size.height / v.height));
        const CGFloat k = finiteOrZero(
            std::min(relativeTextRect_.size.width / r.size.width, relativeTextRect_.size.height / r.size.height));
        auto box = overlay->textView();
        scale_ = finiteOrZero(box->scale() / z * k);
        text_ = box->text();
        backgroundColor_ = overlay->textBackgroundColor();
        rotation_ = overlay->placedRotation();
        if (contextForGL_) {
            UIGraphicsPushContext(contextForGL_);
            overlay->drawTextInRect(r);
            UIGraphicsPopContext();
        }
    }

    auto server = highResolutionServer();
    if (!server || bitmapData_.empty()) {
        setRenderEndDate();
        QZConveyorViewController::finishApplying();
        return;
    }
    finishQueued_ = true;
    std::weak_ptr<QZTextViewController> weak = weakSelf<QZTextViewController>();
    QZBlendDrawingAndPresent(server, bitmapData_.data(), bitmapSize_, glInstance(), [weak] {
        auto screen = weak.lock();
        if (!screen) return;
        screen->finishQueued_ = false;
        screen->setRenderEndDate();
        screen->QZConveyorViewController::finishApplying();
    });
}

std::shared_ptr<QZModule> QZTextViewController::outputModule()
{
    const std::string text = text_, fontName = customizationOptionForKey("fontName").stringValue();
    const std::shared_ptr<UIColor> color = backgroundColor_;
    const CGRect rect = relativeTextRect_;
    const CGFloat rotation = rotation_, scale = scale_;
    return QZBlockModule::moduleWithBlock([=](QZProcessorList& processors) {
        auto processor = QZTextProcessor::make();
        processor->setText(text);
        processor->setForegroundColor(color);
        processor->setBackgroundColor(color);
        processor->setRect(rect);
        processor->setRotation(rotation);
        processor->setScale(scale);
        processor->setFontName(fontName);
        processors.push_back(processor);
    });
}
