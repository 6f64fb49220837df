#pragma once
// The Effects tool ("effects"): one strip of effect thumbnails, a section per installed effect
// pack with "Original" first. A chosen effect is previewed on the canvas through the editor's GL
// instance with a fresh seed; Apply hands that very module (seed included) to the session, so the
// result and every replay equal the preview. The store pages it opens render their effects with
// a generator of their own.

#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewController.h"

#include "CoreGraphics/CGGeometry.h"

#include <memory>
#include <string>

class QZEffectContentPackThumnailGenerator;
class QZModule;

class QZEffectContentPackUnifiedSelectionViewController : public QZContentPackUnifiedSelectionViewController {
public:
    static constexpr const char* kItemCellIdentifier =
        "QZEffectContentPackItemSelectionView_QZEffectContentPackItemSelectionViewCell";
    static constexpr const char* kPackCellIdentifier =
        "QZEffectContentPackItemSelectionView_QZEffectContentPackSelectionViewCell";
    // Points of a strip thumbnail's side, and of a store preview's on a phone and on a tablet.
    static constexpr CGFloat kThumbnailDimension = 64;
    static constexpr CGFloat kStorePreviewDimension = 85;
    static constexpr CGFloat kStorePreviewDimensionPad = 170;

    using QZContentPackUnifiedSelectionViewController::QZContentPackUnifiedSelectionViewController;

    // ---- Class values ----
    std::shared_ptr<const QZManagedObjectClass> contentPackClass() const override;
    std::shared_ptr<const QZManagedObjectClass> contentPackItemType() const override;
    std::string contentPackDescriptor() const override { return "Effects"; }
    std::string customizationKeyPath() const override;
    std::string editButtonConfirmationPrompt() const override;

    // A square of `dimension` points in pixels of the main screen.
    static CGSize thumbnailWithDimension(CGFloat dimension);

    const std::string& effectKey() const { return effectKey_; }
    const std::shared_ptr<QZModule>& effectModule() const { return effectModule_; }
    const std::shared_ptr<QZEffectContentPackThumnailGenerator>& thumbnailGenerator() const
    {
        return thumbnailGenerator_;
    }
    const std::shared_ptr<QZEffectContentPackThumnailGenerator>& storePreviewGenerator() const
    {
        return storePreviewGenerator_;
    }
    // The store pages' generator, 85 points (170 on a tablet) on the tool's GL instance.
    void setupStorePreviewGenerator();

    // ---- The strip ----
    std::shared_ptr<QZContentPackUnifiedSelectionViewCell> cellForContentPackItem(const Item& item) override;
    std::shared_ptr<QZContentPackUnifiedSelectionViewCell>
    cellForContentPack(const std::shared_ptr<QZContentPack>& pack);
    // Not ready to apply from here until the preview has been presented; an Apply pressed meanwhile
    // completes then.
    void displayPreviewForContentPackItem(const Item& item) override;

    // ---- The tool ----
    // The last previewed module; nil when nothing was previewed.
    std::shared_ptr<QZModule> outputModule() override { return effectModule_; }
    bool editButttonShouldPrompt() const override;
    bool supportsViewOriginalWithTouch() const override { return true; }
    // The base's, then the strip's thumbnail generator and a reload that asks it for every cell.
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    // The generators and their caches go, then the base's.
    void viewWillDisappear(bool animated) override;

    // ---- The store ----
    std::shared_ptr<QZContentPackListIAPViewController> loadListIAPViewControllerWithPacks(Packs packs) override;
    std::shared_ptr<QZContentPackDetailIAPViewController>
    loadDetailIAPViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack) override;
    // The base's, then the screen is reported again.
    void retractIAPViewController() override;
    // The base's install, then every item's thumbnail asked for, so the strip finds them cached.
    void listIAPViewControllerBeganInstallingPack(QZContentPackListIAPViewController* list,
                                                  const std::shared_ptr<QZContentPack>& pack) override;
    void detailIAPViewControllerBeganInstalling(QZContentPackDetailIAPViewController* page,
                                                const std::shared_ptr<QZContentPack>& pack) override;

private:
    void warmThumbnailsForContentPack(const std::shared_ptr<QZContentPack>& pack);

    std::string effectKey_;
    std::shared_ptr<QZModule> effectModule_;
    std::shared_ptr<QZEffectContentPackThumnailGenerator> thumbnailGenerator_;
    std::shared_ptr<QZEffectContentPackThumnailGenerator> storePreviewGenerator_;
};
