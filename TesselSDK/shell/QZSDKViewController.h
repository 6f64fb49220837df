#pragma once
// The root editor screen, the object a host presents: it owns one editor's GL instance, session and
// the tool screen that is up, builds the home screen (canvas, bar with Cancel and Done, tool strip),
// scales the input for editing, opens tools by class name from the tool table, records their
// modules and ends the edit through the host's delegate. Main thread only.

#include "TesselSDKFoundation/QZView.h"
#include "TesselSDK/shell/QZAboutView.h"
#include "TesselSDK/shell/QZFeedbackView.h"
#include "TesselSDK/shell/QZNavigationBar.h"
#include "TesselSDK/shell/QZPhotoEditorController.h"
#include "TesselSDK/shell/QZPhotoEditorSession.h"
#include "TesselSDK/shell/QZResetOverlayView.h"
#include "TesselSDK/shell/QZScrollingImageView.h"
#include "TesselSDK/shell/QZToolSelectionView.h"
#include "TesselSDK/shell/QZToolViewController.h"
#include "TesselSDK/shell/QZViewController.h"

#include "TesselSDKImaging/QZOpenGLInstance.h"

#include "CoreGraphics/CGAffineTransform.h"
#include "Foundation/NSNotification.h"
#include "Foundation/Value.h"
#include "MessageUI/MFMailComposeViewController.h"
#include "UIKit/UIActivityIndicatorView.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UINavigationBar.h"
#include "UIKit/UITapGestureRecognizer.h"

#include <functional>
#include <memory>
#include <string>

class QZContentPack;
class QZNavigationItemButton;

inline constexpr float kQZResetPresentationDelayDuration = 1.0f;
inline constexpr float kQZResetDismissalDelayDuration = 2.0f;
inline constexpr float kQZResetButtonContainerYMargin = 40.0f;
inline constexpr float kQZResetButtonContainerXMargin = 5.0f;
inline constexpr float kQZResetButtonContainerAnimationDuration = 0.2f;

