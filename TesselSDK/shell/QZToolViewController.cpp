#include "TesselSDK/shell/QZToolViewController.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZOverlayView.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZViewAnimation.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/shell/QZNavigationItemButton.h"

#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/QZBitmapImageServer.h"

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchClock.h"
#include "Foundation/NSLog.h"
#include "UIKit/UIImageView.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

constexpr double kHUDAutoHideSeconds = 1.2;
constexpr double kCanvasAnimationSeconds = 0.3;
constexpr CGFloat kHUDSide = 100;

QZOverlayViewFactory plainOverlay()
{
    return [](CGRect frame) -> std::shared_ptr<QZView> { return UIView::viewWithFrame<QZOverlayView>(frame); };
}

}  // namespace

bool QZToolViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance)
{
    if (!init()) return false;
    glInstance_ = glInstance;
    setReadyToApply(true);
    lowResScaleFactor_ = 0.3f;
    outputModule_ = QZToolModule::make();
    shouldWaitForGLCommit_ = false;
    willHandleImageViewResizing_ = false;
    return true;
}

bool QZToolViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                                              bool quickLaunch)
{
    if (!initWithGLInstance(glInstance)) return false;
    settings_ = std::move(settings);
    quickLaunch_ = quickLaunch;
    return true;
}

QZOverlayViewFactory QZToolViewController::scrollableOverlayViewClass() const
{
    return plainOverlay();
}
QZOverlayViewFactory QZToolViewController::staticOverlayViewClass() const
{
    return plainOverlay();
}
CGAffineTransform QZToolViewController::imageViewTransform() const
{
    return CGAffineTransformIdentity;
}

Value QZToolViewController::customizationOptionForKey(const std::string& key) const
{
    return QZPhotoEditorCustomization::optionValueForKey(customizationKeyPath() + "." + key);
}

// ---- View lifecycle ----

void QZToolViewController::loadView()
{
    QZViewController::loadView();
    const std::shared_ptr<UIView>& view = this->view();
    CGRect frame = view->frame();
    frame.size.height = targetViewHeight_;
    view->setFrame(frame);

    staticOverlayView_ = staticOverlayViewClass()(overlayRect_);
    scrollableOverlayView_ = scrollableOverlayViewClass()(overlayRect_);

    const std::shared_ptr<QZNavigationItem>& item = customNavigationItem();
    item->setQuickLaunchStyle(quickLaunch_);
    item->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextColor"));
    item->setTextShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextShadowColor"));
    createNavButtons();

    progressHUDView_ = UIView::viewWithFrame<QZProgressHUDView>(CGRectMake(0, 0, kHUDSide, kHUDSide));

    std::shared_ptr<UIImage> background = QZSDKResources::imageNamed("toolBar.png");
    auto backgroundView = UIImageView::imageViewWithImage(
        background ? background->resizableImageWithCapInsets(UIEdgeInsets{0, 0, 0, 0}) : nullptr);
    backgroundView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    backgroundView->setContentMode(UIViewContentModeScaleToFill);
    backgroundView->setFrame(view->bounds());
    view->addSubview(backgroundView);
}

void QZToolViewController::viewDidLoad()
{
    QZViewController::viewDidLoad();
    highResolutionServer_ = QZBitmapImageServer::makeWithGLInstance(glInstance());
}

void QZToolViewController::viewWillAppear(bool animated)
{
    QZViewController::viewWillAppear(animated);
    if (!usesStaticImageView()) return;
    if (auto overlay = staticOverlayView()) overlay->setUserInteractionEnabled(true);
    auto canvas = scrollableImageView();
    if (!canvas) return;
    const CGAffineTransform transform = imageViewTransform();
    QZPerformUIViewAnimation(
        kCanvasAnimationSeconds,
        [canvas, transform] {
            canvas->setTransform(transform);
            canvas->zoomOutAnimated(false);
        },
        nullptr);
}

void QZToolViewController::viewDidAppear(bool animated)
{
    QZViewController::viewDidAppear(animated);
    reportOpened();
}

