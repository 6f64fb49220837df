#pragma once
// One pack in the store list: its icon, name and item count (and description on a tablet), and
// its state at the right: "Installed", a "Download" button, or "Installing" with a progress bar
// over the icon. Rows alternate between two greys; a highlighted row turns blue.

#include "UIKit/UIButton.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UITableViewCell.h"

#include <memory>

class QZContentPack;
class QZContentPackListIAPViewProductCell;

class QZContentPackListIAPViewProductCellDelegate {
public:
    virtual ~QZContentPackListIAPViewProductCellDelegate() = default;
    virtual void listIAPCellBeganInstalling(QZContentPackListIAPViewProductCell* cell,
                                            const std::shared_ptr<QZContentPack>& pack) = 0;
};

class QZContentPackListIAPViewProductCell : public UITableViewCell {
public:
    using UITableViewCell::UITableViewCell;
    // Made in the subtitle style.
    bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier) override;

    std::weak_ptr<QZContentPackListIAPViewProductCellDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZContentPackListIAPViewProductCellDelegate> delegate)
    {
        delegate_ = std::move(delegate);
    }
    const std::shared_ptr<QZContentPack>& contentPack() const { return contentPack_; }
    // Configures the row for the pack.
    void setContentPack(std::shared_ptr<QZContentPack> pack);
    // 0 or 1: the row index's parity.
    NSInteger cellColor() const { return cellColor_; }
    void setCellColor(NSInteger color);

    const std::shared_ptr<UIButton>& installButton() const { return installButton_; }
    const std::shared_ptr<UILabel>& installedLabel() const { return installedLabel_; }
    const std::shared_ptr<UIProgressView>& downloadProgressView() const { return downloadProgressView_; }
    // Tablet only; null on a phone.
    const std::shared_ptr<UILabel>& countLabel() const { return countLabel_; }

    // The state again from the provider, then the progress.
    void refresh();
    void configureCellForContentPack();
    void configureForPackState();
    void updateProgessViewAnimated(bool animated);

    void setHighlighted(bool highlighted, bool animated) override;
    void layoutSubviews() override;

private:
    void installButtonPressed();
    void showBackgroundColor();

    std::weak_ptr<QZContentPackListIAPViewProductCellDelegate> delegate_;
    std::shared_ptr<QZContentPack> contentPack_;
    NSInteger cellColor_ = 0;
    std::shared_ptr<UIButton> installButton_;
    std::shared_ptr<UILabel> installedLabel_;
    std::shared_ptr<UIProgressView> downloadProgressView_;
    std::shared_ptr<UILabel> countLabel_;
};
