#pragma once
// A cell of the frames strip: the frame's thumbnail over a placeholder picture in a wrapper
// outline, or (for a pack still to download) the pack's store preview with the download bar.
// The "Original" item reads "None" here.

#include "TesselSDK/packs/QZContentPackDownloadSelectionViewCell.h"

#include "UIKit/UIImageView.h"

class QZFrameContentPackUnifiedSelectionViewCell : public QZContentPackDownloadSelectionViewCell {
public:
    using QZContentPackDownloadSelectionViewCell::QZContentPackDownloadSelectionViewCell;
    bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier) override;

    const std::shared_ptr<UIImageView>& previewContentView() const { return previewContentView_; }
    const std::shared_ptr<UIImageView>& previewImageView() const { return previewImageView_; }
    const std::shared_ptr<UIImageView>& outlineImageView() const { return outlineImageView_; }

    void setContentPackItem(std::shared_ptr<QZContentPackItem> item) override;
    void setContentPack(std::shared_ptr<QZContentPack> pack) override;

    void layoutSubviews() override;

private:
    std::shared_ptr<UIImageView> previewContentView_;
    std::shared_ptr<UIImageView> previewImageView_;
    std::shared_ptr<UIImageView> outlineImageView_;
};
