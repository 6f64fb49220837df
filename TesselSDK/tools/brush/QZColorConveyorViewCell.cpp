#include "TesselSDK/tools/brush/QZColorConveyorViewCell.h"

namespace {

constexpr CGFloat kChipSide = 26;
constexpr CGFloat kChipLift = 1;

}  // namespace

bool QZColorConveyorViewCell::initWithReuseIdentifier(const std::string& reuseIdentifier)
{
    if (!QZConveyorViewCell::initWithReuseIdentifier(reuseIdentifier)) return false;
    colorChipView_ = UIView::viewWithFrame<UIImageView>(CGRectMake(0, 0, kChipSide, kChipSide));
    colorChipView_->setContentMode(UIViewContentModeCenter);
    contentView()->addSubview(colorChipView_);
    return true;
}

void QZColorConveyorViewCell::layoutSubviews()
{
    QZConveyorViewCell::layoutSubviews();
    if (!colorChipView_) return;
    const CGRect b = bounds();
    colorChipView_->setCenter(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b) - kChipLift));
}
