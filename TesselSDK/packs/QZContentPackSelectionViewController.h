#pragma once
// The base of the pack tools (effects, frames, stickers): a tool screen owning one selection strip
// and answering the strip with empty defaults. The root screen may ask it, before it is shown, to
// open one pack's store page when it appears; the pack-aware tool below opens it, this base keeps
// it.

#include "TesselSDK/packs/QZContentPackSelectionView.h"
#include "TesselSDK/shell/QZToolViewController.h"

#include "CoreData/NSFetchedResultsController.h"

#include <memory>

class QZContentPack;

class QZContentPackSelectionViewController : public QZToolViewController, public QZContentPackSelectionViewDelegate {
public:
    using QZToolViewController::QZToolViewController;
    using QZToolViewController::initWithGLInstance;

    // Makes the strip when the view loads.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance) override;
    // `selectionView` NO: the tool is handed a strip instead (an in-tool page of one pack).
    virtual bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, bool selectionView);

    const std::shared_ptr<QZContentPackSelectionView>& selectionView() const { return selectionView_; }
    // Also makes this tool the strip's delegate.
    void setSelectionView(std::shared_ptr<QZContentPackSelectionView> view);
    bool shouldAllocateSelectionView() const { return shouldAllocateSelectionView_; }
    // Made by the pack-aware tools; none here.
    virtual std::shared_ptr<NSFetchedResultsController> fetchedResultsController() { return fetchedResultsController_; }

    // Keeps the pack; the pack-aware tool opens its store page.
    virtual void presentDetaiIAPViewControllerOnAppearanceWithContentPack(std::shared_ptr<QZContentPack> pack);
    const std::shared_ptr<QZContentPack>& contentPackToPresentOnAppearance() const { return packToLaunch_; }

    // The strip over the view's bounds (the target height while they have none), resizing across.
    void loadView() override;
    // The strip fades out over 0.3 s and the canvas zooms out.
    void viewWillDisappear(bool animated) override;

    // ---- The strip's questions: nothing here ----
    NSInteger numberOfSectionsInSelectionView(QZContentPackSelectionView*) override { return 0; }
    NSInteger selectionViewNumberOfRowsInSection(QZContentPackSelectionView*, NSInteger) override { return 0; }
    std::shared_ptr<UITableViewCell>
    selectionViewSelectionViewCellForRowAtIndexPath(QZContentPackSelectionView*,
                                                    const std::shared_ptr<NSIndexPath>&) override
    {
        return nullptr;
    }
    void selectionViewDidSelectRowAtIndexPath(QZContentPackSelectionView*, const std::shared_ptr<NSIndexPath>&) override
    {
    }
    bool selectionViewHasHeaderInSection(QZContentPackSelectionView*, NSInteger) override { return false; }
    std::string selectionViewHeaderTitleForSection(QZContentPackSelectionView*, NSInteger) override { return ""; }
    NSInteger numberOfRowsInFeaturedTrayInSelectionView(QZContentPackSelectionView*) override { return 0; }

protected:
    std::shared_ptr<NSFetchedResultsController> fetchedResultsController_;
    std::shared_ptr<QZContentPack> packToLaunch_;

private:
    std::shared_ptr<QZContentPackSelectionView> selectionView_;
    bool shouldAllocateSelectionView_ = true;
};
