#pragma once
// One tool of the home screen's strip: the icon (its pressed look while the cell is highlighted)
// over the tool's name, and on demand a badge in the top right corner.

#include "TesselSDKFoundation/QZHorizontalTableViewCell.h"

#include <memory>
#include <string>

class QZToolSelectionViewCell : public QZHorizontalTableViewCell {
public:
    using QZHorizontalTableViewCell::QZHorizontalTableViewCell;

    static std::shared_ptr<QZToolSelectionViewCell> cellWithReuseIdentifier(const std::string& reuseIdentifier)
    {
        return NSObject::create<QZToolSelectionViewCell>(
            [&](QZToolSelectionViewCell& cell) { return cell.initWithReuseIdentifier(reuseIdentifier); });
    }
    // The default style with the themed label and the icon view.
    virtual bool initWithReuseIdentifier(const std::string& reuseIdentifier);

    const std::shared_ptr<UILabel>& label() const { return label_; }
    const std::shared_ptr<UIImageView>& iconView() const { return iconView_; }
    // Null until a badge is first shown.
    const std::shared_ptr<UIImageView>& badgeView() const { return badgeView_; }

    void setToolName(const std::string& name);
    void setIcon(std::shared_ptr<UIImage> icon);
    void setHighlighedIcon(std::shared_ptr<UIImage> icon);

    bool shouldDisplayBadge() const { return shouldDisplayBadge_; }
    // Off keeps the badge view, transparent, for the next time it is on.
    void setShouldDisplayBadge(bool display);
    // Fades a badge that is on in over 0.2 s.
    void animateBadge();

    void layoutSubviews() override;

private:
    std::shared_ptr<UILabel> label_;
    std::shared_ptr<UIImageView> iconView_;
    std::shared_ptr<UIImageView> badgeView_;
    bool shouldDisplayBadge_ = false;
};
