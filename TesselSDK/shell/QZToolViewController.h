#pragma once
// The base of every tool screen. The root screen makes one tool at a time (by class name, through
// makeWithGLInstance), gives it the editor's GL instance, canvas and bar, shows its view below the
// canvas and waits for exactly one status on its delegate. The base owns the Apply and back
// buttons, the apply/cancel/quick-launch flow, the progress HUD, the two overlays placed over the
// canvas, the preview's image server, render timing and the tool's analytics events. Subclasses add
// their controls and change the flow only through the hooks. Main thread only.

#include "TesselSDKFoundation/QZHUDView.h"
#include "TesselSDKFoundation/QZProgressHUDView.h"
#include "TesselSDKFoundation/QZView.h"
#include "TesselSDK/shell/QZScrollingImageView.h"
#include "TesselSDK/shell/QZViewController.h"

#include "TesselSDKImaging/Modules/QZModule.h"
#include "TesselSDKImaging/QZImageServer.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"

#include "Foundation/NSTimer.h"
#include "Foundation/Value.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIImage.h"
#include "UIKit/UINavigationBar.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// 0: not applying.
using QZToolViewControllerApplyType = std::uint32_t;
inline constexpr QZToolViewControllerApplyType QZToolViewControllerApplyTypeStandard = 1;
inline constexpr QZToolViewControllerApplyType QZToolViewControllerApplyTypeQuickLaunchDone = 2;
inline constexpr QZToolViewControllerApplyType QZToolViewControllerApplyTypeQuickLaunchEdit = 3;

using QZToolViewControllerStatus = std::uint32_t;
inline constexpr QZToolViewControllerStatus QZToolViewControllerStatusApplied = 0;
inline constexpr QZToolViewControllerStatus QZToolViewControllerStatusCancelled = 1;
inline constexpr QZToolViewControllerStatus QZToolViewControllerStatusQuickLaunchDone = 2;
inline constexpr QZToolViewControllerStatus QZToolViewControllerStatusQuickLaunchEdit = 3;
inline constexpr QZToolViewControllerStatus QZToolViewControllerStatusQuickLaunchCancelled = 4;

using QZRenderingResolution = std::uint32_t;
inline constexpr QZRenderingResolution QZRenderingResolutionLow = 1;
inline constexpr QZRenderingResolution QZRenderingResolutionHigh = 2;

class QZToolViewController;

class QZToolViewControllerDelegate {
public:
    virtual ~QZToolViewControllerDelegate() = default;
    virtual void toolControllerFinishedWithStatus(QZToolViewController* tool, QZToolViewControllerStatus status) = 0;
};

class QZModuleRendering {
public:
    using RenderCompletion = std::function<void(std::shared_ptr<UIImage> image)>;
    virtual ~QZModuleRendering() = default;
    virtual void renderModule(const std::shared_ptr<QZModule>& module, QZRenderingResolution resolution,
                              RenderCompletion completion) = 0;
};

// An opaque style object the pack-list tools pass between them.
class QZStyleSheet : public NSObject {
public:
    using NSObject::NSObject;
};

// Makes an overlay with initWithFrame: from the frame.
using QZOverlayViewFactory = std::function<std::shared_ptr<QZView>(CGRect frame)>;

