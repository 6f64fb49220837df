// The root screen's end of an edit (Done, Cancel with its confirmation), the before/after touch and
// the reset button, the side panels with the feedback mail, and the in-app message on appearing.
#include "TesselSDK/shell/QZSDKViewController.h"

#include "TesselSDK/shell/QZDeveloperInfoView.h"
#include "TesselSDK/shell/QZNavigationItemButton.h"
#include "TesselSDK/shell/QZPhotoEditorContext.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZViewAnimation.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZMessageView.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

#include "TesselSDKImaging/QZOpenGLManager.h"

#include "Foundation/NSDelayedPerform.h"
#include "Foundation/NSLocale.h"
#include "Foundation/NSString.h"
#include "Foundation/PlatformSettings.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UITouch.h"

namespace {

// Ours to choose: where feedback goes and what it is called.
constexpr const char* kQZFeedbackSubject = "Photo Editor Feedback";
constexpr const char* kQZFeedbackRecipient = "feedback@example.com";
constexpr const char* kQZSDKVersion = "3.3.11";

}  // namespace

// ---- Done and Cancel ----

void QZSDKViewController::doneButtonPressed()
{
    QZAnalytics::reportEvent("corvend: saved", Value());
    dismissEditorSuccessfully();
}

void QZSDKViewController::dismissEditorSuccessfully()
{
    if (navigationBar_) navigationBar_->setUserInteractionEnabled(false);
    std::weak_ptr<QZSDKViewController> weakSelf = self();
    auto finish = [weakSelf](std::shared_ptr<UIImage> image) {
        auto self = weakSelf.lock();
        if (!self) return;
        if (auto host = self->delegate()) host->photoEditorFinishedWithImage(self.get(), std::move(image));
        self->session_->setOpen(false);
    };
    // Without GL (none made, or released) the canvas keeps the plain image.
    if (!glInstance_ || (scrollableImageView_ && scrollableImageView_->image())) {
        finish(resizedImage_);
        return;
    }
    glInstance_->getOutputImage(finish);
    if (scrollableImageView_) glInstance_->destroyRenderbufferFromOpenGLView(scrollableImageView_->openGLView());
}

void QZSDKViewController::cancelButtonPressed()
{
    if (!shouldConfirmCancel_ || !session_->isModified()) {
        cancelSDK();
        return;
    }
    QZAnalytics::reportEvent("reset confirmation: shown", Value());
    auto overlay = QZResetOverlayView::overlayViewWithFirstButtonTitle(
        QZLocalizedString("Retake Photo"), QZLocalizedString("Restore Original"),
        std::static_pointer_cast<QZResetOverlayViewDelegate>(self()));
    overlay->layoutForPosition(QZResetOverlayViewPositionUpTwoButtons);
    const CGRect bounds = overlay->twoButtonsUpBounds();
    overlay->setCenter(
        CGPointMake(bounds.size.width * 0.5f, bounds.size.height * 0.5f + kQZResetButtonContainerYMargin));
    view()->addSubview(overlay);
    resetContainerView_ = overlay;
    isShowingConfirmation_ = true;
    if (navigationBar_) navigationBar_->setUserInteractionEnabled(false);
    if (toolSelectionView_) toolSelectionView_->setUserInteractionEnabled(false);
    if (scrollableImageView_) scrollableImageView_->setUserInteractionEnabled(false);
    resetGestureRecognizer_->setEnabled(true);
}

void QZSDKViewController::cancelPendingProcessing()
{
    for (const auto& context : session_->contexts()) context->cancelRendering();
    if (glInstance_) glInstance_->cancelRendering();
}

void QZSDKViewController::cancelSDK()
{
    QZAnalytics::reportEvent("corvend: cancelled", Value());
    cancelPendingProcessing();
    session_->setOpen(false);
    session_->setCancelled(true);
    if (glInstance_ && scrollableImageView_) {
        // A one-shot queue: destroyed at once, its block still runs.
        auto manager = QZOpenGLManager::sharedOpenGLManager();
        const int queue = manager->generateQueueWithType(QZQueueTypeDestroy);
        manager->addBlock(
            [instance = glInstance_, glView = scrollableImageView_->openGLView()] {
                instance->destroyRenderbufferFromOpenGLViewFromGLQueue(glView);
            },
            queue);
        manager->destroyQueueWithIdentifier(queue);
    }
    if (auto host = delegate()) host->photoEditorCanceled(this);
}

