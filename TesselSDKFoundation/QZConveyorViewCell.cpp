#include "TesselSDKFoundation/QZConveyorViewCell.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include <cstring>

std::shared_ptr<UIImage> QZConveyorBackgroundImage(QZConveyorViewType type, const char* state)
{
    std::string name = type == QZConveyorViewTypeDouble ? "conveyorBackgroundHalf" : "conveyorBackground";
    CGFloat cap = std::strcmp(state, "-active") == 0 ? 7 : 2;
    return QZSDKResources::stretchableImageNamed(name + state + ".png", UIEdgeInsetsMake(0, cap, 0, cap));
}

bool QZConveyorViewCell::initWithReuseIdentifier(const std::string& reuseIdentifier)
{
    if (!initWithStyle(UITableViewCellStyleDefault, reuseIdentifier)) return false;
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    backgroundImageView_ = UIView::viewWithFrame<UIImageView>(bounds());
    backgroundImageView_->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    backgroundImageView_->setImage(QZConveyorBackgroundImage(QZConveyorViewTypeSingle, ""));
    backgroundImageView_->setHighlightedImage(QZConveyorBackgroundImage(QZConveyorViewTypeSingle, "-active"));
    contentView()->addSubview(backgroundImageView_);
    return true;
}

void QZConveyorViewCell::reset()
{
    setAdjacent(false);
    setDepressed(false);
}

void QZConveyorViewCell::setType(QZConveyorViewType type)
{
    type_ = type;
    backgroundImageView_->setImage(QZConveyorBackgroundImage(type, adjacent_ ? "-adjacent" : ""));
    backgroundImageView_->setHighlightedImage(QZConveyorBackgroundImage(type, "-active"));
}

void QZConveyorViewCell::setAdjacent(bool adjacent)
{
    backgroundImageView_->setImage(QZConveyorBackgroundImage(type_, adjacent ? "-adjacent" : ""));
    adjacent_ = adjacent;
}

void QZConveyorViewCell::setDepressed(bool depressed)
{
    backgroundImageView_->setHighlighted(depressed);
}
