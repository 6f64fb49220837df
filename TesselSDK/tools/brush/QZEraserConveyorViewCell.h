#pragma once
// The eraser's cell at either end of a colour strip: an eraser, lit while the cell is selected.

#include "TesselSDKFoundation/QZConveyorViewCell.h"

#include "UIKit/UIImageView.h"

#include <memory>

class QZEraserConveyorViewCell : public QZConveyorViewCell {
public:
    using QZConveyorViewCell::QZConveyorViewCell;

    bool initWithReuseIdentifier(const std::string& reuseIdentifier) override;

    const std::shared_ptr<UIImageView>& eraserView() const { return eraserView_; }
    void setDepressed(bool depressed) override;
    void layoutSubviews() override;

private:
    std::shared_ptr<UIImageView> eraserView_;
};
