#include "TesselSDK/packs/QZContentPackListSelectionViewController.h"

#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

#include "TesselSDKFoundation/QZAnalytics.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"

#include <algorithm>

namespace {

std::string codeName(const std::shared_ptr<QZContentPack>& pack)
{
    return pack ? pack->valueForKey("codeName").stringValue() : std::string();
}

void setPageButtonsEnabled(QZToolViewController& page, bool enabled)
{
    if (page.applyButton()) page.applyButton()->setEnabled(enabled);
    if (page.backButton()) page.backButton()->setEnabled(enabled);
}

}  // namespace

QZContentPackDetailViewControllerFactory QZContentPackListSelectionViewController::detailViewControllerClass() const
{
    return [](const std::shared_ptr<QZOpenGLInstance>& glInstance, const std::shared_ptr<QZContentPack>& pack,
              bool ownSelectionView) {
        return QZContentPackDetailSelectionViewController::makeWithGLInstance(glInstance, pack, ownSelectionView);
    };
}

// ---- Packs in the strip ----

std::shared_ptr<UITableViewCell>
QZContentPackListSelectionViewController::cellForContentPack(const std::shared_ptr<QZContentPack>&)
{
    return nullptr;
}

std::shared_ptr<NSIndexPath>
QZContentPackListSelectionViewController::indexPathForContentPack(const std::shared_ptr<QZContentPack>& pack) const
{
    const Packs& packs = currentInstalledContentPacks();
    auto it = std::find(packs.begin(), packs.end(), pack);
    if (!pack || it == packs.end()) return nullptr;
    return NSIndexPath::indexPathForRowInSection(NSInteger(it - packs.begin()), 0);
}

std::shared_ptr<QZContentPack>
QZContentPackListSelectionViewController::contentPackForIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const
{
    const Packs& packs = currentInstalledContentPacks();
    if (!indexPath || indexPath->row() < 0 || std::size_t(indexPath->row()) >= packs.size()) return nullptr;
    return packs[std::size_t(indexPath->row())];
}

void QZContentPackListSelectionViewController::didSelectContentPack(const std::shared_ptr<QZContentPack>& pack)
{
    if (!pack) return;
    if (pack->assetsAvailableForHighResUse())
        presentDetailSelectionViewControllerWithContentPack(pack, true);
    else
        presentDetailIAPViewControllerWithContentPack(pack);
}

NSInteger QZContentPackListSelectionViewController::selectionViewNumberOfRowsInSection(QZContentPackSelectionView*,
                                                                                       NSInteger)
{
    return NSInteger(currentInstalledContentPacks().size());
}

std::shared_ptr<UITableViewCell>
QZContentPackListSelectionViewController::selectionViewSelectionViewCellForRowAtIndexPath(
    QZContentPackSelectionView*, const std::shared_ptr<NSIndexPath>& indexPath)
{
    auto cell = cellForContentPack(contentPackForIndexPath(indexPath));
    if (shouldAnimateCells_)
        if (auto packCell = std::dynamic_pointer_cast<QZContentPackUnifiedSelectionViewCell>(cell))
            packCell->animateInWithDelay(0);
    return cell;
}

void QZContentPackListSelectionViewController::selectionViewDidSelectRowAtIndexPath(
    QZContentPackSelectionView*, const std::shared_ptr<NSIndexPath>& indexPath)
{
    didSelectContentPack(contentPackForIndexPath(indexPath));
}

// ---- View lifecycle ----

void QZContentPackListSelectionViewController::loadView()
{
    setCurrentInstalledContentPacks(installedContentPacks());
    setCurrentOfferedContentPacks({});
    QZContentPackIAPSelectionViewController::loadView();
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (!strip) return;
    indicatorView_ = UIActivityIndicatorView::indicatorWithStyle(UIActivityIndicatorViewStyleWhiteLarge);
    indicatorView_->setCenter(QZCGRectGetCenter(strip->bounds()));
    indicatorView_->setAutoresizingMask(QZUIViewAutoresizingFlexibleMargins);
    strip->addSubview(indicatorView_);
    // An empty strip is not always waiting for anything: with no update running there is
    // nothing to wait for, and the shelf's Get More is the way on.
    if (currentInstalledContentPacks().empty() && contentManager() && contentManager()->isUpdatingAssets()) {
        indicatorView_->startAnimating();
        stopSpinnerWhenLoaded();
    }
}