void QZSDKViewController::alertViewDidDismissWithButtonIndex(UIAlertView* alert, NSInteger)
{
    if (alert == setupFailureAlert_.get()) cancelSDK();
}

// ---- The confirmation ----

void QZSDKViewController::resetOverlayPressedButtonAtIndex(QZResetOverlayView*, NSInteger index)
{
    if (index == 0) {
        QZAnalytics::reportEvent("reset confirmation: retake", Value());
        cancelSDK();
    } else if (index == 1) {
        QZAnalytics::reportEvent("reset confirmation: resetOriginal", Value());
        restoreOriginal();
    }
    removeResetContainer();
}

void QZSDKViewController::handleTapGesture()
{
    QZAnalytics::reportEvent("reset confirmation: dismissed", Value());
    removeResetContainer();
}

void QZSDKViewController::removeResetContainer()
{
    isShowingConfirmation_ = false;
    resetGestureRecognizer_->setEnabled(false);
    std::shared_ptr<UIView> overlay = resetContainerView_;
    std::weak_ptr<QZSDKViewController> weakSelf = self();
    UIView::animateWithDuration(
        kQZResetButtonContainerAnimationDuration,
        [overlay] {
            if (overlay) overlay->setAlpha(0);
        },
        [weakSelf, overlay](bool) {
            if (overlay) overlay->removeFromSuperview();
            auto self = weakSelf.lock();
            if (!self) return;
            if (self->resetContainerView_ == overlay) self->resetContainerView_ = nullptr;
            if (self->navigationBar_) self->navigationBar_->setUserInteractionEnabled(true);
            if (self->toolSelectionView_) self->toolSelectionView_->setUserInteractionEnabled(true);
            if (self->scrollableImageView_) self->scrollableImageView_->setUserInteractionEnabled(true);
        });
}

std::optional<bool> QZSDKViewController::gestureRecognizerShouldReceiveTouch(UIGestureRecognizer*, UITouch* touch)
{
    UIView* touched = touch ? touch->view().get() : nullptr;
    return dynamic_cast<QZNavigationItemButton*>(touched) == nullptr;
}

// ---- Before/after and the reset button ----

void QZSDKViewController::scheduleResetAction(void (QZSDKViewController::*action)(), double delay)
{
    std::weak_ptr<QZSDKViewController> weakSelf = self();
    const auto& target = action == &QZSDKViewController::presentResetButton ? presentResetTarget_ : removeResetTarget_;
    NSPerformAfterDelay(
        target,
        [weakSelf, action](NSObject&) {
            if (auto self = weakSelf.lock()) ((*self).*action)();
        },
        delay);
}

void QZSDKViewController::cancelResetActions()
{
    NSCancelPreviousPerformRequests(removeResetTarget_);
}

void QZSDKViewController::imageViewDidReceiveTouchDown(QZScrollingImageView*)
{
    if (isShowingConfirmation_) {
        removeResetContainer();
        return;
    }
    if (toolViewController_) {
        if (toolViewController_->supportsViewOriginalWithTouch()) toolViewController_->showOriginal();
        return;
    }
    if (!session_->isModified()) return;
    QZAnalytics::reportEvent("prepost: pressed", Value());
    if (navigationBar_) navigationBar_->setUserInteractionEnabled(false);
    if (toolSelectionView_) toolSelectionView_->setUserInteractionEnabled(false);
    if (glInstance_ && scrollableImageView_) {
        scrollableImageView_->setImageSize(glInstance_->sourceImageSize(), true);
        if (!CGSizeEqualToSize(glInstance_->currentImageSize(), glInstance_->sourceImageSize())) {
            scrollableImageView_->setHidden(true);
            std::weak_ptr<QZScrollingImageView> canvas = scrollableImageView_;
            glInstance_->showSourceImageWithCompletion([canvas] {
                if (auto view = canvas.lock()) view->setHidden(false);
            });
        } else {
            glInstance_->showSourceImageWithCompletion(nullptr);
        }
    }
    NSCancelPreviousPerformRequests(removeResetTarget_);
    scheduleResetAction(&QZSDKViewController::presentResetButton, kQZResetPresentationDelayDuration);
}

void QZSDKViewController::imageViewDidReceiveTouchUp(QZScrollingImageView*)
{
    if (toolViewController_) {
        if (toolViewController_->supportsViewOriginalWithTouch()) toolViewController_->showCurrent();
        return;
    }
    if (navigationBar_) navigationBar_->setUserInteractionEnabled(true);
    if (toolSelectionView_) toolSelectionView_->setUserInteractionEnabled(true);
    showCurrentImage();
    scheduleResetAction(&QZSDKViewController::removeResetButton, kQZResetDismissalDelayDuration);
    NSCancelPreviousPerformRequests(presentResetTarget_);
}