void QZToolViewController::viewWillDisappear(bool animated)
{
    QZViewController::viewWillDisappear(animated);
    const bool restore = backButtonPressed_ || !willHandleImageViewResizing_;
    if (restore) cancelServers();
    if (!usesStaticImageView()) return;
    auto canvas = scrollableImageView();
    std::weak_ptr<QZView> overlay = staticOverlayView();
    QZPerformUIViewAnimation(
        kCanvasAnimationSeconds,
        [canvas, restore] {
            if (canvas && restore) canvas->setTransform(CGAffineTransformIdentity);
        },
        [overlay](bool) {
            if (auto view = overlay.lock()) view->setUserInteractionEnabled(false);
        });
}

void QZToolViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZViewController::willRotateToInterfaceOrientation(orientation, duration);
    rotating_ = true;
}

void QZToolViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZViewController::didRotateFromInterfaceOrientation(orientation);
    rotating_ = false;
}

// ---- Navigation buttons ----

void QZToolViewController::createNavButtons()
{
    backButton_ = createBackButtonQuickLaunched(quickLaunch_);
    customNavigationItem()->setLeftBarButtonItem(backButton_);
    applyButton_ = createApplyButtonQuickLaunched(quickLaunch_);
    customNavigationItem()->setRightBarButtonItem(applyButton_);
    if (quickLaunch_)
        customNavigationItem()->addTarget(self<QZToolViewController>(), &QZToolViewController::editButtonPressed);
}

std::shared_ptr<UIBarButtonItem> QZToolViewController::createBackButtonQuickLaunched(bool quickLaunched)
{
    auto button = QZNavigationItemButton::buttonWithTitle(
        QZLocalizedString(quickLaunched ? "Cancel" : "Editor"),
        quickLaunched ? QZNavigationItemButtonStyleCancel : QZNavigationItemButtonStyleBack,
        self<QZToolViewController>(), &QZToolViewController::backButtonPressed);
    return UIBarButtonItem::makeWithCustomView(button);
}

std::shared_ptr<UIBarButtonItem> QZToolViewController::createApplyButtonQuickLaunched(bool quickLaunched)
{
    const std::string title =
        quickLaunched
            ? QZLocalizedString(
                  QZPhotoEditorCustomization::optionValueForKey("editor.rightNavigationBarButtonTitle").stringValue())
            : QZLocalizedString("Apply");
    auto button =
        QZNavigationItemButton::buttonWithTitle(title, QZNavigationItemButtonStyleApply, self<QZToolViewController>(),
                                                &QZToolViewController::applyButtonPressed);
    return UIBarButtonItem::makeWithCustomView(button);
}

// ---- Canvas ----

float QZToolViewController::zoomScale() const
{
    auto canvas = scrollableImageView();
    if (!canvas) return 1;
    return canvas->zoomScale() - canvas->calculatedMinimumZoomScale() + 1;
}

void QZToolViewController::setZoomEnabled(bool enabled)
{
    zoomEnabled_ = enabled;
    if (auto canvas = scrollableImageView()) canvas->setPositionLocked(!enabled);
    if (auto overlay = scrollableOverlayView()) overlay->setUserInteractionEnabled(!enabled);
}

void QZToolViewController::setCanvasInteraction(bool enabled)
{
    if (auto canvas = scrollableImageView()) canvas->setUserInteractionEnabled(enabled);
}

void QZToolViewController::cancelServers()
{
    if (lowResolutionServer_) lowResolutionServer_->cancelProcessing();
    if (highResolutionServer_) highResolutionServer_->cancelProcessing();
}

// ---- Apply, cancel and finish ----

void QZToolViewController::applyButtonPressed()
{
    if (backButtonPressed_ || successfullyApplied_) return;
    setApplyType(quickLaunch_ ? QZToolViewControllerApplyTypeQuickLaunchDone : QZToolViewControllerApplyTypeStandard);
    if (readyToApply_)
        finishApplying();
    else
        displayHUDView(progressHUDView_, false);
}

void QZToolViewController::setApplyType(QZToolViewControllerApplyType applyType)
{
    if (applyType == 0) NSLog("%s %@", "-[QZToolViewController setApplyType:]", "Don't unset this property!");
    applyType_ = applyType;
    if (isViewLoaded()) view()->setUserInteractionEnabled(false);
    if (auto overlay = staticOverlayView()) overlay->setUserInteractionEnabled(false);
    if (auto overlay = scrollableOverlayView()) overlay->setUserInteractionEnabled(false);
    setCanvasInteraction(false);
    if (applyButton_) applyButton_->setEnabled(false);
    if (backButton_) backButton_->setEnabled(true);
}

