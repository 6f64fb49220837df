#include "TesselSDK/tools/QZTiltShiftViewController.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/QZImageServer.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSDelayedPerform.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UIFont.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr CGFloat kPickerWidth = 200;
constexpr CGFloat kPickerTop = 12;
constexpr CGFloat kPickerHeight = 64;
constexpr CGFloat kCaptionInset = 8;
constexpr CGFloat kCaptionFontSize = 12;
// The initial zone: a share of the overlay's shorter half-side, never wider than this.
constexpr CGFloat kInitialRadiusShare = 0.9f;
constexpr CGFloat kInitialRadiusCap = 200;
// The smallest radius is this fraction of the overlay's shorter side; the largest, half of it.
constexpr CGFloat kMinimumRadiusDivisor = 15;
constexpr double kGuideShownAfterChoice = 1.0;
constexpr double kGuideShownAfterTouch = 0.2;
constexpr double kGuideFadeSeconds = 0.2;

const char* styleName(QZTiltShiftStyle style)
{
    return style == QZTiltShiftStyleLinear ? "linear" : "radial";
}

}  // namespace

QZOverlayViewFactory QZTiltShiftViewController::scrollableOverlayViewClass() const
{
    return [](CGRect frame) -> std::shared_ptr<QZView> { return UIView::viewWithFrame<QZTiltShiftOverlayView>(frame); };
}

std::shared_ptr<QZTiltShiftOverlayView> QZTiltShiftViewController::tiltShiftOverlayView() const
{
    return std::dynamic_pointer_cast<QZTiltShiftOverlayView>(scrollableOverlayView());
}

// ---- Lifecycle ----

void QZTiltShiftViewController::viewDidLoad()
{
    QZToolViewController::viewDidLoad();
    layoutStylePicker();
    setZoomEnabled(false);
    if (auto overlay = tiltShiftOverlayView()) {
        overlay->setGuideAlpha(1);
        overlay->setDelegate(
            std::static_pointer_cast<QZTiltShiftOverlayViewDelegate>(self<QZTiltShiftViewController>()));
    }
}

void QZTiltShiftViewController::layoutStylePicker()
{
    const std::shared_ptr<UIView>& view = this->view();
    const CGRect bounds = view->bounds();
    const bool pad = UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
    const CGFloat pickerWidth = pad ? bounds.size.width * 0.5f : kPickerWidth;

    segmentedControl_ = QZSegmentedControl::make(
        CGRectMake((bounds.size.width - pickerWidth) * 0.5f, kPickerTop, pickerWidth, kPickerHeight),
        {"focus_radial.png", "focus_linear.png"}, {"focus_radial-active.png", "focus_linear-active.png"});
    // Radial shows chosen before anyone listens, so opening reports no choice.
    segmentedControl_->pressButtonAtIndex(QZTiltShiftStyleRadial);
    segmentedControl_->setDelegate(
        std::static_pointer_cast<QZSegmentedControlDelegate>(self<QZTiltShiftViewController>()));
    segmentedControl_->setAllowsDeselection(false);
    segmentedControl_->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleWidth |
                                           UIViewAutoresizingFlexibleRightMargin);
    // The buttons draw icons only; these are what a screen reader (and a script) finds them by.
    const char* const segmentNames[] = {"Radial", "Linear"};
    const auto& buttons = segmentedControl_->buttons();
    for (std::size_t i = 0; i < buttons.size() && i < std::size(segmentNames); ++i)
        buttons[i]->setAccessibilityLabel(QZLocalizedString(segmentNames[i]));
    view->addSubview(segmentedControl_);

    const std::string captions[] = {QZLocalizedString("Shapes")};
    const CGFloat captionWidth = (pickerWidth - 2 * kCaptionInset) / CGFloat(std::size(captions));
    const CGRect pickerFrame = segmentedControl_->frame();
    const CGFloat pickerBottom = CGRectGetMaxY(pickerFrame);
    for (std::size_t i = 0; i < std::size(captions); ++i) {
        auto label = UIView::viewWithFrame<UILabel>(CGRectZero);
        label->setText(captions[i]);
        label->setFont(UIFont::boldSystemFontOfSize(kCaptionFontSize));
        label->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
        label->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
        label->setShadowOffset(CGSizeMake(0, 1));
        label->setBackgroundColor(UIColor::clearColor());
        label->setTextAlignment(NSTextAlignmentCenter);
        label->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin);
        const CGFloat textHeight = label->sizeThatFits(CGSizeMake(captionWidth, 10000)).height;
        // The caption's bottom sits half-way between the picker and the bottom of the view.
        const CGFloat y = pickerBottom + (CGRectGetMaxY(bounds) - pickerBottom) * 0.5f - textHeight;
        label->setFrame(CGRectIntegral(CGRectMake(
            CGRectGetMinX(pickerFrame) + kCaptionInset + CGFloat(i) * captionWidth, y, captionWidth, textHeight)));
        view->addSubview(label);
        captionLabels_.push_back(label);
    }
}

