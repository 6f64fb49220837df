#include "TesselSDK/packs/QZContentPackDownloadUnifiedSelectionViewController.h"

#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackItem.h"

#include "Foundation/NSLog.h"

#include <algorithm>

bool QZContentPackDownloadUnifiedSelectionViewController::requiresSectionForOriginalItem()
{
    const Packs& packs = currentInstalledContentPacks();
    return !packs.empty() && !isReady(packs.front()) && std::any_of(packs.begin() + 1, packs.end(), isReady);
}

std::shared_ptr<QZContentPack>
QZContentPackDownloadUnifiedSelectionViewController::contentPackForIndexPath(const Path& indexPath) const
{
    return indexPath ? installedPackAtIndex(indexPath->section() - currentSectionShift()) : nullptr;
}

void QZContentPackDownloadUnifiedSelectionViewController::didSelectContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    if (pack) presentDetailIAPViewControllerWithContentPack(pack);
}

// ---- Places: the plain strip's, moved down one section behind an "Original" section ----

QZContentPackDownloadUnifiedSelectionViewController::Item
QZContentPackDownloadUnifiedSelectionViewController::contentPackItemForIndexPath(const Path& indexPath)
{
    if (!indexPath) return nullptr;
    const NSInteger shift = currentSectionShift();
    if (shift && indexPath->section() == 0) return indexPath->row() == 0 ? originalContentPackItem() : nullptr;
    return QZContentPackUnifiedSelectionViewController::contentPackItemForIndexPath(
        NSIndexPath::indexPathForRowInSection(indexPath->row(), indexPath->section() - shift));
}

QZContentPackDownloadUnifiedSelectionViewController::Path
QZContentPackDownloadUnifiedSelectionViewController::indexPathForContentPackItem(const Item& item)
{
    if (isOriginalItem(item)) return NSIndexPath::indexPathForRowInSection(0, 0);
    Path plain = QZContentPackUnifiedSelectionViewController::indexPathForContentPackItem(item);
    if (!plain) return nullptr;
    return NSIndexPath::indexPathForRowInSection(plain->row(), plain->section() + currentSectionShift());
}

// ---- The strip ----

NSInteger
QZContentPackDownloadUnifiedSelectionViewController::numberOfSectionsInSelectionView(QZContentPackSelectionView*)
{
    return NSInteger(currentInstalledContentPacks().size()) + currentSectionShift();
}

NSInteger QZContentPackDownloadUnifiedSelectionViewController::selectionViewNumberOfRowsInSection(
    QZContentPackSelectionView* view, NSInteger section)
{
    const NSInteger shift = currentSectionShift();
    if (shift && section == 0) return 1;
    std::shared_ptr<QZContentPack> pack = installedPackAtIndex(section - shift);
    if (!pack) return 0;
    if (!isReady(pack)) return 1;
    return QZContentPackUnifiedSelectionViewController::selectionViewNumberOfRowsInSection(view, section - shift);
}

std::shared_ptr<UITableViewCell>
QZContentPackDownloadUnifiedSelectionViewController::selectionViewSelectionViewCellForRowAtIndexPath(
    QZContentPackSelectionView*, const Path& indexPath)
{
    if (!indexPath) return nullptr;
    if (currentSectionShift() && indexPath->section() == 0) {
        const Item& original = originalContentPackItem();
        std::shared_ptr<QZContentPackUnifiedSelectionViewCell> cell =
            original ? cellForContentPackItem(original) : nullptr;
        if (cell && shouldAnimateSection() == 0) cell->animateInWithDelay(0);
        return cell;
    }
    std::shared_ptr<QZContentPack> pack = contentPackForIndexPath(indexPath);
    if (!pack) return nullptr;
    if (isReady(pack)) return itemCellAtIndexPath(indexPath);
    return cellForContentPack(pack);
}