void QZSDKViewController::showCurrentImage()
{
    if (!glInstance_ || !scrollableImageView_) return;
    scrollableImageView_->setImageSize(glInstance_->currentImageSize(), true);
    if (!CGSizeEqualToSize(glInstance_->currentImageSize(), glInstance_->sourceImageSize())) {
        scrollableImageView_->setHidden(true);
        std::weak_ptr<QZScrollingImageView> canvas = scrollableImageView_;
        glInstance_->showCurrentImageWithCompletion([canvas] {
            if (auto view = canvas.lock()) view->setHidden(false);
        });
    } else {
        glInstance_->showCurrentImageWithCompletion(nullptr);
    }
}

void QZSDKViewController::presentResetButton()
{
    if (isShowingReset_) return;
    isShowingReset_ = true;
    QZAnalytics::reportEvent("reset button: shown", Value());
    auto item = customNavigationItem();
    item->removeAllTargets();
    item->addTarget(self(), &QZSDKViewController::resetButtonPressed);
    item->setEditButtonTitle(QZLocalizedString("Restore Original"));
    item->setEditButtonHidden(false, true);
}

void QZSDKViewController::removeResetButton()
{
    isShowingReset_ = false;
    customNavigationItem()->setEditButtonHidden(true, true);
}

void QZSDKViewController::resetButtonPressed()
{
    QZAnalytics::reportEvent("reset button: pressed", Value());
    restoreOriginal();
}

void QZSDKViewController::restoreOriginal()
{
    cancelResetActions();
    removeResetButton();
    session_->removeAllModules();
    if (navigationBar_) navigationBar_->setUserInteractionEnabled(true);
    if (toolSelectionView_) toolSelectionView_->setUserInteractionEnabled(true);
    if (!glInstance_) return;
    std::weak_ptr<QZSDKViewController> weakSelf = self();
    glInstance_->resetCurrentSourceImageToCachedWithCompletion([weakSelf] {
        if (auto self = weakSelf.lock()) self->showCurrentImage();
    });
}

// ---- Appearing ----

void QZSDKViewController::viewDidAppear(bool animated)
{
    QZViewController::viewDidAppear(animated);
    if (!setupFailure_.empty() && !setupFailureAlert_) {
        setupFailureAlert_ =
            UIAlertView::make(QZLocalizedString("Photo Editor"), setupFailure_,
                              std::static_pointer_cast<UIAlertViewDelegate>(self()), QZLocalizedString("Cancel"));
        setupFailureAlert_->show();
    }
    QZAnalytics::reportEvent("corvend: opened", Value());
    QZAnalytics::reportScreen("SDK Home");
    std::weak_ptr<QZSDKViewController> weakSelf = self();
    QZPerformUIViewAnimation(
        0.2,
        [weakSelf] {
            auto self = weakSelf.lock();
            if (!self) return;
            if (self->navigationContainerView_) self->navigationContainerView_->setTransform(CGAffineTransformIdentity);
            if (self->toolSelectionContainerView_)
                self->toolSelectionContainerView_->setTransform(CGAffineTransformIdentity);
        },
        nullptr);
    if (!attemptMessaging_) return;
    auto message = QZMessage::messageToDisplay();
    if (!message) return;
    auto messageView = QZMessageView::messageViewWithMessage(message);
    if (!messageView) return;
    messageView->setActionBlock([weakSelf](const std::string& action) {
        if (auto self = weakSelf.lock()) self->messageDismissedWithAction(action);
    });
    messageView->presentInView(view());
    messageView_ = messageView;
}

void QZSDKViewController::messageDismissedWithAction(const std::string& action)
{
    const Value parsed = Value::fromJSON(action);
    if (parsed["action"].stringValue() != "store") return;
    auto pack = QZTesselContentManager::sharedManager()->packWithIdentifier(parsed["pack"].stringValue());
    if (pack) presentToolForPack(pack, false);
}

void QZSDKViewController::newContentAvailable(const std::shared_ptr<NSNotification>&)
{
    if (toolSelectionView_) toolSelectionView_->reloadDataAnimated(true);
}

// ---- Panels ----

