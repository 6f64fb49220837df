#include "TesselSDK/packs/QZContentPackListIAPViewController.h"

#include "TesselSDK/packs/QZContentPackListIAPViewLoadingCell.h"
#include "TesselSDK/packs/QZContentPackStoreStyle.h"
#include "TesselSDK/packs/QZDropdownIAPContainerView.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/shell/QZNavigationItemButton.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

#include "Foundation/NSFoundationVersion.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"

#include <algorithm>

namespace {
// The first system whose tables take separator insets.
constexpr double kSeparatorInsetsFoundationVersion = NSFoundationVersionNumber_iOS_6_1;

std::string codeName(const std::shared_ptr<QZContentPack>& pack)
{
    return pack ? pack->valueForKey("codeName").stringValue() : std::string();
}
}  // namespace

bool QZContentPackListIAPViewController::initWithPacks(Packs packs)
{
    if (!init()) return false;
    packs_ = std::move(packs);
    return true;
}

std::shared_ptr<QZContentPackDetailIAPViewController>
QZContentPackListIAPViewController::loadDetailViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack)
{
    return QZContentPackDetailIAPViewController::makeWithType(QZContentPackDetailIAPViewControllerTypeList, pack);
}

void QZContentPackListIAPViewController::loadView()
{
    auto container = UIView::viewWithFrame<QZDropdownIAPContainerView>(UIScreen::mainScreen()->bounds());
    setView(container);
    tableView_ = UIView::viewWithFrame<UITableView>();
    auto list = self<QZContentPackListIAPViewController>();
    tableView_->setDataSource(std::static_pointer_cast<UITableViewDataSource>(list));
    tableView_->setDelegate(std::static_pointer_cast<UITableViewDelegate>(list));
    if (NSFoundationVersionNumber() > kSeparatorInsetsFoundationVersion &&
        !QZPhotoEditorCustomization::optionValueForKey("editor.usingIOS6SDK").boolValue())
        tableView_->setSeparatorInset(UIEdgeInsetsZero);
    auto background = UIView::viewWithFrame<QZView>();
    background->setBackgroundColor(QZStoreBackgroundColor());
    tableView_->setBackgroundView(background);
    tableHasLoadingRow_ = displayingFetchingMessage_;
    container->setTableView(tableView_);
}

void QZContentPackListIAPViewController::viewDidLoad()
{
    QZViewController::viewDidLoad();
    setTitle(typeDescriptor() + " " + QZLocalizedString("Store"));
    const auto& item = customNavigationItem();
    item->setTitle(title());
    item->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextColor"));
    item->setTextShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextShadowColor"));
    auto button = QZNavigationItemButton::buttonWithTitle(QZLocalizedString("Close"), QZNavigationItemButtonStyleCancel,
                                                          self<QZContentPackListIAPViewController>(),
                                                          &QZContentPackListIAPViewController::doneButtonPressed);
    closeButton_ = UIBarButtonItem::makeWithCustomView(button);
    item->setLeftBarButtonItem(closeButton_);
}

std::shared_ptr<QZContentPack> QZContentPackListIAPViewController::packForRow(NSInteger row) const
{
    const NSInteger index = row - (tableHasLoadingRow_ ? 1 : 0);
    if (index < 0 || index >= NSInteger(packs_.size())) return nullptr;
    return packs_[std::size_t(index)];
}

NSInteger QZContentPackListIAPViewController::tableViewNumberOfRowsInSection(UITableView*, NSInteger)
{
    return NSInteger(packs_.size()) + (tableHasLoadingRow_ ? 1 : 0);
}

std::shared_ptr<UITableViewCell>
QZContentPackListIAPViewController::tableViewCellForRowAtIndexPath(UITableView* tableView,
                                                                   const std::shared_ptr<NSIndexPath>& indexPath)
{
    std::shared_ptr<QZContentPack> pack = packForRow(indexPath->row());
    if (!pack) {
        auto cell = tableView->dequeueReusableCellWithIdentifier(kQZContentPackListLoadingCellIdentifier);
        if (!cell)
            cell = UITableViewCell::cellWithStyle<QZContentPackListIAPViewLoadingCell>(
                UITableViewCellStyleDefault, kQZContentPackListLoadingCellIdentifier);
        return cell;
    }
    auto cell = std::dynamic_pointer_cast<QZContentPackListIAPViewProductCell>(
        tableView->dequeueReusableCellWithIdentifier(kQZContentPackListProductCellIdentifier));
    if (!cell)
        cell = UITableViewCell::cellWithStyle<QZContentPackListIAPViewProductCell>(
            UITableViewCellStyleSubtitle, kQZContentPackListProductCellIdentifier);
    cell->setDelegate(std::static_pointer_cast<QZContentPackListIAPViewProductCellDelegate>(
        self<QZContentPackListIAPViewController>()));
    cell->setCellColor(indexPath->row() % 2);
    cell->setContentPack(pack);
    return cell;
}