class QZToolViewController : public QZViewController,
                             public UIAlertViewDelegate,
                             public QZScrollingImageViewDelegate,
                             public QZModuleRendering {
public:
    using QZViewController::QZViewController;

    // initWithGLInstance:settings:quickLaunch:, as the tool registry makes a tool of class T.
    template <class T = QZToolViewController>
    static std::shared_ptr<T> makeWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                                                 bool quickLaunch)
    {
        return NSObject::create<T>(
            [&](T& tool) { return tool.initWithGLInstance(glInstance, std::move(settings), quickLaunch); });
    }
    // init, then the GL instance, ready to apply, a low-resolution factor of 0.3 and an empty tool
    // module as the output.
    virtual bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance);
    virtual bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                                    bool quickLaunch);

    // ---- Class hooks ----
    virtual QZOverlayViewFactory scrollableOverlayViewClass() const;
    virtual QZOverlayViewFactory staticOverlayViewClass() const;
    virtual bool usesStaticImageView() const { return true; }
    virtual bool needsLayoutOnSuccess() const { return false; }
    virtual bool needsLayoutOnFailure() const { return false; }
    virtual std::string customizationKeyPath() const { return "editor.tool"; }
    // The Edit confirmation's text; none in the base.
    virtual std::string editButtonConfirmationPrompt() const { return ""; }
    // ---- Instance hooks ----
    virtual bool editButttonShouldPrompt() const { return false; }
    virtual bool supportsViewOriginalWithTouch() const { return false; }
    // The canvas transform while the tool is shown.
    virtual CGAffineTransform imageViewTransform() const;

    // ---- Options ----
    // The option at "<customizationKeyPath>.<key>".
    Value customizationOptionForKey(const std::string& key) const;
    Value customizationAccentColor() const { return customizationOptionForKey("accentColor"); }
    Value customizationBackgroundColor() const { return customizationOptionForKey("backgroundColor"); }

    // ---- View lifecycle ----
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    bool shouldAutorotateToInterfaceOrientation(UIInterfaceOrientation) override { return true; }
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;

    // ---- Canvas ----
    // The canvas zoom relative to fully zoomed out (1 then).
    float zoomScale() const;
    bool isZoomEnabled() const { return zoomEnabled_; }
    // An enabled zoom lets touches through to the canvas; a disabled one gives them to the
    // scrollable overlay. The brush tools add their zoom button and dimming to it.
    virtual void setZoomEnabled(bool enabled);
    void imageViewBeganZooming(QZScrollingImageView*) override {}
    void imageViewStoppedZooming(QZScrollingImageView*) override {}
    void imageViewBeganDragging(QZScrollingImageView*) override {}
    void imageViewStoppedDragging(QZScrollingImageView*) override {}
    void imageViewDidZoom(QZScrollingImageView*) override {}

    // ---- Apply, cancel and finish ----
    virtual void applyButtonPressed();
    virtual void backButtonPressed();
    virtual void editButtonPressed();
    bool isReadyToApply() const { return readyToApply_; }
    // A pending apply completes once the tool is ready again.
    virtual void setReadyToApply(bool ready);
    QZToolViewControllerApplyType applyType() const { return applyType_; }
    // Locks the tool's inputs; the back button stays enabled so the user can still cancel.
    virtual void setApplyType(QZToolViewControllerApplyType applyType);
    // Commits the preview and reports the finish; nothing once the tool has finished or been
    // cancelled (a queued render may still call it after Back).
    virtual void finishApplying();
    virtual void updateUIAndNotifyDelegateOfFinish();
    void alertViewDidDismissWithButtonIndex(UIAlertView* alert, NSInteger buttonIndex) override;
    void displayHUDView(const std::shared_ptr<QZHUDView>& hud, bool hideAutomatically);
    void hideHUDView();
    void setTopBarButtonsEnabled(bool enabled);

    // ---- Rendering and comparing ----
    // Runs the module on the preview server and presents it; the completion gets the presented
    // preview (nil when none can be read) once, on the main queue.
    void renderModule(const std::shared_ptr<QZModule>& module, QZRenderingResolution resolution,
                      RenderCompletion completion) override;
    void showOriginal();
    void showCurrent();

    // ---- Render timing (the one clock) ----
    virtual void setRenderStartDate();
    virtual void setRenderEndDate();
    // Whole seconds between the stamps; 0 while either is missing.
    double renderTime() const;

    // ---- Analytics ("<analyticsKey>: <name>") ----
    void reportEvent(const std::string& name, const Value& attributes);
    void reportEvent(const std::string& name) { reportEvent(name, Value()); }
    virtual void reportOpened();
    virtual void reportCancelled();
    virtual void reportApplied();
    void reportApplied(const Value& attributes);
    // "renderTime" only when above 0; the given attributes win.
    void reportAppliedWithRenderTime(double seconds, const Value& attributes);

    // ---- Properties ----
    const std::shared_ptr<UIImage>& inputImage() const { return inputImage_; }
    void setInputImage(std::shared_ptr<UIImage> image) { inputImage_ = std::move(image); }
    const std::shared_ptr<UIImage>& outputImage() const { return outputImage_; }
    void setOutputImage(std::shared_ptr<UIImage> image) { outputImage_ = std::move(image); }
    virtual std::shared_ptr<QZModule> outputModule() { return outputModule_; }
    void setOutputModule(std::shared_ptr<QZModule> module) { outputModule_ = std::move(module); }
    std::shared_ptr<QZToolViewControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZToolViewControllerDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<UINavigationBar> navigationBar() const { return navigationBar_.lock(); }
    void setNavigationBar(std::weak_ptr<UINavigationBar> bar) { navigationBar_ = std::move(bar); }
    // The canvas and the two overlays are read through these getters, here too: a screen shown
    // inside another tool (a pack's page) answers with that tool's.
    virtual std::shared_ptr<QZScrollingImageView> scrollableImageView() const { return scrollableImageView_.lock(); }
    void setScrollableImageView(std::weak_ptr<QZScrollingImageView> canvas)
    {
        scrollableImageView_ = std::move(canvas);
    }
    virtual std::shared_ptr<QZView> staticOverlayView() const { return staticOverlayView_; }
    virtual std::shared_ptr<QZView> scrollableOverlayView() const { return scrollableOverlayView_; }
    float targetViewHeight() const { return targetViewHeight_; }
    void setTargetViewHeight(float height) { targetViewHeight_ = height; }
    bool isRotating() const { return rotating_; }
    const std::shared_ptr<QZImageServer>& lowResolutionServer() const { return lowResolutionServer_; }
    void setLowResolutionServer(std::shared_ptr<QZImageServer> server) { lowResolutionServer_ = std::move(server); }
    const std::shared_ptr<QZImageServer>& highResolutionServer() const { return highResolutionServer_; }
    const Value& settings() const { return settings_; }
    const std::shared_ptr<UIBarButtonItem>& applyButton() const { return applyButton_; }
    const std::shared_ptr<UIBarButtonItem>& backButton() const { return backButton_; }
    // Kept for subclasses; the quick-launch Edit action goes through the navigation item.
    const std::shared_ptr<UIBarButtonItem>& editButton() const { return editButton_; }
    void setEditButton(std::shared_ptr<UIBarButtonItem> button) { editButton_ = std::move(button); }
    CGRect overlayRect() const { return overlayRect_; }
    void setOverlayRect(CGRect rect) { overlayRect_ = rect; }
    const std::string& analyticsKey() const { return analyticsKey_; }
    void setAnalyticsKey(std::string key) { analyticsKey_ = std::move(key); }
    const std::shared_ptr<QZProgressHUDView>& progressHUDView() const { return progressHUDView_; }
    float lowResScaleFactor() const { return lowResScaleFactor_; }
    void setLowResScaleFactor(float factor) { lowResScaleFactor_ = factor; }
    // Fits inputImage into a square of side lowResScaleFactor x 1024, never above 1.
    float lowResScale() const;
    bool successfullyApplied() const { return successfullyApplied_; }
    bool shouldWaitForGLCommit() const { return shouldWaitForGLCommit_; }
    void setShouldWaitForGLCommit(bool wait) { shouldWaitForGLCommit_ = wait; }
    bool willHandleImageViewResizing() const { return willHandleImageViewResizing_; }
    void setWillHandleImageViewResizing(bool handles) { willHandleImageViewResizing_ = handles; }
    const std::shared_ptr<QZStyleSheet>& stylesheet() const { return stylesheet_; }
    void setStylesheet(std::shared_ptr<QZStyleSheet> sheet) { stylesheet_ = std::move(sheet); }
    bool bordersEnabled() const { return bordersEnabled_; }
    void setBordersEnabled(bool enabled) { bordersEnabled_ = enabled; }
    std::shared_ptr<QZOpenGLInstance> glInstance() const { return glInstance_.lock(); }
    bool wasBackButtonPressed() const { return backButtonPressed_; }
    std::shared_ptr<QZHUDView> hudView() const { return hudView_.lock(); }
    const std::shared_ptr<NSTimer>& hudTimer() const { return hudTimer_; }
    std::optional<double> renderStartDate() const { return renderStartDate_; }
    std::optional<double> renderEndDate() const { return renderEndDate_; }
    bool isQuickLaunch() const { return quickLaunch_; }
    const std::shared_ptr<UIAlertView>& quickLaunchAlertView() const { return quickLaunchAlertView_; }

