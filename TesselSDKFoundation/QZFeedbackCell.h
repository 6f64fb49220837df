#pragma once
// The "Feedback" entry at the end of the tool strip: an icon and a label centred in the cell, a
// divider at its left edge. Icon and label show their highlighted look while the cell is
// highlighted or selected.

#include "TesselSDKFoundation/QZHorizontalTableViewCell.h"

class QZFeedbackCell : public QZHorizontalTableViewCell {
public:
    using QZHorizontalTableViewCell::QZHorizontalTableViewCell;

    static std::shared_ptr<QZFeedbackCell> cellWithReuseIdentifier(const std::string& reuseIdentifier)
    {
        return NSObject::create<QZFeedbackCell>(
            [&](QZFeedbackCell& cell) { return cell.initWithReuseIdentifier(reuseIdentifier); });
    }
    // The default style with the label, icon and divider.
    virtual bool initWithReuseIdentifier(const std::string& reuseIdentifier);

    const std::shared_ptr<UILabel>& label() const { return label_; }
    void setLabel(std::shared_ptr<UILabel> label) { label_ = std::move(label); }
    const std::shared_ptr<UIImageView>& iconView() const { return iconView_; }
    void setIconView(std::shared_ptr<UIImageView> view) { iconView_ = std::move(view); }
    const std::shared_ptr<UIImageView>& dividerView() const { return dividerView_; }
    void setDividerView(std::shared_ptr<UIImageView> view) { dividerView_ = std::move(view); }

    void layoutSubviews() override;

private:
    std::shared_ptr<UILabel> label_;
    std::shared_ptr<UIImageView> iconView_;
    std::shared_ptr<UIImageView> dividerView_;
};