void QZToolViewController::setReadyToApply(bool ready)
{
    readyToApply_ = ready;
    if (applyType_ != 0 && ready && !backButtonPressed_ && !successfullyApplied_) finishApplying();
}

void QZToolViewController::finishApplying()
{
    if (backButtonPressed_ || successfullyApplied_) return;
    if (!shouldWaitForGLCommit_)
        if (auto gl = glInstance()) gl->commitChanges();
    updateUIAndNotifyDelegateOfFinish();
}

void QZToolViewController::updateUIAndNotifyDelegateOfFinish()
{
    if (backButtonPressed_ || successfullyApplied_) return;
    hideHUDView();
    setCanvasInteraction(true);
    successfullyApplied_ = true;
    const QZToolViewControllerStatus status =
        applyType_ == QZToolViewControllerApplyTypeStandard ? QZToolViewControllerStatusApplied : applyType_;
    if (auto delegate = this->delegate()) delegate->toolControllerFinishedWithStatus(this, status);
    reportApplied();
}

void QZToolViewController::backButtonPressed()
{
    // One status per tool: a tool that finished is not cancelled after.
    if (backButtonPressed_ || successfullyApplied_) return;
    backButtonPressed_ = true;
    if (backButton_) backButton_->setEnabled(false);
    cancelServers();
    hideHUDView();
    setCanvasInteraction(true);
    const QZToolViewControllerStatus status =
        quickLaunch_ ? QZToolViewControllerStatusQuickLaunchCancelled : QZToolViewControllerStatusCancelled;
    if (auto delegate = this->delegate()) delegate->toolControllerFinishedWithStatus(this, status);
    reportCancelled();
}

void QZToolViewController::editButtonPressed()
{
    if (backButtonPressed_ || successfullyApplied_) return;
    if (!editButttonShouldPrompt()) {
        setApplyType(QZToolViewControllerApplyTypeQuickLaunchEdit);
        finishApplying();
        return;
    }
    quickLaunchAlertView_ =
        UIAlertView::make(QZLocalizedString("Edit this Photo"), QZLocalizedString(editButtonConfirmationPrompt()),
                          std::static_pointer_cast<UIAlertViewDelegate>(self<QZToolViewController>()),
                          QZLocalizedString("Cancel"), {QZLocalizedString("OK")});
    quickLaunchAlertView_->show();
}

void QZToolViewController::alertViewDidDismissWithButtonIndex(UIAlertView* alert, NSInteger buttonIndex)
{
    if (!alert || alert != quickLaunchAlertView_.get() || buttonIndex == alert->cancelButtonIndex()) return;
    setApplyType(QZToolViewControllerApplyTypeQuickLaunchEdit);
    finishApplying();
    quickLaunchAlertView_ = nullptr;
}

void QZToolViewController::setTopBarButtonsEnabled(bool enabled)
{
    if (backButton_) backButton_->setEnabled(enabled);
    if (applyButton_) applyButton_->setEnabled(enabled);
}

// ---- HUD ----

void QZToolViewController::displayHUDView(const std::shared_ptr<QZHUDView>& hud, bool hideAutomatically)
{
    if (!hud) return;
    if (hud != hudView()) {
        if (auto current = hudView()) {
            current->setVisible(false, false);
            current->removeFromSuperview();
        }
        hud->setVisible(false, false);
        hudView_ = hud;
        const std::shared_ptr<QZView> overlay = staticOverlayView();
        const CGRect bounds = overlay ? overlay->bounds() : CGRectZero;
        hud->setFrame(
            CGRectIntegral(CGRectMake(bounds.origin.x + (bounds.size.width - kHUDSide) / 2,
                                      bounds.origin.y + (bounds.size.height - kHUDSide) / 2, kHUDSide, kHUDSide)));
        hud->setAutoresizingMask(QZUIViewAutoresizingFlexibleMargins);
    }
    if (!hud->superview())
        if (auto overlay = staticOverlayView()) overlay->addSubview(hud);
    hud->setVisible(true, true);
    if (hideAutomatically) {
        if (hudTimer_) hudTimer_->invalidate();
        std::weak_ptr<QZToolViewController> weak = weakSelf<QZToolViewController>();
        hudTimer_ = NSTimer::scheduledTimerWithTimeInterval(kHUDAutoHideSeconds, false,
                                                            [weak](const std::shared_ptr<NSTimer>&) {
                                                                if (auto self = weak.lock()) self->hideHUDView();
                                                            });
    }
}