protected:
    virtual void createNavButtons();
    virtual std::shared_ptr<UIBarButtonItem> createBackButtonQuickLaunched(bool quickLaunched);
    virtual std::shared_ptr<UIBarButtonItem> createApplyButtonQuickLaunched(bool quickLaunched);

private:
    void cancelServers();
    void setCanvasInteraction(bool enabled);

    std::shared_ptr<UIImage> inputImage_;
    std::shared_ptr<UIImage> outputImage_;
    std::shared_ptr<QZModule> outputModule_;
    std::weak_ptr<QZToolViewControllerDelegate> delegate_;
    std::weak_ptr<UINavigationBar> navigationBar_;
    std::weak_ptr<QZScrollingImageView> scrollableImageView_;
    std::shared_ptr<QZView> staticOverlayView_;
    std::shared_ptr<QZView> scrollableOverlayView_;
    float targetViewHeight_ = 0;
    bool rotating_ = false;
    bool zoomEnabled_ = false;
    std::shared_ptr<QZImageServer> lowResolutionServer_;
    std::shared_ptr<QZImageServer> highResolutionServer_;
    Value settings_;
    std::shared_ptr<UIBarButtonItem> applyButton_;
    std::shared_ptr<UIBarButtonItem> backButton_;
    std::shared_ptr<UIBarButtonItem> editButton_;
    bool readyToApply_ = false;
    QZToolViewControllerApplyType applyType_ = 0;
    CGRect overlayRect_{{0, 0}, {0, 0}};
    std::string analyticsKey_;
    std::shared_ptr<QZProgressHUDView> progressHUDView_;
    float lowResScaleFactor_ = 0;
    bool successfullyApplied_ = false;
    bool shouldWaitForGLCommit_ = false;
    bool willHandleImageViewResizing_ = false;
    std::shared_ptr<QZStyleSheet> stylesheet_;
    bool bordersEnabled_ = false;
    std::weak_ptr<QZOpenGLInstance> glInstance_;
    bool backButtonPressed_ = false;
    std::weak_ptr<QZHUDView> hudView_;
    std::shared_ptr<NSTimer> hudTimer_;
    std::optional<double> renderStartDate_;
    std::optional<double> renderEndDate_;
    bool quickLaunch_ = false;
    std::shared_ptr<UIAlertView> quickLaunchAlertView_;
};
