#include "TesselSDK/tools/brush/QZSpotConveyorViewCell.h"

namespace {

constexpr CGFloat kBrushSide = 34;
// A half-height cell's background leaves more room below its middle.
constexpr CGFloat kDoubleTypeDrop = 4;

}  // namespace

bool QZSpotConveyorViewCell::initWithReuseIdentifier(const std::string& reuseIdentifier)
{
    if (!QZConveyorViewCell::initWithReuseIdentifier(reuseIdentifier)) return false;
    brushImageView_ = UIView::viewWithFrame<UIImageView>(CGRectMake(0, 0, kBrushSide, kBrushSide));
    brushImageView_->setContentMode(UIViewContentModeCenter);
    contentView()->addSubview(brushImageView_);
    return true;
}

void QZSpotConveyorViewCell::setDepressed(bool depressed)
{
    QZConveyorViewCell::setDepressed(depressed);
    if (brushImageView_) brushImageView_->setHighlighted(depressed);
}

void QZSpotConveyorViewCell::layoutSubviews()
{
    QZConveyorViewCell::layoutSubviews();
    if (!brushImageView_) return;
    const CGRect b = bounds();
    const CGFloat drop = type() == QZConveyorViewTypeDouble ? kDoubleTypeDrop : 0;
    brushImageView_->setCenter(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b) + drop));
}
