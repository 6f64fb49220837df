// The root screen's tool registry and flow: the strip's data from the tool table, a tool made by
// class name, slid in over the strip and out again, and its status recorded in the session.
#include "TesselSDK/shell/QZSDKViewController.h"

#include "TesselSDK/packs/QZContentPackSelectionViewController.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZViewAnimation.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

#include "Foundation/NSClass.h"
#include "Foundation/NSLog.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIDevice.h"

namespace {

void logFrom(const char* method, const std::string& message)
{
    NSLog("%s %@", method, message);
}

}  // namespace

// ---- The table ----

Value QZSDKViewController::toolDictionaries()
{
    return QZSDKResources::plugins();
}

Value QZSDKViewController::orderedToolKeys()
{
    return QZPhotoEditorCustomization::optionValueForKey("editor.toolOrder");
}

Value QZSDKViewController::toolDictionaryAtIndex(NSInteger index)
{
    if (index < 0) return Value();
    return toolDictionaries()[orderedToolKeys()[std::size_t(index)].stringValue()];
}

std::string QZSDKViewController::highlightedIconName(const std::string& icon)
{
    return icon.substr(0, icon.find('.')) + "-active.png";
}

// ---- The strip's data ----

NSInteger QZSDKViewController::numberOfToolsInSelectionView(QZToolSelectionView*)
{
    return NSInteger(orderedToolKeys().count());
}

std::string QZSDKViewController::selectionViewTitleForToolAtIndex(QZToolSelectionView*, NSInteger index)
{
    return QZLocalizedString(toolDictionaryAtIndex(index)["title"].stringValue());
}

std::shared_ptr<UIImage> QZSDKViewController::selectionViewImageForToolAtIndex(QZToolSelectionView*, NSInteger index)
{
    const std::string name = toolDictionaryAtIndex(index)["icon"].stringValue();
    auto image = QZSDKResources::imageNamed(name);
    if (!image)
        logFrom("-[QZSDKViewController selectionView:imageForToolAtIndex:]", "Expected non-nil image for key " + name);
    return image;
}

std::shared_ptr<UIImage> QZSDKViewController::selectionViewHighlightedImageForToolAtIndex(QZToolSelectionView*,
                                                                                          NSInteger index)
{
    const std::string name = highlightedIconName(toolDictionaryAtIndex(index)["icon"].stringValue());
    auto image = QZSDKResources::imageNamed(name);
    if (!image)
        logFrom("-[QZSDKViewController selectionView:highlightedImageForToolAtIndex:]",
                "Expected non-nil image for key " + name);
    return image;
}

bool QZSDKViewController::selectionViewRequiresBadgeForTool(QZToolSelectionView*, const std::string&)
{
    return false;
}

void QZSDKViewController::selectionViewDidSelectToolAtIndexWithBadge(QZToolSelectionView*, NSInteger index, bool badge)
{
    if (!imageFinishedResizing_) return;
    if (badge)
        QZAnalytics::reportEvent(toolDictionaryAtIndex(index)["title"].stringValue() + "_pressedWithBadge", Value());
    const std::string key = orderedToolKeys()[std::size_t(index)].stringValue();
    if (auto tool = toolViewControllerWithKey(key, false)) presentToolViewController(tool, true);
}

void QZSDKViewController::selectionViewDidSelectFeedback(QZToolSelectionView*)
{
    presentFeedbackView();
}

// ---- Making a tool ----

std::shared_ptr<QZToolViewController> QZSDKViewController::toolViewControllerWithKey(const std::string& key,
                                                                                     bool quickLauch)
{
    const char* method = "-[QZSDKViewController toolViewControllerWithKey:quickLauch:]";
    const Value entry = toolDictionaries()[key];
    const std::string className = entry["class"].stringValue();
    std::shared_ptr<const NSClass> cls = NSClassFromString(className);
    if (!cls) {
        cls = NSClassFromString("QZToolViewController");
        if (!cls) logFrom(method, "Class not loaded: " + className);
    } else if (!cls->isSubclassOfClass<QZToolViewController>()) {
        // Going on would send the tool initialiser to an object that has none: the plain base
        // opens instead, as for an unknown name.
        logFrom(method, "Unexpected controller class: " + className);
        cls = NSClassFromString("QZToolViewController");
    }

    Value settings = entry["settings"].isDictionary() ? entry["settings"] : Value::dictionary();
    if (settings["options"])
        logFrom(method, "Controller settings dict should not include a key named 'options' before global options "
                        "are added.");

    if (!glInstance_) {
        // Ending the process here would take the host's unsaved work with it: log, report and go on.
        logFrom(method, "Error: TesselSDK could not initialize OpenGL.");
        QZAnalytics::reportEvent("opengl: init failure", Value());
        return nullptr;
    }

    std::shared_ptr<QZToolViewController> tool;
    if (cls) {
        // A registered tool class makes an uninitialised instance; the registry's initialiser runs here.
        auto made = std::dynamic_pointer_cast<QZToolViewController>(cls->make());
        if (made && made->initWithGLInstance(glInstance_, settings, quickLauch)) tool = made;
    }
    if (!tool) {
        logFrom(method, "Couldn't instantiate tool controller: " + className);
        return nullptr;
    }
    tool->setBordersEnabled(bordersEnabled_);
    tool->setNavigationBar(navigationBar_);
    tool->setDelegate(std::static_pointer_cast<QZToolViewControllerDelegate>(self()));
    tool->setTargetViewHeight(100.0f);
    tool->setAnalyticsKey(entry["key"].stringValue());
    tool->setScrollableImageView(scrollableImageView_);
    tool->setTitle(QZLocalizedString(entry["title"].stringValue()));
    return tool;
}