void QZToolViewController::hideHUDView()
{
    if (hudTimer_) hudTimer_->invalidate();
    hudTimer_ = nullptr;
    auto hud = hudView();
    if (!hud) return;
    std::weak_ptr<QZHUDView> hiding = hud;
    hud->setVisible(false, true, [hiding] {
        if (auto view = hiding.lock()) view->removeFromSuperview();
    });
}

// ---- Rendering and comparing ----

void QZToolViewController::renderModule(const std::shared_ptr<QZModule>& module, QZRenderingResolution,
                                        RenderCompletion completion)
{
    cancelServers();
    auto gl = glInstance();
    if (module && highResolutionServer_) {
        module->setBordersEnabled(bordersEnabled_);
        highResolutionServer_->runModule(module);
    }
    if (!gl) {
        // Nothing can be read back; the caller still hears once.
        if (completion) dispatch_async(dispatch_get_main_queue(), [completion] { completion(nullptr); });
        return;
    }
    gl->presentRenderbuffer();
    if (!completion) return;
    gl->getOutputImageFromLastRender([completion](std::shared_ptr<UIImage> image) {
        dispatch_async(dispatch_get_main_queue(), [completion, image] { completion(image); });
    });
}

void QZToolViewController::showOriginal()
{
    QZAnalytics::reportEvent("tool prepost: pressed", Value::dictionary({{"tool", analyticsKey_}}));
    if (auto gl = glInstance()) gl->showCurrentImageWithCompletion(nullptr);
}

void QZToolViewController::showCurrent()
{
    if (auto gl = glInstance()) gl->showLastRenderedImageWithCompletion(nullptr);
}

// ---- Render timing ----

void QZToolViewController::setRenderStartDate()
{
    renderStartDate_ = DispatchClock::nowSeconds();
}
void QZToolViewController::setRenderEndDate()
{
    renderEndDate_ = DispatchClock::nowSeconds();
}

double QZToolViewController::renderTime() const
{
    if (!renderStartDate_ || !renderEndDate_) return 0;
    const float seconds = std::roundf(float(*renderEndDate_ - *renderStartDate_));
    if (seconds < 0 || std::isnan(seconds))
        NSLog("%s %@", "-[QZToolViewController renderTime]", "Invalid render duration");
    return seconds;
}

float QZToolViewController::lowResScale() const
{
    if (!inputImage_) return 1;
    const CGFloat side = lowResScaleFactor_ * 1024;
    CGFloat scale = 1;
    QZCGSizeScaleToMaxSize(inputImage_->size(), CGSizeMake(side, side), &scale);
    return std::min<CGFloat>(scale, 1);
}

// ---- Analytics ----

void QZToolViewController::reportEvent(const std::string& name, const Value& attributes)
{
    QZAnalytics::reportEvent(analyticsKey_ + ": " + name, attributes);
}

void QZToolViewController::reportOpened()
{
    reportEvent("opened");
}
void QZToolViewController::reportCancelled()
{
    reportEvent("cancelled");
}
void QZToolViewController::reportApplied()
{
    reportApplied(Value());
}
void QZToolViewController::reportApplied(const Value& attributes)
{
    reportAppliedWithRenderTime(renderTime(), attributes);
}

void QZToolViewController::reportAppliedWithRenderTime(double seconds, const Value& attributes)
{
    Value merged = Value::dictionary();
    if (seconds > 0) {
        std::ostringstream text;
        text << seconds;
        merged.setObject(text.str(), "renderTime");
    }
    if (const Value::Dictionary* given = attributes.asDictionary())
        for (const auto& [key, value] : *given) merged.setObject(value, key);
    reportEvent("applied", merged);
}
