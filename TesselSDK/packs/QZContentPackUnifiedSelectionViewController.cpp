#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewController.h"

#include "TesselSDK/packs/QZContentAppliedNotification.h"
#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

#include "TesselSDKFoundation/QZAnalytics.h"

#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"

namespace {
// Seconds between the fly-ins of a section's cells.
constexpr double kFlyInStep = 0.15;
constexpr const char* kOriginalIdentifier = "original";
}  // namespace

// ---- Items and their places ----

std::shared_ptr<QZContentPack> QZContentPackUnifiedSelectionViewController::installedPackAtIndex(NSInteger index) const
{
    const Packs& packs = currentInstalledContentPacks();
    return index >= 0 && std::size_t(index) < packs.size() ? packs[std::size_t(index)] : nullptr;
}

bool QZContentPackUnifiedSelectionViewController::isReady(const std::shared_ptr<QZContentPack>& pack)
{
    return pack && pack->assetsAvailableForHighResUse();
}

const QZContentPackUnifiedSelectionViewController::Item&
QZContentPackUnifiedSelectionViewController::originalContentPackItem()
{
    if (originalContentPackItem_) return originalContentPackItem_;
    std::shared_ptr<const QZManagedObjectClass> itemType = contentPackItemType();
    std::shared_ptr<NSManagedObjectContext> context = contentManager()->contentPackManagedObjectContext();
    if (itemType && context) {
        const Value original =
            Value::dictionary({{"identifier", kOriginalIdentifier}, {"displayName", "Original"}, {"index", -1}});
        originalContentPackItem_ =
            std::dynamic_pointer_cast<QZContentPackItem>(itemType->updateOrCreateWithDictionary(original, *context));
    }
    if (!originalContentPackItem_)
        NSLog("%s %@", "-[QZContentPackUnifiedSelectionViewController originalContentPackItem]",
              "Expected non-nil 'original' effect pack item.");
    return originalContentPackItem_;
}

QZContentPackUnifiedSelectionViewController::Item
QZContentPackUnifiedSelectionViewController::contentPackItemForIndexPath(const Path& indexPath)
{
    if (!indexPath) return nullptr;
    std::shared_ptr<QZContentPack> pack = installedPackAtIndex(indexPath->section());
    if (!pack) return nullptr;
    NSInteger row = indexPath->row();
    if (indexPath->section() == 0) {
        if (row == 0) return originalContentPackItem();
        --row;
    }
    const std::vector<Item> items = pack->orderedItems();
    return row >= 0 && std::size_t(row) < items.size() ? items[std::size_t(row)] : nullptr;
}

QZContentPackUnifiedSelectionViewController::Path
QZContentPackUnifiedSelectionViewController::indexPathForContentPackItem(const Item& item)
{
    if (!item) return nullptr;
    if (isOriginalItem(item)) return NSIndexPath::indexPathForRowInSection(0, 0);
    const Packs& packs = currentInstalledContentPacks();
    for (std::size_t section = 0; section < packs.size(); ++section) {
        const std::vector<Item> items = packs[section]->orderedItems();
        for (std::size_t row = 0; row < items.size(); ++row)
            if (items[row] == item)
                return NSIndexPath::indexPathForRowInSection(NSInteger(row) + (section == 0 ? 1 : 0),
                                                             NSInteger(section));
    }
    return nullptr;
}

std::shared_ptr<QZContentPackUnifiedSelectionViewCell>
QZContentPackUnifiedSelectionViewController::visibleCellAtIndexPath(const Path& indexPath) const
{
    if (!indexPath || !selectionView()) return nullptr;
    return std::dynamic_pointer_cast<QZContentPackUnifiedSelectionViewCell>(
        selectionView()->tableView()->cellForRowAtIndexPath(indexPath));
}

// ---- Choosing ----

void QZContentPackUnifiedSelectionViewController::selectRowAtIndexPath(const Path& indexPath)
{
    if (!indexPath) return;
    // The pack at the path's section as it stands in the snapshot: with an "Original" section
    // first, (0, 0) asks about the first pack, which is not ready, so nothing is chosen at first.
    // No pack there (an emptied store) chooses nothing.
    if (!isReady(installedPackAtIndex(indexPath->section()))) return;
    if (selectionView())
        selectionView()->tableView()->selectRowAtIndexPath(indexPath, true, UITableViewScrollPositionNone);
    if (Item item = contentPackItemForIndexPath(indexPath)) didSelectContentPackItem(item);
}

void QZContentPackUnifiedSelectionViewController::didSelectContentPackItem(const Item& item)
{
    if (!item) return;
    if (item == selectedItem_) {
        // A second tap on an item goes back to the unedited picture.
        if (!isOriginalItem(item)) {
            const Item& original = originalContentPackItem();
            setSelectedItem(original);
            if (original) displayPreviewForContentPackItem(original);
        }
    } else {
        setSelectedItem(item);
        displayPreviewForContentPackItem(item);
    }
    if (selectedItem_)
        QZAnalytics::reportEvent(NSStringWithFormat("%@ :selected", selectedItem_->identifier()), Value());
}

