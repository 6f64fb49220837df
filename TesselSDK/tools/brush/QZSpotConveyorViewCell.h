#pragma once
// A cell of the brush-size strip: the size's dot in the middle, lit while the cell is selected.

#include "TesselSDKFoundation/QZConveyorViewCell.h"

#include "UIKit/UIImageView.h"

#include <memory>

class QZSpotConveyorViewCell : public QZConveyorViewCell {
public:
    using QZConveyorViewCell::QZConveyorViewCell;

    bool initWithReuseIdentifier(const std::string& reuseIdentifier) override;

    const std::shared_ptr<UIImageView>& brushImageView() const { return brushImageView_; }
    void setBrushImage(std::shared_ptr<UIImage> image) { brushImageView_->setImage(std::move(image)); }
    void setActiveBrushImage(std::shared_ptr<UIImage> image) { brushImageView_->setHighlightedImage(std::move(image)); }
    void setDepressed(bool depressed) override;
    void layoutSubviews() override;

private:
    std::shared_ptr<UIImageView> brushImageView_;
};