void QZTiltShiftViewController::viewWillAppear(bool animated)
{
    QZToolViewController::viewWillAppear(animated);
    setupGestureRecognizers();
    setupOverlayInitialView();
    scheduleFade(kGuideShownAfterChoice);
}

void QZTiltShiftViewController::viewWillDisappear(bool animated)
{
    QZToolViewController::viewWillDisappear(animated);
    // A pending fade holds the screen; none runs on a screen that has gone.
    NSCancelPreviousPerformRequests(this);
}

void QZTiltShiftViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    setZoomEnabled(true);
    QZToolViewController::willRotateToInterfaceOrientation(orientation, duration);
}

void QZTiltShiftViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZToolViewController::didRotateFromInterfaceOrientation(orientation);
    setZoomEnabled(false);
}

void QZTiltShiftViewController::setupGestureRecognizers()
{
    auto overlay = tiltShiftOverlayView();
    if (!overlay) return;
    // Set up again, the screen keeps one of each.
    for (const UIGestureRecognizer* old : {static_cast<UIGestureRecognizer*>(panRecognizer_.get()),
                                           static_cast<UIGestureRecognizer*>(pinchRecognizer_.get()),
                                           static_cast<UIGestureRecognizer*>(rotationRecognizer_.get())})
        if (old) overlay->removeGestureRecognizer(old);

    auto me = self<QZTiltShiftViewController>();
    const std::weak_ptr<UIGestureRecognizerDelegate> delegate =
        std::static_pointer_cast<UIGestureRecognizerDelegate>(me);
    panRecognizer_ =
        UIGestureRecognizer::recognizerWithTarget<UIPanGestureRecognizer>(me, &QZTiltShiftViewController::panDetected);
    pinchRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UIPinchGestureRecognizer>(
        me, &QZTiltShiftViewController::pinchDetected);
    rotationRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UIRotationGestureRecognizer>(
        me, &QZTiltShiftViewController::rotationDetected);
    for (const std::shared_ptr<UIGestureRecognizer>& recognizer :
         {std::shared_ptr<UIGestureRecognizer>(panRecognizer_), std::shared_ptr<UIGestureRecognizer>(pinchRecognizer_),
          std::shared_ptr<UIGestureRecognizer>(rotationRecognizer_)}) {
        recognizer->setDelegate(delegate);
        overlay->addGestureRecognizer(recognizer);
    }
}

void QZTiltShiftViewController::setupOverlayInitialView()
{
    auto overlay = tiltShiftOverlayView();
    const CGRect bounds = overlay ? overlay->bounds() : CGRectZero;
    suppressesRender_ = true;
    setCenter(QZCGRectGetCenter(bounds));
    setRotation(0);
    const CGFloat radius = std::min(std::min(bounds.size.height * 0.5f, bounds.size.width * 0.5f) * kInitialRadiusShare,
                                    kInitialRadiusCap);
    suppressesRender_ = false;
    setRadius(radius);
}

// ---- The zone ----

void QZTiltShiftViewController::setCenter(CGPoint center)
{
    if (!std::isfinite(center.x) || !std::isfinite(center.y)) return;
    auto overlay = tiltShiftOverlayView();
    const CGRect bounds = overlay ? overlay->bounds() : CGRectZero;
    const CGPoint clamped = CGPointMake(std::clamp(center.x, CGRectGetMinX(bounds), CGRectGetMaxX(bounds)),
                                        std::clamp(center.y, CGRectGetMinY(bounds), CGRectGetMaxY(bounds)));
    if (CGPointEqualToPoint(clamped, center_)) return;
    center_ = clamped;
    if (overlay) {
        overlay->setTiltShiftCenter(clamped);
        overlay->updateGuide();
    }
    updateGLView();
}