void QZContentPackUnifiedSelectionViewController::setSelectedItem(Item item)
{
    if (auto cell = visibleCellAtIndexPath(indexPathForContentPackItem(selectedItem_))) cell->setActive(false, true);
    if (auto cell = visibleCellAtIndexPath(indexPathForContentPackItem(item))) cell->setActive(true, true);
    selectedItem_ = std::move(item);
}

// ---- The strip ----

NSInteger QZContentPackUnifiedSelectionViewController::numberOfSectionsInSelectionView(QZContentPackSelectionView*)
{
    return NSInteger(currentInstalledContentPacks().size());
}

NSInteger QZContentPackUnifiedSelectionViewController::selectionViewNumberOfRowsInSection(QZContentPackSelectionView*,
                                                                                          NSInteger section)
{
    std::shared_ptr<QZContentPack> pack = installedPackAtIndex(section);
    if (!pack) return 0;
    return NSInteger(pack->orderedItems().size()) + (section == 0 ? 1 : 0);
}

std::shared_ptr<UITableViewCell> QZContentPackUnifiedSelectionViewController::itemCellAtIndexPath(const Path& indexPath)
{
    Item item = contentPackItemForIndexPath(indexPath);
    if (!item) return nullptr;
    std::shared_ptr<QZContentPackUnifiedSelectionViewCell> cell = cellForContentPackItem(item);
    if (cell && indexPath->section() == shouldAnimateSection_)
        cell->animateInWithDelay(double(indexPath->row() + 1) * kFlyInStep);
    return cell;
}

std::shared_ptr<UITableViewCell>
QZContentPackUnifiedSelectionViewController::selectionViewSelectionViewCellForRowAtIndexPath(
    QZContentPackSelectionView*, const Path& indexPath)
{
    return itemCellAtIndexPath(indexPath);
}

void QZContentPackUnifiedSelectionViewController::selectionViewDidSelectRowAtIndexPath(QZContentPackSelectionView*,
                                                                                       const Path& indexPath)
{
    if (Item item = contentPackItemForIndexPath(indexPath)) didSelectContentPackItem(item);
}

bool QZContentPackUnifiedSelectionViewController::selectionViewHasHeaderInSection(QZContentPackSelectionView*,
                                                                                  NSInteger section)
{
    return section != 0;
}

std::string QZContentPackUnifiedSelectionViewController::selectionViewHeaderTitleForSection(QZContentPackSelectionView*,
                                                                                            NSInteger section)
{
    std::shared_ptr<QZContentPack> pack = installedPackAtIndex(section);
    return pack ? pack->valueForKey("displayName").stringValue() : std::string();
}

void QZContentPackUnifiedSelectionViewController::selectionViewDidEndScrollingAnimation(QZContentPackSelectionView*)
{
    shouldAnimateSection_ = kNoSection;
}

// ---- The tool ----

void QZContentPackUnifiedSelectionViewController::loadView()
{
    setCurrentInstalledContentPacks(installedContentPacks());
    setCurrentOfferedContentPacks({});
    shouldAnimateSection_ = kNoSection;
    QZContentPackIAPSelectionViewController::loadView();
}

void QZContentPackUnifiedSelectionViewController::viewWillAppear(bool animated)
{
    QZContentPackIAPSelectionViewController::viewWillAppear(animated);
    selectRowAtIndexPath(NSIndexPath::indexPathForRowInSection(0, 0));
}

void QZContentPackUnifiedSelectionViewController::applyButtonPressed()
{
    // Only an Apply that the base acts on announces the content: not a second press while one
    // waits, nor one after Back.
    const bool applies = !wasBackButtonPressed() && !successfullyApplied() && applyType() == 0;
    if (applies && selectedItem_ && !isOriginalItem(selectedItem_)) {
        std::shared_ptr<QZContentPack> pack = selectedItem_->pack();
        NSNotificationCenter::defaultCenter()->postNotificationName(
            QZContentAppliedNotification, nullptr,
            Value::dictionary({{kQZContentPackType, pack ? pack->packType() : std::string()},
                               {kQZContentPackIdentifier, pack ? pack->identifier() : std::string()},
                               {kQZContentItemIdentifier, selectedItem_->identifier()}}));
    }
    QZContentPackIAPSelectionViewController::applyButtonPressed();
}

void QZContentPackUnifiedSelectionViewController::reportApplied()
{
    const std::string item = selectedItem_ ? selectedItem_->identifier() : std::string("unknown");
    std::shared_ptr<QZContentPack> pack = selectedItem_ ? selectedItem_->pack() : nullptr;
    QZAnalytics::reportEvent(NSStringWithFormat("%@ :applied", item), Value());
    QZAnalytics::reportEvent(
        NSStringWithFormat("%@ :applied", contentPackDescriptor()),
        Value::dictionary({{"pack", pack ? pack->valueForKey("codeName").stringValue() : std::string("originalImage")},
                           {"item", item}}));
}