void QZSDKViewController::presentPanel(const std::shared_ptr<QZAboutView>& panel)
{
    const std::shared_ptr<UIView>& root = view();
    aboutDimmerView_ = UIView::viewWithFrame<QZView>(root->bounds());
    aboutDimmerView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    aboutDimmerView_->setBackgroundColor(UIColor::colorWithWhite(0, 0.7f));
    aboutDimmerView_->setAlpha(0);
    root->addSubview(aboutDimmerView_);

    panel->setAutoresizingMask(QZUIViewAutoresizingFlexibleMargins);
    panel->setDelegate(std::static_pointer_cast<QZAboutViewDelegate>(self()));
    panel->sizeToFit();
    panel->setCenter(QZCGRectGetCenter(root->bounds()));
    panel->setAlpha(0);
    panel->setTransform(CGAffineTransformMakeScale(1.2f, 1.2f));
    root->addSubview(panel);
    aboutView_ = panel;

    auto dimmer = aboutDimmerView_;
    UIView::animateWithDuration(0.2, [dimmer, panel] {
        dimmer->setAlpha(1);
        panel->setAlpha(1);
        panel->setTransform(CGAffineTransformIdentity);
    });
}

void QZSDKViewController::poweredByTesselPressed()
{
    presentPanel(UIView::viewWithFrame<QZDeveloperInfoView>(CGRectZero));
}

void QZSDKViewController::presentFeedbackView()
{
    auto panel = UIView::viewWithFrame<QZFeedbackView>(CGRectZero);
    panel->setFeedbackDelegate(std::static_pointer_cast<QZFeedbackViewDelegate>(self()));
    presentPanel(panel);
}

void QZSDKViewController::aboutViewDismissed(QZAboutView*)
{
    auto panel = aboutView_;
    auto dimmer = aboutDimmerView_;
    std::weak_ptr<QZSDKViewController> weakSelf = self();
    UIView::animateWithDuration(
        0.2,
        [panel, dimmer] {
            if (panel) {
                panel->setAlpha(0);
                panel->setTransform(CGAffineTransformMakeScale(1.2f, 1.2f));
            }
            if (dimmer) dimmer->setAlpha(0);
        },
        [weakSelf, panel, dimmer](bool) {
            if (panel) panel->removeFromSuperview();
            if (dimmer) dimmer->removeFromSuperview();
            auto self = weakSelf.lock();
            if (!self) return;
            if (self->aboutView_ == panel) self->aboutView_ = nullptr;
            if (self->aboutDimmerView_ == dimmer) self->aboutDimmerView_ = nullptr;
        });
}

void QZSDKViewController::feedbackViewRequestedSendFeedback(QZFeedbackView*)
{
    if (!MFMailComposeViewController::canSendMail()) {
        UIAlertView::make(QZLocalizedString("Set up Mail"),
                          QZLocalizedString("In order to send emails, you need to set up an email account in the "
                                            "Settings app."),
                          {}, QZLocalizedString("Okay"))
            ->show();
        return;
    }
    auto composer = UIViewController::make<MFMailComposeViewController>();
    composer->setMailComposeDelegate(std::static_pointer_cast<MFMailComposeViewControllerDelegate>(self()));
    composer->setSubject(kQZFeedbackSubject);
    composer->setToRecipients({kQZFeedbackRecipient});
    composer->setMessageBody(
        NSStringWithFormat("<br/><br/><br/>_____________________________<br/>Please type your feedback above the "
                           "line.<br/><br/>Device Info:<br/>Model: %@<br/>OS: %@<br/>Bundle identifier: %@ <br/>SDK "
                           "Version: %@<br/>Language: %@",
                           PlatformSettings::machineName(), UIDevice::currentDevice()->systemVersion(),
                           PlatformSettings::bundleIdentifier(), std::string(kQZSDKVersion),
                           NSLocale::currentLocale()->localeIdentifier()),
        true);
    std::weak_ptr<QZSDKViewController> weakSelf = self();
    presentViewController(composer, true, [weakSelf] {
        auto self = weakSelf.lock();
        if (!self) return;
        if (self->aboutView_) self->aboutView_->removeFromSuperview();
        if (self->aboutDimmerView_) self->aboutDimmerView_->removeFromSuperview();
        self->aboutView_ = nullptr;
        self->aboutDimmerView_ = nullptr;
    });
}

void QZSDKViewController::mailComposeControllerDidFinishWithResultError(MFMailComposeViewController* controller,
                                                                        MFMailComposeResult,
                                                                        const std::shared_ptr<NSError>&)
{
    if (controller) controller->dismissViewControllerAnimated(true);
}