void QZContentPackListIAPViewController::tableViewDidSelectRowAtIndexPath(UITableView*,
                                                                          const std::shared_ptr<NSIndexPath>& indexPath)
{
    std::shared_ptr<QZContentPack> pack = packForRow(indexPath->row());
    if (!pack) return;
    auto page = loadDetailViewControllerWithContentPack(pack);
    if (!page) {
        NSLog("%s %@", "-[QZContentPackListIAPViewController tableView:didSelectRowAtIndexPath:]",
              "expected non-nil detail IAP View controller");
        return;
    }
    page->setDelegate(std::static_pointer_cast<QZContentPackDetailIAPViewControllerDelegate>(
        self<QZContentPackListIAPViewController>()));
    detailViewController_ = page;
    if (auto navigation = navigationController()) navigation->pushViewController(page, true);
    QZAnalytics::reportEvent(NSStringWithFormat("ListView(%@) :selected", codeName(pack)), Value());
}

void QZContentPackListIAPViewController::doneButtonPressed()
{
    if (auto delegate = delegate_.lock()) delegate->listIAPViewControllerFinished(this);
    QZAnalytics::reportEvent(NSStringWithFormat("ListView(%@) :closed", typeDescriptor()), Value());
}

void QZContentPackListIAPViewController::listIAPCellBeganInstalling(QZContentPackListIAPViewProductCell*,
                                                                    const std::shared_ptr<QZContentPack>& pack)
{
    if (auto delegate = delegate_.lock()) delegate->listIAPViewControllerBeganInstallingPack(this, pack);
    QZAnalytics::reportEvent(NSStringWithFormat("ListView(%@) :Installed", codeName(pack)), Value());
}

void QZContentPackListIAPViewController::detailIAPViewControllerBeganInstalling(
    QZContentPackDetailIAPViewController*, const std::shared_ptr<QZContentPack>& pack)
{
    if (auto delegate = delegate_.lock()) delegate->listIAPViewControllerBeganInstallingPack(this, pack);
}

void QZContentPackListIAPViewController::updatePacks(Packs packs)
{
    if (!tableView_) {
        packs_ = std::move(packs);
        return;
    }
    const bool oldLoading = tableHasLoadingRow_;
    const bool newLoading = displayingFetchingMessage_;
    const std::size_t oldCount = packs_.size();
    const std::size_t newCount = packs.size();
    const std::size_t common = std::min(oldCount, newCount);
    const auto path = [](NSInteger row) { return NSIndexPath::indexPathForRowInSection(row, 0); };
    NSIndexPaths reloaded, deleted, inserted;
    // Deletions and reloads name rows as they were, insertions as they will be.
    for (std::size_t i = 0; i < common; ++i) reloaded.push_back(path(NSInteger(i) + (oldLoading ? 1 : 0)));
    for (std::size_t i = common; i < oldCount; ++i) deleted.push_back(path(NSInteger(i) + (oldLoading ? 1 : 0)));
    for (std::size_t i = common; i < newCount; ++i) inserted.push_back(path(NSInteger(i) + (newLoading ? 1 : 0)));
    if (oldLoading && !newLoading) deleted.push_back(path(0));
    if (!oldLoading && newLoading) inserted.push_back(path(0));

    tableView_->beginUpdates();
    if (!deleted.empty()) tableView_->deleteRowsAtIndexPaths(deleted, UITableViewRowAnimationMiddle);
    if (!inserted.empty()) tableView_->insertRowsAtIndexPaths(inserted, UITableViewRowAnimationMiddle);
    if (!reloaded.empty()) tableView_->reloadRowsAtIndexPaths(reloaded, UITableViewRowAnimationNone);
    packs_ = std::move(packs);
    tableHasLoadingRow_ = newLoading;
    tableView_->endUpdates();
    if (detailViewController_) detailViewController_->reloadData();
}

std::shared_ptr<QZContentPackListIAPViewProductCell>
QZContentPackListIAPViewController::productCellForContentPack(const std::shared_ptr<QZContentPack>& pack)
{
    if (!pack || !tableView_) return nullptr;
    for (std::size_t i = 0; i < packs_.size(); ++i) {
        if (packs_[i] != pack && packs_[i]->identifier() != pack->identifier()) continue;
        return std::dynamic_pointer_cast<QZContentPackListIAPViewProductCell>(
            tableView_->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(rowForPackIndex(i), 0)));
    }
    return nullptr;
}

void QZContentPackListIAPViewController::beganDownloadingPack(const std::shared_ptr<QZContentPack>& pack)
{
    if (detailViewController_) detailViewController_->beganDownloading();
    if (auto cell = productCellForContentPack(pack)) cell->refresh();
}

void QZContentPackListIAPViewController::updatedDownloadProgressForContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    if (detailViewController_) detailViewController_->updateDownloadProgress();
    if (auto cell = productCellForContentPack(pack)) cell->refresh();
}

void QZContentPackListIAPViewController::finishedDownloadingContentPack(const std::shared_ptr<QZContentPack>& pack)
{
    if (detailViewController_) detailViewController_->finishedDownloading();
    if (auto cell = productCellForContentPack(pack)) cell->refresh();
}
