#pragma once
// A cell of the crop tool's preset strip: the preset's name, or its two sides as whole numbers on
// either side of a colon (turned while the preset is reversed), and under the ratio of the
// selected cell an icon saying that tapping again turns it. Everything is placed about the centre
// of the cell's bounds, above the strip cell's background. The cell carries the text it shows as
// its accessibility label ("Custom", "3:2", "2:3" once turned), since a ratio is three labels.

#include "TesselSDK/tools/QZCropPreset.h"

#include "TesselSDKFoundation/QZConveyorViewCell.h"

#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"

#include <memory>
#include <string>

class QZCropConveyorViewCell : public QZConveyorViewCell {
public:
    using QZConveyorViewCell::QZConveyorViewCell;

    static constexpr CGFloat kNumberGap = 3;
    static constexpr CGFloat kNumberDrop = 1;
    static constexpr CGFloat kIconDrop = 12;

    // The strip cell, then the colon, the two numbers, the name and the hidden invert icon.
    bool initWithReuseIdentifier(const std::string& reuseIdentifier) override;

    const std::shared_ptr<QZCropPreset>& preset() const { return preset_; }
    // Shows the name, or the two sides truncated toward zero, and asks for a layout. The invert
    // icon and the depressed look stay as they are.
    void setPreset(std::shared_ptr<QZCropPreset> preset);
    // Highlights the labels; the invert icon shows only on a depressed preset that can turn, in
    // its active look while turned.
    void setDepressed(bool depressed) override;
    void layoutSubviews() override;

    const std::shared_ptr<UILabel>& colonLabel() const { return colonLabel_; }
    const std::shared_ptr<UILabel>& widthLabel() const { return widthLabel_; }
    const std::shared_ptr<UILabel>& heightLabel() const { return heightLabel_; }
    const std::shared_ptr<UILabel>& nameLabel() const { return nameLabel_; }
    const std::shared_ptr<UIImageView>& invertIconView() const { return invertIconView_; }

private:
    bool isReversed() const { return preset_ && preset_->isReversed(); }
    // The name, or the numbers in the order they stand now.
    void updateAccessibilityLabel();

    std::shared_ptr<QZCropPreset> preset_;
    std::shared_ptr<UILabel> colonLabel_;
    std::shared_ptr<UILabel> widthLabel_;
    std::shared_ptr<UILabel> heightLabel_;
    std::shared_ptr<UILabel> nameLabel_;
    std::shared_ptr<UIImageView> invertIconView_;
};
