#pragma once
// The Frames tool ("frames"): the frames of every installed frame pack in one strip (a pack still
// to download shows as one download cell), a chosen frame previewed by drawing its eight editing
// pieces around the picture, and on Apply a module that draws the same frame from the
// full-resolution pieces, for the session to replay on the full-size photo.

#include "TesselSDK/packs/QZContentPackDownloadUnifiedSelectionViewController.h"

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include <memory>
#include <string>

class QZFrameContentPackItem;

class QZFrameContentPackUnifiedSelectionViewController : public QZContentPackDownloadUnifiedSelectionViewController {
public:
    // The frames strip keeps the effects strip's reuse identifier for all its cells.
    static constexpr const char* kCellIdentifier =
        "QZEffectContentPackItemSelectionView_QZEffectContentPackItemSelectionViewCell";

    using QZContentPackDownloadUnifiedSelectionViewController::QZContentPackDownloadUnifiedSelectionViewController;

    // ---- Class values ----
    std::shared_ptr<const QZManagedObjectClass> contentPackClass() const override;
    std::shared_ptr<const QZManagedObjectClass> contentPackItemType() const override;
    std::string contentPackDescriptor() const override { return "Frames"; }
    std::string customizationKeyPath() const override;
    // The canvas keeps its own transform and zoom while the tool is up.
    bool usesStaticImageView() const override { return false; }
    bool firstLaunchRequiresDownload() const override { return true; }
    std::string firstLaunchTitle() const override;
    std::string firstLaunchText() const override;

    // The processors of the frame applied last (built at Apply); empty for "Original".
    const QZProcessorList& frameProcessors() const { return frameProcessors_; }
    // Begin, the eight pieces (left, right, top, bottom, then the corners from the top left) of the
    // editing or the full-resolution set, End. A frame that cannot be laid out on the preview's
    // size (a piece missing or empty, an empty picture, bands that meet) gives Begin and End alone,
    // logged.
    QZProcessorList processorsForFrame(const std::shared_ptr<QZContentPackItem>& item, bool editingRes);

    // ---- The strip ----
    std::shared_ptr<QZContentPackUnifiedSelectionViewCell> cellForContentPackItem(const Item& item) override;
    std::shared_ptr<QZContentPackUnifiedSelectionViewCell>
    cellForContentPack(const std::shared_ptr<QZContentPack>& pack) override;
    // "Original" shows the picture as it stood before the tool; a frame is drawn from its editing
    // pieces. Ready to apply stays as it is: the commit queued behind the preview commits it.
    void displayPreviewForContentPackItem(const Item& item) override;

    // ---- The tool ----
    // Builds the full-resolution processors of the chosen frame (none for "Original" or no
    // choice), then the base's.
    void finishApplying() override;
    // A module drawing a copy of the applied processors: it replays after the tool is gone.
    std::shared_ptr<QZModule> outputModule() override;
    void viewDidAppear(bool animated) override;

    // ---- The store ----
    std::shared_ptr<QZContentPackListIAPViewController> loadListIAPViewControllerWithPacks(Packs packs) override;
    std::shared_ptr<QZContentPackDetailIAPViewController>
    loadDetailIAPViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack) override;

private:
    std::shared_ptr<QZContentPackUnifiedSelectionViewCell> dequeueCell();

    QZProcessorList frameProcessors_;
};