void QZTiltShiftViewController::setRadius(CGFloat radius)
{
    if (!std::isfinite(radius)) return;
    auto overlay = tiltShiftOverlayView();
    const CGRect bounds = overlay ? overlay->bounds() : CGRectZero;
    const CGFloat shorter = std::min(bounds.size.height, bounds.size.width);
    const CGFloat clamped =
        radius > shorter * 0.5f ? shorter * 0.5f : std::max(shorter / kMinimumRadiusDivisor, radius);
    if (clamped == radius_) return;
    radius_ = clamped;
    if (overlay) {
        overlay->setRadius(clamped);
        overlay->updateGuide();
    }
    updateGLView();
}

void QZTiltShiftViewController::setRotation(CGFloat rotation)
{
    if (!std::isfinite(rotation) || rotation == rotation_) return;
    rotation_ = rotation;
    if (auto overlay = tiltShiftOverlayView()) {
        overlay->setRotation(rotation);
        overlay->updateGuide();
    }
    updateGLView();
}

void QZTiltShiftViewController::setTiltShiftStyle(QZTiltShiftStyle style)
{
    tiltShiftStyle_ = style;
    auto overlay = tiltShiftOverlayView();
    if (overlay) overlay->setTiltShiftStyle(style);
    setupOverlayInitialView();
    if (overlay) overlay->updateGuide();
    updateGLView();
    showGuide();
    scheduleFade(kGuideShownAfterChoice);
    reportEvent(std::string(styleName(style)) + " selected", overlayStyleAnalyticsAttributes());
}

// ---- Gestures and touches ----

void QZTiltShiftViewController::panDetected(UIPanGestureRecognizer* recognizer)
{
    if (!recognizer) return;
    const UIGestureRecognizerState state = recognizer->state();
    if (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged) {
        // The pan begins on the first motion past its slop, already as far as the pointer went:
        // that motion moves the disc too.
        if (state == UIGestureRecognizerStateBegan) {
            reportEvent("moved", overlayStyleAnalyticsAttributes());
            originalCenter_ = center_;
        }
        auto overlay = tiltShiftOverlayView();
        setCenter(QZCGPointTranslate(originalCenter_, recognizer->translationInView(overlay.get())));
    } else {
        scheduleFade(kGuideShownAfterTouch);
        originalCenter_ = center_;
    }
}

void QZTiltShiftViewController::pinchDetected(UIPinchGestureRecognizer* recognizer)
{
    if (!recognizer) return;
    const UIGestureRecognizerState state = recognizer->state();
    if (state == UIGestureRecognizerStateBegan) {
        reportEvent("pinched", overlayStyleAnalyticsAttributes());
    } else if (state == UIGestureRecognizerStateChanged) {
        setRadius(recognizer->scale() * originalRadius_);
    } else {
        scheduleFade(kGuideShownAfterTouch);
    }
    if (state != UIGestureRecognizerStateChanged) originalRadius_ = radius_;
}

void QZTiltShiftViewController::rotationDetected(UIRotationGestureRecognizer* recognizer)
{
    if (!recognizer) return;
    const UIGestureRecognizerState state = recognizer->state();
    if (state == UIGestureRecognizerStateChanged) {
        setRotation(recognizer->rotation() + originalRotation_);
    } else if (state != UIGestureRecognizerStateBegan) {
        scheduleFade(kGuideShownAfterTouch);
    }
    if (state != UIGestureRecognizerStateChanged) originalRotation_ = rotation_;
}

void QZTiltShiftViewController::tiltShiftOverlayTouchedDown(QZTiltShiftOverlayView*)
{
    showGuide();
}

void QZTiltShiftViewController::tiltShiftOverlayTouchedUp(QZTiltShiftOverlayView*)
{
    scheduleFade(kGuideShownAfterTouch);
}

void QZTiltShiftViewController::segmentedControlDidChangeValue()
{
    if (!segmentedControl_) return;
    const NSInteger index = segmentedControl_->selectedIndex();
    if (index == QZTiltShiftStyleRadial || index == QZTiltShiftStyleLinear) setTiltShiftStyle(QZTiltShiftStyle(index));
}

void QZTiltShiftViewController::segmentedControlDidSelectItemAtIndex(QZSegmentedControl*, NSInteger index)
{
    if (index == QZTiltShiftStyleRadial || index == QZTiltShiftStyleLinear) setTiltShiftStyle(QZTiltShiftStyle(index));
}

