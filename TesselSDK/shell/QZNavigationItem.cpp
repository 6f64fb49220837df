#include "TesselSDK/shell/QZNavigationItem.h"

#include "Dispatch/Dispatch.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

namespace {
constexpr double kEditButtonDelay = 1.0;
constexpr CGFloat kTitleWidth = 200;
constexpr CGFloat kTitleHeight = 30;
}  // namespace

bool QZNavigationItem::init()
{
    if (!UINavigationItem::init()) return false;
    prepareItem();
    return true;
}

bool QZNavigationItem::initWithTitle(std::string title)
{
    if (!UINavigationItem::initWithTitle(std::move(title))) return false;
    prepareItem();
    return true;
}

void QZNavigationItem::prepareItem()
{
    quickLaunchTitle_ = UIView::viewWithFrame<QZQuickLaunchTitleView>(CGRectMake(0, 0, kTitleWidth, kTitleHeight));
    quickLaunchTitle_->sizeToFit();
    // The platform title is nil unless the item was made with one.
    quickLaunchTitle_->setTitle(title().empty() ? std::nullopt : std::optional<std::string>(title()));
    UINavigationItem::setTitleView(quickLaunchTitle_);
    if (isQuickLaunchStyle()) configureForQuickLaunch();
}

std::shared_ptr<QZQuickLaunchTitleView> QZNavigationItem::titleViewForTitles() const
{
    return std::dynamic_pointer_cast<QZQuickLaunchTitleView>(titleView());
}

void QZNavigationItem::setTitle(std::string title)
{
    currentTitle_ = std::move(title);
    if (isQuickLaunchStyle()) return;
    if (auto view = titleViewForTitles()) view->setTitle(currentTitle_);
}

void QZNavigationItem::setQuickLaunchStyle(bool quickLaunch)
{
    quickLaunchStyle_ = quickLaunch;
    auto view = titleViewForTitles();
    if (!view) return;
    if (quickLaunch)
        configureForQuickLaunch();
    else
        view->setTitle(currentTitle_);
}

void QZNavigationItem::configureForQuickLaunch()
{
    auto view = titleViewForTitles();
    if (!view) return;
    view->setTitle(std::nullopt);
    view->setEditButtonTitle(QZLocalizedString("Edit Photo"));
    std::weak_ptr<QZNavigationItem> weakItem = self<QZNavigationItem>();
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, int64_t(kEditButtonDelay * NSEC_PER_SEC)),
                   dispatch_get_main_queue(), [weakItem] {
                       if (auto item = weakItem.lock()) item->setEditButtonHidden(false, true);
                   });
}

void QZNavigationItem::setEditButtonTitle(const std::string& title)
{
    if (auto view = titleViewForTitles()) view->setEditButtonTitle(title);
}

void QZNavigationItem::setEditButtonHidden(bool hidden, bool animated)
{
    if (auto view = titleViewForTitles()) view->setEditButtonHidden(hidden, animated);
}

void QZNavigationItem::removeAllTargets()
{
    if (auto view = titleViewForTitles()) view->removeAllTargets();
}

std::shared_ptr<UIColor> QZNavigationItem::textColor() const
{
    auto view = titleViewForTitles();
    return view ? view->textColor() : nullptr;
}

void QZNavigationItem::setTextColor(std::shared_ptr<UIColor> color)
{
    if (!color) color = QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextColor");
    if (auto view = titleViewForTitles()) view->setTextColor(std::move(color));
}

std::shared_ptr<UIColor> QZNavigationItem::textShadowColor() const
{
    auto view = titleViewForTitles();
    return view ? view->shadowColor() : nullptr;
}

void QZNavigationItem::setTextShadowColor(std::shared_ptr<UIColor> color)
{
    if (!color) color = QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextShadowColor");
    if (auto view = titleViewForTitles()) view->setShadowColor(std::move(color));
}

void QZNavigationItem::setTitleView(std::shared_ptr<UIView> view)
{
    if (view) view->sizeToFit();
    UINavigationItem::setTitleView(std::move(view));
}
