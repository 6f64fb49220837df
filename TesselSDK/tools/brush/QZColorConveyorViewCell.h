#pragma once
// A cell of the colour strip: the colour's chip a point above the middle. Selection shows only in
// the cell's background.

#include "TesselSDKFoundation/QZConveyorViewCell.h"

#include "UIKit/UIImageView.h"

#include <memory>

class QZColorConveyorViewCell : public QZConveyorViewCell {
public:
    using QZConveyorViewCell::QZConveyorViewCell;

    bool initWithReuseIdentifier(const std::string& reuseIdentifier) override;

    const std::shared_ptr<UIImageView>& colorChipView() const { return colorChipView_; }
    void setColorChipImage(std::shared_ptr<UIImage> image) { colorChipView_->setImage(std::move(image)); }
    void layoutSubviews() override;

private:
    std::shared_ptr<UIImageView> colorChipView_;
};