void QZContentPackListSelectionViewController::stopSpinnerWhenLoaded()
{
    if (!indicatorView_ || !indicatorView_->isAnimating()) return;
    if (!contentManager() || !contentManager()->isUpdatingAssets()) {
        indicatorView_->stopAnimating();
        return;
    }
    std::weak_ptr<QZContentPackListSelectionViewController> weakSelf = self<QZContentPackListSelectionViewController>();
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 500'000'000), dispatch_get_main_queue(), [weakSelf] {
        if (auto tool = weakSelf.lock()) tool->stopSpinnerWhenLoaded();
    });
}

void QZContentPackListSelectionViewController::viewWillAppear(bool animated)
{
    QZContentPackIAPSelectionViewController::viewWillAppear(animated);
    setZoomEnabled(false);
    // The list level has no Apply: the page's applies.
    customNavigationItem()->setRightBarButtonItem(nullptr);
}

void QZContentPackListSelectionViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                                double duration)
{
    setZoomEnabled(true);
    QZContentPackIAPSelectionViewController::willRotateToInterfaceOrientation(orientation, duration);
    if (contentPackDetailViewController_)
        contentPackDetailViewController_->willRotateToInterfaceOrientation(orientation, duration);
}

void QZContentPackListSelectionViewController::willAnimateRotationToInterfaceOrientation(
    UIInterfaceOrientation orientation, double duration)
{
    QZContentPackIAPSelectionViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    layoutSelectionViews();
    if (contentPackDetailViewController_)
        contentPackDetailViewController_->willAnimateRotationToInterfaceOrientation(orientation, duration);
}

void QZContentPackListSelectionViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZContentPackIAPSelectionViewController::didRotateFromInterfaceOrientation(orientation);
    setZoomEnabled(false);
    if (contentPackDetailViewController_)
        contentPackDetailViewController_->didRotateFromInterfaceOrientation(orientation);
}

void QZContentPackListSelectionViewController::layoutSelectionViews()
{
    const std::shared_ptr<QZContentPackDetailSelectionViewController> page = contentPackDetailViewController_;
    if (!page || !isViewLoaded()) return;
    const std::shared_ptr<UIView>& listView = view();
    CGRect frame = listView->frame();
    frame.origin.x = -frame.size.width;
    listView->setFrame(frame);
    listView->layoutIfNeeded();
    page->view()->setFrame(CGRectMake(CGRectGetMaxX(frame), frame.origin.y, frame.size.width, frame.size.height));
    if (page->selectionView()) page->selectionView()->layoutIfNeeded();
}

// ---- The page ----

std::shared_ptr<QZContentPackDetailSelectionViewController>
QZContentPackListSelectionViewController::createDetailViewControllerWithPack(const std::shared_ptr<QZContentPack>& pack,
                                                                             bool ownSelectionView)
{
    // The factory makes pages of the detail class only, so there is no other class to refuse.
    const QZContentPackDetailViewControllerFactory factory = detailViewControllerClass();
    std::shared_ptr<QZContentPackDetailSelectionViewController> page =
        factory ? factory(glInstance(), pack, ownSelectionView) : nullptr;
    if (!page) return nullptr;
    page->setTargetViewHeight(isViewLoaded() ? float(view()->bounds().size.height) : targetViewHeight());
    page->setStylesheet(stylesheet());
    page->setBordersEnabled(bordersEnabled());
    // The overlays need no copy: the page's getters answer this tool's.
    page->setScrollableImageView(scrollableImageView());
    auto me = self<QZContentPackListSelectionViewController>();
    page->setListViewController(me);
    page->setDelegate(std::static_pointer_cast<QZToolViewControllerDelegate>(me));
    return page;
}

void QZContentPackListSelectionViewController::presentDetailSelectionViewControllerWithContentPack(
    const std::shared_ptr<QZContentPack>& pack, bool)
{
    const std::shared_ptr<UIView>& listView = view();
    const std::shared_ptr<UIView> container = listView->superview();
    if (!container || contentPackDetailViewController_) return;
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    auto page = createDetailViewControllerWithPack(pack, true);
    if (!page) return;
    if (strip) strip->setUserInteractionEnabled(false);
    contentPackDetailViewController_ = page;

    const std::shared_ptr<UIView>& pageView = page->view();
    if (backButton()) backButton()->setEnabled(false);
    setPageButtonsEnabled(*page, false);
    pageView->setUserInteractionEnabled(false);
    const CGRect listFrame = listView->frame();
    pageView->setFrame(CGRectOffset(listFrame, listFrame.size.width, 0));
    pageView->setAutoresizingMask(listView->autoresizingMask());
    container->addSubview(pageView);
    page->viewWillAppear(true);

    auto bar = navigationBar();
    UIView::animateWithDuration(
        kSlideDuration,
        [&] {
            if (bar) bar->pushNavigationItem(page->navigationItem(), true);
            pageView->setFrame(listFrame);
            listView->setFrame(CGRectOffset(listFrame, -listFrame.size.width, 0));
        },
        [page](bool) {
            page->view()->setUserInteractionEnabled(true);
            setPageButtonsEnabled(*page, true);
            page->viewDidAppear(true);
        });
    QZAnalytics::reportEvent(NSStringWithFormat("%@ : opened", codeName(pack)), Value());
}

