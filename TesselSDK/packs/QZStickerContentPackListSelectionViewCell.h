#pragma once
// A sticker pack in the stickers tool's strip: the pack's preview image over its name, with the
// download bar of its base.

#include "TesselSDK/packs/QZContentPackDownloadSelectionViewCell.h"

#include "UIKit/UIImageView.h"

class QZStickerContentPackListSelectionViewCell : public QZContentPackDownloadSelectionViewCell {
public:
    using QZContentPackDownloadSelectionViewCell::QZContentPackDownloadSelectionViewCell;
    bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier) override;

    const std::shared_ptr<UIImageView>& packView() const { return packView_; }

    // Shows the pack's preview image.
    void setContentPack(std::shared_ptr<QZContentPack> pack) override;
    // An item has no preview here: the image goes.
    void setContentPackItem(std::shared_ptr<QZContentPackItem> item) override;
    // The base's, then the preview and the name 2 points higher, the image filling the preview.
    void layoutSubviews() override;

private:
    std::shared_ptr<UIImageView> packView_;
};
