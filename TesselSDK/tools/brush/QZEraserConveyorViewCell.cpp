#include "TesselSDK/tools/brush/QZEraserConveyorViewCell.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"

namespace {

constexpr CGFloat kEraserSide = 26;
constexpr CGFloat kEraserLift = 3;

}  // namespace

bool QZEraserConveyorViewCell::initWithReuseIdentifier(const std::string& reuseIdentifier)
{
    if (!QZConveyorViewCell::initWithReuseIdentifier(reuseIdentifier)) return false;
    eraserView_ = UIView::viewWithFrame<UIImageView>(CGRectMake(0, 0, kEraserSide, kEraserSide));
    eraserView_->setContentMode(UIViewContentModeCenter);
    eraserView_->setImage(QZSDKResources::imageNamed("eraser.png"));
    eraserView_->setHighlightedImage(QZSDKResources::imageNamed("eraser-active.png"));
    contentView()->addSubview(eraserView_);
    setAccessibilityLabel(QZLocalizedString("Eraser"));
    return true;
}

void QZEraserConveyorViewCell::setDepressed(bool depressed)
{
    QZConveyorViewCell::setDepressed(depressed);
    if (eraserView_) eraserView_->setHighlighted(depressed);
}

void QZEraserConveyorViewCell::layoutSubviews()
{
    QZConveyorViewCell::layoutSubviews();
    if (!eraserView_) return;
    const CGRect b = bounds();
    eraserView_->setCenter(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b) - kEraserLift));
}
