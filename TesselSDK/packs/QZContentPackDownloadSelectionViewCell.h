#pragma once
// A strip cell for packs that must be downloaded: while the pack's download runs, a progress bar
// over a dimmed preview.

#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewCell.h"

#include "UIKit/UIProgressView.h"

class QZContentPackDownloadSelectionViewCell : public QZContentPackUnifiedSelectionViewCell {
public:
    using QZContentPackUnifiedSelectionViewCell::QZContentPackUnifiedSelectionViewCell;
    bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier) override;

    const std::shared_ptr<UIProgressView>& downloadProgressView() const { return downloadProgressView_; }

    void setContentPack(std::shared_ptr<QZContentPack> pack) override;
    void setContentPackItem(std::shared_ptr<QZContentPackItem> item) override;
    void update() override;
    // Bar shown (preview at 0.6) only for a pack that needs a download whose provider is
    // downloading; otherwise both fade back over 0.1 s.
    virtual void updateProgressViewAnimated(bool animated);

    void layoutSubviews() override;

private:
    std::shared_ptr<UIProgressView> downloadProgressView_;
};