// ---- Presenting and dismissing ----

void QZSDKViewController::presentToolViewController(const std::shared_ptr<QZToolViewController>& tool, bool animated)
{
    if (!tool || !toolSelectionView_ || !scrollableImageView_) return;
    const std::shared_ptr<UIView>& root = view();
    CGRect stripFrame = toolSelectionView_->frame();
    stripFrame.size.height = 100;
    const CGRect bounds = root->bounds();
    const CGRect canvasFrame = scrollableImageView_->frame();
    tool->setOverlayRect(CGRectInset(canvasFrame, -(CGRectGetMinX(canvasFrame) - CGRectGetMinX(bounds)),
                                     -(CGRectGetMinY(canvasFrame) - CGRectGetMinY(bounds))));

    const std::shared_ptr<UIView> toolView = tool->view();
    const std::shared_ptr<QZView> staticOverlay = tool->staticOverlayView();
    const std::shared_ptr<QZView> scrollableOverlay = tool->scrollableOverlayView();
    if (scrollableOverlay) scrollableOverlay->setAlpha(0);
    scrollableImageView_->setImageOverlayView(scrollableOverlay);

    toolView->setAutoresizingMask(toolSelectionView_->autoresizingMask());
    toolView->setFrame(stripFrame);
    if (staticOverlay) staticOverlay->setAutoresizingMask(scrollableImageView_->autoresizingMask());

    const CGAffineTransform slideDown = CGAffineTransformMakeTranslation(0, 1.2f * stripFrame.size.height);
    if (animated) {
        if (staticOverlay) staticOverlay->setAlpha(0);
    } else {
        toolSelectionView_->setTransform(slideDown);
        if (scrollableOverlay) scrollableOverlay->setAlpha(1);
    }

    scrollableImageView_->setTouchListeningEnabled(tool->supportsViewOriginalWithTouch());
    if (staticOverlay) root->addSubview(staticOverlay);
    toolSelectionContainerView_->bringSubviewToFront(toolSelectionView_.get());
    toolSelectionContainerView_->insertSubviewBelowSubview(toolView, toolSelectionView_.get());
    navigationContainerView_->bringSubviewToFront(navigationBar_.get());
    navigationBar_->pushNavigationItem(tool->navigationItem(), animated);
    navigationContainerView_->bringSubviewToFront(navigationBar_.get());
    root->bringSubviewToFront(toolSelectionContainerView_.get());
    root->bringSubviewToFront(navigationContainerView_.get());

    // Our platform never forwards appearance calls to a child screen, on any system version.
    tool->viewWillAppear(animated);
    tool->viewDidAppear(animated);

    tool->setTopBarButtonsEnabled(false);
    setBarItemsEnabled(false);

    std::weak_ptr<QZSDKViewController> weakSelf = self();
    std::weak_ptr<QZToolViewController> weakTool = tool;
    auto completion = [weakSelf, weakTool, toolView, scrollableOverlay](bool) {
        auto self = weakSelf.lock();
        auto presented = weakTool.lock();
        if (!self || !presented) return;
        if (self->scrollableImageView_) self->scrollableImageView_->setImageOverlayView(scrollableOverlay);
        self->toolSelectionContainerView_->bringSubviewToFront(toolView.get());
        presented->setTopBarButtonsEnabled(true);
        self->cancelResetActions();
        self->removeResetButton();
    };
    if (animated) {
        QZPerformUIViewAnimation(
            0.3,
            [this, slideDown, staticOverlay, scrollableOverlay] {
                toolSelectionView_->setTransform(slideDown);
                if (staticOverlay) staticOverlay->setAlpha(1);
                if (scrollableOverlay) scrollableOverlay->setAlpha(1);
            },
            completion);
    } else {
        if (scrollableOverlay) scrollableOverlay->setAlpha(1);
        completion(true);
    }
    toolViewController_ = tool;
    toolSelectionView_->setUserInteractionEnabled(false);
}

