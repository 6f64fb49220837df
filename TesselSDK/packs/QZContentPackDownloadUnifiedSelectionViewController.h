#pragma once
// The item strip for packs that must be downloaded before their items can be used: a pack without
// its high-resolution assets shows as one download cell (a tap opens its store page), and its
// items take that cell's place, flying in, when its download finishes. While the first pack is
// not ready but a later one is, "Original" has a section of its own before every pack, and the
// strip's sections are the packs' shifted by one.

#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewController.h"

class QZContentPackDownloadUnifiedSelectionViewController : public QZContentPackUnifiedSelectionViewController {
public:
    using QZContentPackUnifiedSelectionViewController::QZContentPackUnifiedSelectionViewController;

    // Hook: the download cell of a pack; none here.
    virtual std::shared_ptr<QZContentPackUnifiedSelectionViewCell>
    cellForContentPack(const std::shared_ptr<QZContentPack>&)
    {
        return nullptr;
    }
    // 1 while "Original" has its own section, else 0.
    NSInteger currentSectionShift() const { return hasSectionForOriginalItem() ? 1 : 0; }
    // YES when the first installed pack is not ready and a later one is.
    bool requiresSectionForOriginalItem() override;
    std::shared_ptr<QZContentPack> contentPackForIndexPath(const Path& indexPath) const;
    // Opens the pack's store page, where it can be downloaded.
    virtual void didSelectContentPack(const std::shared_ptr<QZContentPack>& pack);

    Item contentPackItemForIndexPath(const Path& indexPath) override;
    Path indexPathForContentPackItem(const Item& item) override;

    NSInteger numberOfSectionsInSelectionView(QZContentPackSelectionView* view) override;
    NSInteger selectionViewNumberOfRowsInSection(QZContentPackSelectionView* view, NSInteger section) override;
    std::shared_ptr<UITableViewCell> selectionViewSelectionViewCellForRowAtIndexPath(QZContentPackSelectionView* view,
                                                                                     const Path& indexPath) override;
    void selectionViewDidSelectRowAtIndexPath(QZContentPackSelectionView* view, const Path& indexPath) override;
    std::string selectionViewHeaderTitleForSection(QZContentPackSelectionView* view, NSInteger section) override;

    void viewDidLoad() override;
    // The plain strip's, then the Apply button only while some installed pack is ready.
    void viewWillAppear(bool animated) override;
    // The pack's section turns into its items in one checked update of the strip, "Original"
    // gaining or losing its own section on the way; then the store screens hear of it.
    void didFinishDownloadingContentPack(const std::shared_ptr<QZContentPack>& pack) override;

private:
    void updateApplyButton();
};
