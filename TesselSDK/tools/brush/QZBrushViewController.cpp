#include "TesselSDK/tools/brush/QZBrushViewController.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZViewAnimation.h"

#include "Foundation/NSFoundationVersion.h"
#include "Foundation/NSLog.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kZoomButtonWidth = 48;
constexpr CGFloat kZoomButtonHeight = 44;
constexpr CGFloat kZoomButtonPadding = 3;
// Above the translucent status bar of the newer layout.
constexpr CGFloat kStatusBarHeight = 20;
constexpr double kDimmingSeconds = 0.16;
constexpr CGFloat kSpotHUDSide = 100;

bool usesIOS7Layout()
{
    return std::floor(NSFoundationVersionNumber()) > NSFoundationVersionNumber_iOS_6_1 &&
           !QZPhotoEditorCustomization::optionValueForKey("editor.usingIOS6SDK").boolValue();
}

}  // namespace

bool QZBrushViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                                               bool quickLaunch)
{
    if (!QZConveyorViewController::initWithGLInstance(glInstance, std::move(settings), quickLaunch)) return false;
    strokes_.clear();
    return true;
}

QZOverlayViewFactory QZBrushViewController::scrollableOverlayViewClass() const
{
    return [](CGRect frame) -> std::shared_ptr<QZView> { return UIView::viewWithFrame<QZDrawOverlayView>(frame); };
}

std::shared_ptr<QZModule> QZBrushViewController::outputModuleWithStrokes(QZBrushStrokeList)
{
    return nullptr;
}

std::shared_ptr<QZModule> QZBrushViewController::outputModule()
{
    return outputModuleWithStrokes(strokes_);
}

std::shared_ptr<QZDrawOverlayView> QZBrushViewController::drawOverlayView() const
{
    auto overlay = std::dynamic_pointer_cast<QZDrawOverlayView>(scrollableOverlayView());
    if (!overlay && scrollableOverlayView())
        NSLog("%s %@", "-[QZBrushViewController drawOverlayView]", "Unexepcted overlay class");
    return overlay;
}

const std::shared_ptr<QZBrushViewControllerZoomView>& QZBrushViewController::disabledView()
{
    if (!disabledView_) {
        disabledView_ = UIView::viewWithFrame<QZBrushViewControllerZoomView>(CGRectZero);
        disabledView_->setController(weakSelf<QZBrushViewController>());
    }
    return disabledView_;
}

// ---- View lifecycle ----

void QZBrushViewController::loadView()
{
    QZConveyorViewController::loadView();
    // On the strip the conveyor base made; a tool without a strip gets a controller on none, which
    // asks and tells nothing.
    sizeConveyorController_ = QZSizeConveyorController::make(conveyorView());
    sizeConveyorController_->setDelegate(
        std::static_pointer_cast<QZSizeConveyorControllerDelegate>(self<QZBrushViewController>()));

    spotHUDView_ = UIView::viewWithFrame<QZSpotEditingHUD>(CGRectMake(0, 0, kSpotHUDSide, kSpotHUDSide));

    const CGRect b = staticOverlayView() ? staticOverlayView()->bounds() : CGRectZero;
    CGFloat y = CGRectGetMaxY(b) - kZoomButtonHeight - kZoomButtonPadding - kZoomButtonHeight;
    if (usesIOS7Layout()) y -= kStatusBarHeight;
    zoomButton_ = UIView::viewWithFrame<QZSpotEditingZoomButton>(
        CGRectMake(CGRectGetMaxX(b) - kZoomButtonWidth - kZoomButtonPadding, y, kZoomButtonWidth, kZoomButtonHeight));
    zoomButton_->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleTopMargin);
    if (staticOverlayView()) staticOverlayView()->addSubview(zoomButton_);
}

void QZBrushViewController::viewDidLoad()
{
    QZConveyorViewController::viewDidLoad();
    zoomButton_->addTarget(self<QZBrushViewController>(), &QZBrushViewController::zoomButtonPressed,
                           UIControlEventTouchUpInside);
    setZoomEnabled(false);
    if (auto overlay = drawOverlayView())
        overlay->setDelegate(std::static_pointer_cast<QZDrawOverlayViewDelegate>(self<QZBrushViewController>()));
}

void QZBrushViewController::viewWillAppear(bool animated)
{
    QZConveyorViewController::viewWillAppear(animated);
    zoomButton_->setEnabled(true);
}

void QZBrushViewController::viewDidAppear(bool animated)
{
    QZConveyorViewController::viewDidAppear(animated);
    const std::shared_ptr<QZConveyorView> strip = sizeConveyor();
    const NSInteger count = NSInteger(sizeConveyorController_->sizes().size());
    // The third of the default sizes (10): the middle of the list, leaning small.
    const NSInteger index = std::max<NSInteger>(0, count / 2 - 1);
    if (!strip || index >= count) return;
    // A screen appears laid out; ours are told before the first layout pass, and the strip centres
    // a cell by its laid-out insets.
    strip->layoutIfNeeded();
    strip->selectItemAtIndex(index, false);
}

void QZBrushViewController::viewWillDisappear(bool animated)
{
    QZConveyorViewController::viewWillDisappear(animated);
    zoomButton_->setEnabled(false);
    if (auto canvas = scrollableImageView()) canvas->zoomOutAnimated(true);
}

void QZBrushViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZConveyorViewController::willRotateToInterfaceOrientation(orientation, duration);
    previousZoomState_ = isZoomEnabled();
    QZToolViewController::setZoomEnabled(true);
}

