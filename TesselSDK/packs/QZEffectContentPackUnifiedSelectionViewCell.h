#pragma once
// A cell of the effects strip: the effect's thumbnail (delivered later through an image-view
// context, with a spinner until it comes) in a wrapper outline, or a pack's store preview. A
// thumbnail that arrives for a context the cell no longer holds is never shown.

#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/shell/QZImageView.h"

#include "UIKit/UIActivityIndicatorView.h"
#include "UIKit/UIImageView.h"

class QZEffectContentPackUnifiedSelectionViewCell : public QZContentPackUnifiedSelectionViewCell {
public:
    using QZContentPackUnifiedSelectionViewCell::QZContentPackUnifiedSelectionViewCell;
    bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier) override;

    const std::shared_ptr<QZImageView>& previewImageView() const { return previewImageView_; }
    const std::shared_ptr<UIImageView>& outlineImageView() const { return outlineImageView_; }
    const std::shared_ptr<UIActivityIndicatorView>& activityIndicator() const { return activityIndicator_; }

    // The thumbnail shown goes, the spinner stops and the context is the one images come through.
    void setImageViewContext(std::shared_ptr<QZImageViewContext> context);
    // The base's, then the spinner runs and the outline shows.
    void setContentPackItem(std::shared_ptr<QZContentPackItem> item) override;
    // The base's, then the pack's store preview without outline or spinner.
    void setContentPack(std::shared_ptr<QZContentPack> pack) override;
    // The thumbnail of `context` has been shown: outline on, spinner off, when the cell still
    // shows an item through that context.
    void finishedLoadingPreviewWithContext(const std::shared_ptr<QZImageViewContext>& context);

    void layoutSubviews() override;

private:
    std::shared_ptr<QZImageView> previewImageView_;
    std::shared_ptr<UIImageView> outlineImageView_;
    std::shared_ptr<UIActivityIndicatorView> activityIndicator_;
};
