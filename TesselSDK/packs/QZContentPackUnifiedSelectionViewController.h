#pragma once
// The pack tools whose strip shows ITEMS: one section per installed pack (as the view loaded them),
// a synthetic "Original" item (no edit) at the head of the first section, one selected item with
// its cell raised, a preview of every choice, and on Apply the content-applied notification for
// the host. The concrete tools make the cells and the previews through the hooks below.
//
// The "Original" item is a stored record of the tool's item type with identifier "original" and
// index -1, belonging to no pack; it is found again by its identifier on every later opening.

#include "TesselSDK/packs/QZContentPackIAPSelectionViewController.h"

#include "Foundation/NSIndexPath.h"

#include <memory>
#include <string>

class QZContentPackItem;
class QZContentPackUnifiedSelectionViewCell;

class QZContentPackUnifiedSelectionViewController : public QZContentPackIAPSelectionViewController {
public:
    using Path = std::shared_ptr<NSIndexPath>;
    using Item = std::shared_ptr<QZContentPackItem>;
    // Cells of the section at this index fly in one after another when next made; -1 for none.
    static constexpr NSInteger kNoSection = -1;

    using QZContentPackIAPSelectionViewController::QZContentPackIAPSelectionViewController;

    // ---- Class values ----
    // The record class of the "Original" item; none here.
    virtual std::shared_ptr<const QZManagedObjectClass> contentPackItemType() const { return nullptr; }

    // ---- Items and their places ----
    const Item& selectedItem() const { return selectedItem_; }
    // The cells of the old and the new selection are lowered and raised; then the item is kept.
    virtual void setSelectedItem(Item item);
    // Made (or found again) on first use in the main-queue context; nil, logged, when it cannot be.
    const Item& originalContentPackItem();
    // Against the item made so far: an item can only be it once it exists.
    bool isOriginalItem(const Item& item) const { return item && item == originalContentPackItem_; }
    bool hasSectionForOriginalItem() const { return hasSectionForOriginalItem_; }
    NSInteger shouldAnimateSection() const { return shouldAnimateSection_; }
    virtual bool requiresSectionForOriginalItem() { return false; }
    // The installed pack at a section of the snapshot, nil outside it.
    std::shared_ptr<QZContentPack> installedPackAtIndex(NSInteger index) const;
    // Whether a pack's items can be used now (its high-resolution assets are there).
    static bool isReady(const std::shared_ptr<QZContentPack>& pack);

    // Row 0 of section 0 is "Original"; the first pack's items follow it, later packs have their
    // own sections. Nil or no path where nothing is.
    virtual Item contentPackItemForIndexPath(const Path& indexPath);
    virtual Path indexPathForContentPackItem(const Item& item);

    // Selects the row and the item there, but only when the installed pack at the path's section
    // can be used; nothing when there is no pack there.
    virtual void selectRowAtIndexPath(const Path& indexPath);
    // A second tap on the selected item returns to "Original"; the choice is previewed and reported.
    virtual void didSelectContentPackItem(const Item& item);

    // ---- Hooks of the concrete tools ----
    virtual std::shared_ptr<QZContentPackUnifiedSelectionViewCell> cellForContentPackItem(const Item&)
    {
        return nullptr;
    }
    virtual void displayPreviewForContentPackItem(const Item&) {}

    // ---- The strip ----
    NSInteger numberOfSectionsInSelectionView(QZContentPackSelectionView* view) override;
    NSInteger selectionViewNumberOfRowsInSection(QZContentPackSelectionView* view, NSInteger section) override;
    std::shared_ptr<UITableViewCell> selectionViewSelectionViewCellForRowAtIndexPath(QZContentPackSelectionView* view,
                                                                                     const Path& indexPath) override;
    void selectionViewDidSelectRowAtIndexPath(QZContentPackSelectionView* view, const Path& indexPath) override;
    bool selectionViewHasHeaderInSection(QZContentPackSelectionView* view, NSInteger section) override;
    std::string selectionViewHeaderTitleForSection(QZContentPackSelectionView* view, NSInteger section) override;
    void selectionViewDidEndScrollingAnimation(QZContentPackSelectionView* view) override;

    // ---- The tool ----
    // The snapshot of installed packs, then the base's view with its strip.
    void loadView() override;
    // Selects (0, 0): "Original", when the first pack can be used.
    void viewWillAppear(bool animated) override;
    // The content-applied notification for a chosen item (not "Original"), then the base's apply.
    void applyButtonPressed() override;
    // "<item> :applied", then "<descriptor> :applied" with the pack's code name and the item.
    void reportApplied() override;

protected:
    void setHasSectionForOriginalItem(bool has) { hasSectionForOriginalItem_ = has; }
    void setShouldAnimateSection(NSInteger section) { shouldAnimateSection_ = section; }
    // The cell at a path of the strip while it is on screen.
    std::shared_ptr<QZContentPackUnifiedSelectionViewCell> visibleCellAtIndexPath(const Path& indexPath) const;
    // The cell of the item at a path of the strip, flying in when its section is the one to animate.
    std::shared_ptr<UITableViewCell> itemCellAtIndexPath(const Path& indexPath);

private:
    Item selectedItem_;
    Item originalContentPackItem_;
    bool hasSectionForOriginalItem_ = false;
    NSInteger shouldAnimateSection_ = kNoSection;
};