class QZSDKViewController : public QZViewController,
                            public QZToolViewControllerDelegate,
                            public QZToolSelectionViewDelegate,
                            public QZAboutViewDelegate,
                            public QZFeedbackViewDelegate,
                            public QZResetOverlayViewDelegate,
                            public QZScrollingImageViewDelegate,
                            public MFMailComposeViewControllerDelegate,
                            public UINavigationBarDelegate,
                            public UIGestureRecognizerDelegate,
                            public UIAlertViewDelegate {
public:
    using QZViewController::QZViewController;
    ~QZSDKViewController() override;

    // ---- Creation ----
    // The class set-up: registers the classes the tool table names, once per process.
    static void initialize();
    // Nil for a nil image.
    static std::shared_ptr<QZSDKViewController> makeWithImage(const std::shared_ptr<UIImage>& image);
    bool initWithNibName(const std::string& nibName, std::shared_ptr<NSBundle> bundle) override;
    bool initWithImage(const std::shared_ptr<UIImage>& image);
    bool initWithImage(const std::shared_ptr<UIImage>& image, const Value& options);
    bool initWithImageQuickLaunchTool(const std::shared_ptr<UIImage>& image, const std::string& toolKey);
    bool initWithImageQuickLaunchContentIdentifier(const std::shared_ptr<UIImage>& image,
                                                   const std::string& identifier);
    // The layout for the device now: idiom, screen height, status-bar orientation, system.
    static std::string nibNameForCurrentDevice();
    static CGSize maximumEditingSize() { return CGSizeMake(1024, 1024); }

    // ---- View lifecycle ----
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    UIStatusBarStyle preferredStatusBarStyle() override;
    void didReceiveMemoryWarning() override;
    bool disablesAutomaticKeyboardDismissal() override { return false; }

    // ---- Rotation ----
    bool shouldAutorotate() override { return true; }
    UIInterfaceOrientationMask supportedInterfaceOrientations() override;
    static UIInterfaceOrientationMask interfaceOrientationMaskForOrientation(NSInteger orientation);
    bool shouldAutorotateToInterfaceOrientation(UIInterfaceOrientation orientation) override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;
    static CGAffineTransform getContentTransformFromInterfaceOrientation(NSInteger from, NSInteger to);

    // ---- Image set-up ----
    void setupImageWithDisplayCompletionBlock(std::function<void()> completion);
    // Opens the tool (or pack page) the host asked for at start, once the photo is laid out.
    void presentQuickLaunchTool();
    void resizeImage(const std::shared_ptr<UIImage>& image,
                     std::function<void(std::shared_ptr<UIImage> scaled, CGFloat scale)> completion);

    // ---- Tool registry and flow ----
    static Value toolDictionaries();
    static Value orderedToolKeys();
    static Value toolDictionaryAtIndex(NSInteger index);
    // Nil when there is no GL instance (logged and reported) or the class makes none.
    std::shared_ptr<QZToolViewController> toolViewControllerWithKey(const std::string& key, bool quickLauch);
    void presentToolViewController(const std::shared_ptr<QZToolViewController>& tool, bool animated);
    void dismissToolViewControllerAnimated(bool animated);
    void toolControllerFinishedWithStatus(QZToolViewController* tool, QZToolViewControllerStatus status) override;
    void unloadResourcesIfNeeded();

    // ---- Strip ----
    NSInteger numberOfToolsInSelectionView(QZToolSelectionView* view) override;
    std::string selectionViewTitleForToolAtIndex(QZToolSelectionView* view, NSInteger index) override;
    std::shared_ptr<UIImage> selectionViewImageForToolAtIndex(QZToolSelectionView* view, NSInteger index) override;
    std::shared_ptr<UIImage> selectionViewHighlightedImageForToolAtIndex(QZToolSelectionView* view,
                                                                         NSInteger index) override;
    bool selectionViewRequiresBadgeForTool(QZToolSelectionView* view, const std::string& title) override;
    void selectionViewDidSelectToolAtIndexWithBadge(QZToolSelectionView* view, NSInteger index, bool badge) override;
    void selectionViewDidSelectFeedback(QZToolSelectionView* view) override;
    // "crop.png" and "crop" give "crop-active.png".
    static std::string highlightedIconName(const std::string& icon);

    // ---- Done, Cancel and reset ----
    // Without a GL context the editor cannot edit: it says so in an alert when it appears, whose one
    // button cancels the editor through the delegate's photoEditorCanceled.
    void alertViewDidDismissWithButtonIndex(UIAlertView* alert, NSInteger buttonIndex) override;
    void doneButtonPressed();
    void cancelButtonPressed();
    void dismissEditorSuccessfully();
    void cancelSDK();
    void cancelPendingProcessing();
    void resetOverlayPressedButtonAtIndex(QZResetOverlayView* overlay, NSInteger index) override;
    void handleTapGesture();
    void removeResetContainer();
    void resetButtonPressed();
    void presentResetButton();
    void removeResetButton();
    void restoreOriginal();
    void showCurrentImage();

    // ---- Panels and messages ----
    void poweredByTesselPressed();
    void presentFeedbackView();
    void aboutViewDismissed(QZAboutView* view) override;
    void feedbackViewRequestedSendFeedback(QZFeedbackView* view) override;
    void mailComposeControllerDidFinishWithResultError(MFMailComposeViewController* controller,
                                                       MFMailComposeResult result,
                                                       const std::shared_ptr<NSError>& error) override;
    void messageDismissedWithAction(const std::string& action);
    void newContentAvailable(const std::shared_ptr<NSNotification>& notification);

    // ---- Canvas ----
    void imageViewBeganZooming(QZScrollingImageView* canvas) override;
    void imageViewStoppedZooming(QZScrollingImageView* canvas) override;
    void imageViewBeganDragging(QZScrollingImageView* canvas) override;
    void imageViewStoppedDragging(QZScrollingImageView* canvas) override;
    void imageViewDidZoom(QZScrollingImageView* canvas) override;
    std::optional<bool> imageViewIsPointInsideEvent(QZScrollingImageView* canvas, CGPoint point,
                                                    const UIEvent* event) override;
    void imageViewDidReceiveTouchDown(QZScrollingImageView* canvas) override;
    void imageViewDidReceiveTouchUp(QZScrollingImageView* canvas) override;

    // ---- Bar and gestures ----
    std::shared_ptr<QZNavigationItemButton> createLeftButton();
    std::shared_ptr<QZNavigationItemButton> createRightButton();
    std::optional<bool> navigationBarShouldPopItem(UINavigationBar*, UINavigationItem*) override { return true; }
    std::optional<bool> gestureRecognizerShouldReceiveTouch(UIGestureRecognizer* recognizer, UITouch* touch) override;

    // ---- Outlets (set by the layout builders) ----
    const std::shared_ptr<QZNavigationBar>& navigationBar() const { return navigationBar_; }
    void setNavigationBar(std::shared_ptr<QZNavigationBar> bar) { navigationBar_ = std::move(bar); }
    const std::shared_ptr<QZScrollingImageView>& scrollableImageView() const { return scrollableImageView_; }
    void setScrollableImageView(std::shared_ptr<QZScrollingImageView> view) { scrollableImageView_ = std::move(view); }
    const std::shared_ptr<UIImageView>& topShadowView() const { return topShadowView_; }
    void setTopShadowView(std::shared_ptr<UIImageView> view) { topShadowView_ = std::move(view); }
    const std::shared_ptr<UIImageView>& bottomShadowView() const { return bottomShadowView_; }
    void setBottomShadowView(std::shared_ptr<UIImageView> view) { bottomShadowView_ = std::move(view); }
    const std::shared_ptr<UIView>& navigationContainerView() const { return navigationContainerView_; }
    void setNavigationContainerView(std::shared_ptr<UIView> view) { navigationContainerView_ = std::move(view); }
    const std::shared_ptr<UIView>& toolSelectionContainerView() const { return toolSelectionContainerView_; }
    void setToolSelectionContainerView(std::shared_ptr<UIView> view) { toolSelectionContainerView_ = std::move(view); }
    const std::shared_ptr<UIView>& statusBarView() const { return statusBarView_; }
    void setStatusBarView(std::shared_ptr<UIView> view) { statusBarView_ = std::move(view); }
    const std::shared_ptr<QZToolSelectionView>& toolSelectionView() const { return toolSelectionView_; }
    void setToolSelectionView(std::shared_ptr<QZToolSelectionView> view) { toolSelectionView_ = std::move(view); }
    const std::shared_ptr<UIActivityIndicatorView>& wheelView() const { return wheelView_; }
    void setWheelView(std::shared_ptr<UIActivityIndicatorView> view) { wheelView_ = std::move(view); }

    // ---- Properties ----
    std::shared_ptr<QZPhotoEditorControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZPhotoEditorControllerDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::shared_ptr<UIView>& canvasView() const { return canvasView_; }
    const std::shared_ptr<QZPhotoEditorSession>& session() const { return session_; }
    const std::shared_ptr<QZOpenGLInstance>& glInstance() const { return glInstance_; }
    // Empty when the editor can edit. Otherwise why it cannot, in the person's language, as the
    // alert on appearing says it: "Photo editing needs OpenGL ES, which is not available here." when
    // no GL context could be made (no EGL display, or EGL refused). Set once the editor is made, so a
    // host can read it before presenting the editor; such an editor only shows the photo and ends
    // through its delegate's photoEditorCanceled.
    const std::string& setupFailure() const { return setupFailure_; }
    void setGlInstance(std::shared_ptr<QZOpenGLInstance> instance) { glInstance_ = std::move(instance); }
    const std::string& overridenCancelButtonTitle() const { return overridenCancelButtonTitle_; }
    void setOverridenCancelButtonTitle(std::string title) { overridenCancelButtonTitle_ = std::move(title); }
    bool bordersEnabled() const { return bordersEnabled_; }
    void setBordersEnabled(bool enabled) { bordersEnabled_ = enabled; }
    bool shouldResizeImage() const { return shouldResizeImage_; }
    void setShouldResizeImage(bool resize) { shouldResizeImage_ = resize; }
    bool shouldResizeImageWithPlaceholer() const { return shouldResizeImageWithPlaceholer_; }
    void setShouldResizeImageWithPlaceholer(bool placeholder) { shouldResizeImageWithPlaceholer_ = placeholder; }
    bool transparentBackground() const { return transparentBackground_; }
    void setTransparentBackground(bool transparent) { transparentBackground_ = transparent; }
    bool shouldConfirmCancel() const { return shouldConfirmCancel_; }
    void setShouldConfirmCancel(bool confirm) { shouldConfirmCancel_ = confirm; }
    const std::shared_ptr<QZToolViewController>& toolViewController() const { return toolViewController_; }
    const std::shared_ptr<UIImage>& image() const { return image_; }
    const std::shared_ptr<UIImage>& resizedImage() const { return resizedImage_; }
    bool wasMonitoringBattery() const { return wasMonitoringBattery_; }
    bool imageFinishedResizing() const { return imageFinishedResizing_; }
    const std::string& quickLaunchKey() const { return quickLaunchKey_; }
    const std::shared_ptr<QZAboutView>& aboutView() const { return aboutView_; }
    const std::shared_ptr<QZView>& aboutDimmerView() const { return aboutDimmerView_; }
    const std::shared_ptr<QZContentPack>& quickLaunchContentPack() const { return quickLaunchContentPack_; }
    bool isShowingReset() const { return isShowingReset_; }
    bool isShowingConfirmation() const { return isShowingConfirmation_; }
    const std::shared_ptr<UIView>& resetContainerView() const { return resetContainerView_; }
    const std::shared_ptr<UITapGestureRecognizer>& resetGestureRecognizer() const { return resetGestureRecognizer_; }
    bool shouldAttemptMessaging() const { return attemptMessaging_; }
    void setAttemptMessaging(bool attempt) { attemptMessaging_ = attempt; }

    // Tests only: the once-per-process staging warning may show again.
    static void resetStagingWarningForTesting();

private:
    std::shared_ptr<QZSDKViewController> self()
    {
        return std::static_pointer_cast<QZSDKViewController>(shared_from_this());
    }
    std::shared_ptr<UIBarButtonItem> leftBarItem() const;
    std::shared_ptr<UIBarButtonItem> rightBarItem() const;
    void setBarItemsEnabled(bool enabled);
    void setHomeInteraction(bool enabled);
    void presentPanel(const std::shared_ptr<QZAboutView>& panel);
    void scheduleResetAction(void (QZSDKViewController::*action)(), double delay);
    void cancelResetActions();
    void presentToolForPack(const std::shared_ptr<QZContentPack>& pack, bool animated);

    std::weak_ptr<QZPhotoEditorControllerDelegate> delegate_;
    std::shared_ptr<UIView> canvasView_;
    std::shared_ptr<QZNavigationBar> navigationBar_;
    std::shared_ptr<QZScrollingImageView> scrollableImageView_;
    std::shared_ptr<UIImageView> bottomShadowView_;
    std::shared_ptr<UIImageView> topShadowView_;
    std::shared_ptr<UIView> navigationContainerView_;
    std::shared_ptr<UIView> toolSelectionContainerView_;
    std::shared_ptr<UIView> statusBarView_;
    std::shared_ptr<QZToolSelectionView> toolSelectionView_;
    std::shared_ptr<UIActivityIndicatorView> wheelView_;
    std::shared_ptr<QZPhotoEditorSession> session_;
    std::shared_ptr<QZOpenGLInstance> glInstance_;
    std::string overridenCancelButtonTitle_;
    bool bordersEnabled_ = false;
    bool shouldResizeImage_ = true;
    bool shouldResizeImageWithPlaceholer_ = false;
    bool quickLaunchToolPresented_ = false;
    bool transparentBackground_ = false;
    bool shouldConfirmCancel_ = false;
    std::shared_ptr<QZToolViewController> toolViewController_;
    std::shared_ptr<UIImage> image_;
    std::shared_ptr<UIImage> resizedImage_;
    bool wasMonitoringBattery_ = false;
    bool imageFinishedResizing_ = false;
    std::string quickLaunchKey_;
    std::shared_ptr<QZAboutView> aboutView_;
    std::shared_ptr<QZView> aboutDimmerView_;
    std::shared_ptr<QZContentPack> quickLaunchContentPack_;
    bool isShowingReset_ = false;
    bool isShowingConfirmation_ = false;
    std::shared_ptr<UIView> resetContainerView_;
    std::shared_ptr<UITapGestureRecognizer> resetGestureRecognizer_;
    bool attemptMessaging_ = false;
    // Targets of the delayed reset-button calls, so each kind is cancelled without the other.
    std::shared_ptr<NSObject> presentResetTarget_;
    std::shared_ptr<NSObject> removeResetTarget_;
    std::shared_ptr<UIView> messageView_;
    std::string setupFailure_;
    std::shared_ptr<UIAlertView> setupFailureAlert_;
};