void QZSDKViewController::dismissToolViewControllerAnimated(bool animated)
{
    std::shared_ptr<QZToolViewController> tool = toolViewController_;
    if (!tool) return;
    if (std::dynamic_pointer_cast<QZContentPackSelectionViewController>(tool))
        toolSelectionView_->reloadDataAnimated(false);

    tool->setTopBarButtonsEnabled(false);
    setBarItemsEnabled(false);
    const std::shared_ptr<UIView> toolView = tool->view();
    const std::shared_ptr<QZView> staticOverlay = tool->staticOverlayView();
    const std::shared_ptr<QZView> scrollableOverlay = tool->scrollableOverlayView();
    tool->viewWillDisappear(animated);
    toolSelectionContainerView_->bringSubviewToFront(toolSelectionView_.get());

    std::weak_ptr<QZSDKViewController> weakSelf = self();
    UIView::animateWithDuration(
        0.3,
        [this, animated] {
            navigationBar_->popNavigationItemAnimated(animated);
            toolSelectionView_->setTransform(CGAffineTransformIdentity);
        },
        [weakSelf, tool, toolView, staticOverlay, scrollableOverlay, animated](bool) {
            if (scrollableOverlay) scrollableOverlay->setAlpha(0);
            if (staticOverlay) staticOverlay->setAlpha(0);
            toolView->removeFromSuperview();
            if (staticOverlay) staticOverlay->removeFromSuperview();
            tool->viewDidDisappear(animated);
            auto self = weakSelf.lock();
            if (!self) return;
            if (self->scrollableImageView_) {
                self->scrollableImageView_->setImageOverlayView(nullptr);
                self->scrollableImageView_->setTouchListeningEnabled(true);
            }
            self->toolSelectionView_->setUserInteractionEnabled(true);
            self->setBarItemsEnabled(true);
        });
    tool->setZoomEnabled(true);
    toolViewController_ = nullptr;
}

void QZSDKViewController::toolControllerFinishedWithStatus(QZToolViewController* tool,
                                                           QZToolViewControllerStatus status)
{
    if (status == QZToolViewControllerStatusCancelled || status == QZToolViewControllerStatusQuickLaunchCancelled) {
        if (glInstance_) glInstance_->renderIdentityImageWithCompletion(nullptr);
    } else if (tool) {
        if (auto module = tool->outputModule()) session_->addModulesObject(module);
    }
    if (status == QZToolViewControllerStatusQuickLaunchCancelled) {
        cancelSDK();
    } else if (status == QZToolViewControllerStatusQuickLaunchDone) {
        dismissEditorSuccessfully();
    } else {
        dismissToolViewControllerAnimated(true);
        if (scrollableImageView_) scrollableImageView_->setUserInteractionEnabled(true);
    }
}

void QZSDKViewController::unloadResourcesIfNeeded()
{
    if (auto host = delegate()) {
        const std::optional<bool> uncache = host->photoEditorShouldUncacheResources(this);
        if (uncache && !*uncache) return;
    }
    QZSDKResources::unloadResources();
}

// ---- Quick launch ----

bool QZSDKViewController::initWithImageQuickLaunchTool(const std::shared_ptr<UIImage>& image,
                                                       const std::string& toolKey)
{
    if (!initWithImage(image)) return false;
    quickLaunchKey_ = toolKey;
    return true;
}

bool QZSDKViewController::initWithImageQuickLaunchContentIdentifier(const std::shared_ptr<UIImage>& image,
                                                                    const std::string& identifier)
{
    if (!initWithImage(image)) return false;
    auto pack = QZTesselContentManager::sharedManager()->packWithIdentifier(identifier);
    if (pack && pack->availableForDisplay()) {
        const char* toolKey = pack->toolKey();
        if (toolKey && *toolKey) {
            quickLaunchContentPack_ = pack;
            quickLaunchKey_ = toolKey;
        }
    }
    return true;
}

void QZSDKViewController::presentToolForPack(const std::shared_ptr<QZContentPack>& pack, bool animated)
{
    const char* toolKey = pack ? pack->toolKey() : nullptr;
    if (!toolKey || !*toolKey) return;
    auto tool = toolViewControllerWithKey(toolKey, false);
    if (!tool) return;
    if (auto packTool = std::dynamic_pointer_cast<QZContentPackSelectionViewController>(tool))
        packTool->presentDetaiIAPViewControllerOnAppearanceWithContentPack(pack);
    presentToolViewController(tool, animated);
}