void QZTiltShiftViewController::showGuide()
{
    NSCancelPreviousPerformRequests(this);
    if (auto overlay = tiltShiftOverlayView()) overlay->setGuideAlpha(1);
}

void QZTiltShiftViewController::scheduleFade(double delay)
{
    NSPerformAfterDelay(self<QZTiltShiftViewController>(), &QZTiltShiftViewController::fadeOutOverlay, delay);
}

void QZTiltShiftViewController::fadeOutOverlay()
{
    auto overlay = tiltShiftOverlayView();
    if (!overlay) return;
    UIView::animateWithDuration(kGuideFadeSeconds, [overlay] { overlay->setGuideAlpha(0); });
}

// ---- Preview and output ----

const std::shared_ptr<QZTiltShiftProcessor>& QZTiltShiftViewController::processor()
{
    if (processor_) return processor_;
    processor_ = makeProcessor();
    processor_->setIsHires(false);
    auto gl = glInstance();
    processor_->setGlInstance(gl);
    // The mask is as large as the GL image, which only the GL queue knows. It is read on the main
    // thread only after a render's hop back, which orders this write before that read.
    if (gl) {
        std::weak_ptr<QZOpenGLInstance> weakGL = gl;
        gl->enqueueBlockOnGLThread([processor = processor_, weakGL] {
            if (auto instance = weakGL.lock()) processor->setMaskSize(instance->currentImageSize());
        });
    }
    return processor_;
}

void QZTiltShiftViewController::updateGLView()
{
    if (suppressesRender_) return;
    // Cancelled or applied: the canvas belongs to the editor again.
    if (wasBackButtonPressed() || successfullyApplied()) return;
    if (currentlyRendering_) {
        requiresFurtherRender_ = true;
        return;
    }
    const std::shared_ptr<QZImageServer>& server = highResolutionServer();
    if (!server) return;
    currentlyRendering_ = true;
    const std::shared_ptr<QZTiltShiftProcessor>& preview = processor();
    preview->setCenterPoint(center_);
    preview->setSigmaR(float(radius_));
    preview->setAngle(float(-rotation_));
    preview->setStyle(tiltShiftStyle_);
    setRenderStartDate();
    setReadyToApply(false);
    server->runProcessor(preview);
    // Only the present happens on the GL queue; every flag is the main thread's.
    std::weak_ptr<QZOpenGLInstance> weakGL = glInstance();
    std::weak_ptr<QZTiltShiftViewController> weak = weakSelf<QZTiltShiftViewController>();
    server->runBlock([weakGL, weak] {
        if (auto instance = weakGL.lock()) instance->presentRenderbufferFromGLQueue();
        dispatch_async(dispatch_get_main_queue(), [weak] {
            if (auto screen = weak.lock()) screen->previewRendered();
        });
    });
}

void QZTiltShiftViewController::previewRendered()
{
    currentlyRendering_ = false;
    setRenderEndDate();
    if (requiresFurtherRender_) {
        // The zone changed while that render ran: show the newest values before Apply may finish.
        requiresFurtherRender_ = false;
        updateGLView();
        return;
    }
    setReadyToApply(true);
}

std::shared_ptr<QZModule> QZTiltShiftViewController::outputModule()
{
    auto output = QZTiltShiftProcessor::make();
    output->setCenterPoint(center_);
    output->setSigmaR(float(radius_));
    output->setAngle(float(-rotation_));
    output->setStyle(tiltShiftStyle_);
    output->setIsHires(true);
    // Not processor(): making the preview here would race its mask-size block.
    output->setMaskSize(processor_ ? processor_->maskSize() : CGSizeZero);
    // The processor, not the screen: the session replays the module after the screen is gone.
    return QZBlockModule::moduleWithBlock([output](QZProcessorList& processors) { processors.push_back(output); });
}

// ---- Analytics ----

Value QZTiltShiftViewController::overlayStyleAnalyticsAttributes() const
{
    return Value::dictionary({{"tiltShiftStyle", styleName(tiltShiftStyle_)}});
}

void QZTiltShiftViewController::reportOpened()
{
    reportEvent("opened", overlayStyleAnalyticsAttributes());
}

void QZTiltShiftViewController::reportCancelled()
{
    reportEvent("cancelled", overlayStyleAnalyticsAttributes());
}

void QZTiltShiftViewController::reportApplied()
{
    QZToolViewController::reportApplied(overlayStyleAnalyticsAttributes());
}