void QZBrushViewController::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                      double duration)
{
    QZConveyorViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (auto strip = sizeConveyor()) strip->willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (disabledView_) disabledView_->setFrame(view()->bounds());
    if (staticOverlayView())
        spotHUDView_->setFrame(QZCGRectCenterInRect(spotHUDView_->frame(), staticOverlayView()->bounds()));
}

void QZBrushViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZConveyorViewController::didRotateFromInterfaceOrientation(orientation);
    setZoomEnabled(previousZoomState_);
    if (auto strip = sizeConveyor()) strip->didRotateFromInterfaceOrientation(orientation);
}

// ---- Zoom mode ----

void QZBrushViewController::setZoomEnabled(bool enabled)
{
    QZConveyorViewController::setZoomEnabled(enabled);
    // A disabled button means the screen is leaving: no dimming to come and go.
    if (zoomButton_ && zoomButton_->isEnabled() && isViewLoaded()) {
        zoomButton_->setZoomEnabled(enabled);
        std::shared_ptr<QZBrushViewControllerZoomView> dimming = disabledView();
        const std::shared_ptr<UIView>& view = this->view();
        dimming->setFrame(view->bounds());
        if (enabled && !dimming->superview()) {
            dimming->setAlpha(0);
            view->addSubview(dimming);
        }
        std::weak_ptr<QZBrushViewControllerZoomView> weak = dimming;
        QZPerformUIViewAnimation(
            kDimmingSeconds,
            [weak, enabled] {
                if (auto layer = weak.lock()) layer->setAlpha(enabled ? 1 : 0);
            },
            nullptr);
    }
    if (disabledView_) disabledView_->setUserInteractionEnabled(enabled);
}

void QZBrushViewController::zoomButtonPressed()
{
    setZoomEnabled(!isZoomEnabled());
}

void QZBrushViewController::imageViewBeganZooming(QZScrollingImageView*)
{
    zoomButton_->setVisible(false, true);
}
void QZBrushViewController::imageViewStoppedZooming(QZScrollingImageView*)
{
    zoomButton_->setVisible(true, true);
}
void QZBrushViewController::imageViewBeganDragging(QZScrollingImageView*)
{
    zoomButton_->setVisible(false, true);
}
void QZBrushViewController::imageViewStoppedDragging(QZScrollingImageView*)
{
    zoomButton_->setVisible(true, true);
}

void QZBrushViewController::imageViewDidZoom(QZScrollingImageView*)
{
    if (auto overlay = drawOverlayView()) overlay->setBrushSize(scaledSize(sizeConveyorController_->selectedSize()));
}

CGFloat QZBrushViewController::scaledSize(CGFloat size) const
{
    auto canvas = scrollableImageView();
    CGFloat zoom = canvas ? canvas->zoomScale() : 1;
    if (!(std::isfinite(zoom) && zoom > 0)) zoom = 1;
    return size / zoom;
}

// ---- The strip ----

void QZBrushViewController::sizeControllerDidSelectSize(QZSizeConveyorController*, CGFloat size)
{
    if (auto spot = std::dynamic_pointer_cast<QZSpotEditingHUD>(hudView())) spot->setSpotSize(size, true);
    if (auto overlay = drawOverlayView()) overlay->setBrushSize(scaledSize(size));
    if (!currentStroke_) return;
    // A finger still drawing: what it drew so far becomes a stroke of the old size, and what it
    // draws next a new one.
    const std::shared_ptr<QZBrushStroke> stroke = currentStroke_;
    strokes_.push_back(stroke);
    didFinishStroke(stroke);
    currentStroke_ = nullptr;
}

void QZBrushViewController::sizeControllerDidScrollToSize(QZSizeConveyorController*, CGFloat size)
{
    if (isRotating()) return;
    displayHUDView(spotHUDView_, true);
    spotHUDView_->setSpotSize(size, true);
}

// ---- The overlay ----

void QZBrushViewController::drawOverlayDidStartDrawing(QZDrawOverlayView*)
{
    zoomButton_->setVisible(false, true);
}

void QZBrushViewController::drawOverlayDidDrawPoint(QZDrawOverlayView*, CGPoint point)
{
    if (!currentStroke_) {
        currentStroke_ = QZBrushStroke::make();
        currentStroke_->setBrushSize(float(scaledSize(sizeConveyorController_->selectedSize())));
        didBeginStroke(currentStroke_);
    }
    currentStroke_->addPoint(point);
    didModifyStroke(currentStroke_);
}

void QZBrushViewController::drawOverlayDidDrawLineFromPointToPoint(QZDrawOverlayView*, CGPoint, CGPoint)
{
    if (!currentStroke_)
        NSLog("%s %@", "-[QZBrushViewController drawOverlay:didDrawLineFromPoint:toPoint:]",
              "Expected non-nil current stroke.");
}

void QZBrushViewController::drawOverlayDidFinishDrawingPoints(QZDrawOverlayView*, const std::vector<CGPoint>& points)
{
    zoomButton_->setVisible(true, true);
    if (!currentStroke_) return;
    const std::shared_ptr<QZBrushStroke> stroke = currentStroke_;
    if (points.size() != stroke->pointCount())
        NSLog("%s %@", "-[QZBrushViewController drawOverlay:didFinishDrawingPoints:]", "Unexpected number of points");
    strokes_.push_back(stroke);
    stroke->setIsComplete(true);
    didFinishStroke(stroke);
    currentStroke_ = nullptr;
}