void QZContentPackDownloadUnifiedSelectionViewController::selectionViewDidSelectRowAtIndexPath(
    QZContentPackSelectionView*, const Path& indexPath)
{
    if (!indexPath) return;
    if (currentSectionShift() && indexPath->section() == 0) {
        if (const Item& original = originalContentPackItem()) didSelectContentPackItem(original);
        return;
    }
    std::shared_ptr<QZContentPack> pack = contentPackForIndexPath(indexPath);
    if (!pack) return;
    if (isReady(pack) || indexPath->row() > 0) {
        if (Item item = contentPackItemForIndexPath(indexPath)) didSelectContentPackItem(item);
        return;
    }
    didSelectContentPack(pack);
}

std::string QZContentPackDownloadUnifiedSelectionViewController::selectionViewHeaderTitleForSection(
    QZContentPackSelectionView* view, NSInteger section)
{
    return QZContentPackUnifiedSelectionViewController::selectionViewHeaderTitleForSection(
        view, section - currentSectionShift());
}

// ---- The tool ----

void QZContentPackDownloadUnifiedSelectionViewController::viewDidLoad()
{
    // Known before the base's loading lays the strip out: the layout depends on it.
    setHasSectionForOriginalItem(requiresSectionForOriginalItem());
    QZContentPackUnifiedSelectionViewController::viewDidLoad();
}

void QZContentPackDownloadUnifiedSelectionViewController::viewWillAppear(bool animated)
{
    QZContentPackUnifiedSelectionViewController::viewWillAppear(animated);
    updateApplyButton();
}

void QZContentPackDownloadUnifiedSelectionViewController::updateApplyButton()
{
    const Packs& packs = currentInstalledContentPacks();
    const bool anyReady = std::any_of(packs.begin(), packs.end(), isReady);
    customNavigationItem()->setRightBarButtonItem(anyReady ? applyButton() : nullptr);
}

void QZContentPackDownloadUnifiedSelectionViewController::didFinishDownloadingContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    updateApplyButton();
    const Packs& packs = currentInstalledContentPacks();
    const auto found = std::find(packs.begin(), packs.end(), pack);
    if (found == packs.end()) {
        NSLog("%s %@", "-[QZContentPackDownloadUnifiedSelectionViewController didFinishDownloadingContentPack:]",
              "ContentPack not found");
        // The strip stays as it is; the store screens still hear that the download finished.
        QZContentPackUnifiedSelectionViewController::didFinishDownloadingContentPack(pack);
        return;
    }
    const NSInteger index = NSInteger(found - packs.begin());
    if (const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView()) {
        const std::shared_ptr<QZTableView> table = strip->tableView();
        const bool needsOriginalSection = requiresSectionForOriginalItem();
        const bool has = hasSectionForOriginalItem();
        // Deletions and reloads name sections as they were, insertions as they will be.
        table->beginUpdates();
        if (!has && needsOriginalSection) {
            table->insertSections({0}, UITableViewRowAnimationMiddle);
            table->reloadSections({0}, UITableViewRowAnimationMiddle);
            setHasSectionForOriginalItem(true);
            table->reloadSections({index}, UITableViewRowAnimationMiddle);
        } else if (has && !needsOriginalSection) {
            table->deleteSections({1}, UITableViewRowAnimationMiddle);
            table->reloadSections({0}, UITableViewRowAnimationMiddle);
            setHasSectionForOriginalItem(false);
        } else {
            table->reloadSections({index + currentSectionShift()}, UITableViewRowAnimationMiddle);
        }
        setShouldAnimateSection(index + currentSectionShift());
        table->endUpdates();
        // The update ends once its cells are made: the pack's fly in, later ones do not.
        table->layoutIfNeeded();
        setShouldAnimateSection(kNoSection);
    }
    if (!selectedItem()) selectRowAtIndexPath(NSIndexPath::indexPathForRowInSection(0, 0));
    QZContentPackUnifiedSelectionViewController::didFinishDownloadingContentPack(pack);
}