void QZContentPackListSelectionViewController::dismissDetailSelectionViewController()
{
    const std::shared_ptr<QZContentPackDetailSelectionViewController> page = contentPackDetailViewController_;
    if (!page) return;
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (strip) strip->setUserInteractionEnabled(false);
    setPageButtonsEnabled(*page, false);
    const std::shared_ptr<UIView>& pageView = page->view();
    pageView->setUserInteractionEnabled(false);
    if (auto container = pageView->superview()) container->bringSubviewToFront(pageView.get());
    std::shared_ptr<QZTableView> pageTable = page->selectionView() ? page->selectionView()->tableView() : nullptr;
    if (pageTable) {
        // Stopped where it is: a strip still decelerating would move under the slide.
        pageTable->setContentOffset(pageTable->contentOffset(), false);
        pageTable->setScrollEnabled(false);
    }
    page->viewWillDisappear(true);
    contentPackDetailViewController_.reset();

    const std::shared_ptr<UIView>& listView = view();
    const CGRect pageFrame = pageView->frame();
    auto bar = navigationBar();
    std::weak_ptr<QZContentPackListSelectionViewController> weakSelf = self<QZContentPackListSelectionViewController>();
    UIView::animateWithDuration(
        kSlideDuration,
        [&] {
            if (pageTable) pageTable->setAlpha(0);
            pageView->setFrame(CGRectOffset(pageFrame, pageFrame.size.width, 0));
            listView->setFrame(pageFrame);
            if (bar) bar->popNavigationItemAnimated(true);
        },
        [weakSelf, page](bool) {
            page->view()->removeFromSuperview();
            page->viewDidDisappear(true);
            auto tool = weakSelf.lock();
            if (!tool) return;
            if (tool->backButton()) tool->backButton()->setEnabled(true);
            if (tool->selectionView()) tool->selectionView()->setUserInteractionEnabled(true);
        });
}

void QZContentPackListSelectionViewController::toolControllerFinishedWithStatus(QZToolViewController* tool,
                                                                                QZToolViewControllerStatus status)
{
    const std::shared_ptr<QZContentPackDetailSelectionViewController> page = contentPackDetailViewController_;
    if (tool != page.get()) {
        NSLog("%s %@", "-[QZContentPackListSelectionViewController toolController:finishedWithStatus:]",
              "Unknown category controller");
        // Without a shown page there is nothing to finish: applying would end the tool with no
        // module and report a pack that was never opened.
        if (!page) return;
    }
    if (auto canvas = scrollableImageView()) canvas->setAllowsScaleUp(false);
    const std::string code = codeName(page->contentPack());
    if (status == QZToolViewControllerStatusCancelled) {
        if (auto gl = glInstance()) gl->renderIdentityImageWithCompletion(nullptr);
        dismissDetailSelectionViewController();
        QZAnalytics::reportEvent(NSStringWithFormat("%@ :cancelled", code), Value());
    } else if (status == QZToolViewControllerStatusApplied) {
        page->setDelegate({});
        contentPackDetailViewControllerOutputModule_ = page->outputModule();
        if (auto bar = navigationBar()) {
            std::vector<std::shared_ptr<UINavigationItem>> items = bar->items();
            std::erase(items, navigationItem());
            bar->setItems(items, false);
        }
        // Apply locks this tool's inputs as the tool base's Apply does.
        setApplyType(isQuickLaunch() ? QZToolViewControllerApplyTypeQuickLaunchDone
                                     : QZToolViewControllerApplyTypeStandard);
        detailControllerApplied(page.get());
        finishApplying();
        QZAnalytics::reportEvent(NSStringWithFormat("%@ :applied", code), Value());
    }
}

void QZContentPackListSelectionViewController::finishApplying()
{
    QZContentPackIAPSelectionViewController::finishApplying();
    if (!successfullyApplied()) return;
    const std::shared_ptr<QZContentPackDetailSelectionViewController> page = contentPackDetailViewController_;
    contentPackDetailViewController_.reset();
    if (!page || !page->isViewLoaded()) return;
    page->viewWillDisappear(false);
    page->view()->removeFromSuperview();
    page->viewDidDisappear(false);
}
