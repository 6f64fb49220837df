#include "TesselSDKFoundation/QZSegmentButton.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZSDKResources.h"

bool QZSegmentButton::initWithFrame(CGRect frame, QZSegmentedButtonStyle style, std::shared_ptr<UIImage> defaultIcon,
                                    std::shared_ptr<UIImage> highlightedIcon)
{
    if (!UIButton::initWithFrame(frame)) return false;
    setStyle(style);
    backgroundImageView_ = UIView::viewWithFrame<UIImageView>(bounds());
    backgroundImageView_->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    backgroundImageView_->setContentMode(UIViewContentModeScaleToFill);
    backgroundImageView_->setImage(imageForStyle(style, false));
    backgroundImageView_->setHighlightedImage(imageForStyle(style, true));
    addSubview(backgroundImageView_);

    iconImageView_ = UIView::viewWithFrame<UIImageView>(bounds());
    iconImageView_->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    iconImageView_->setContentMode(UIViewContentModeCenter);
    iconImageView_->setImage(std::move(defaultIcon));
    iconImageView_->setHighlightedImage(std::move(highlightedIcon));
    addSubview(iconImageView_);
    return true;
}

std::shared_ptr<UIImage> QZSegmentButton::imageForStyle(QZSegmentedButtonStyle style, bool highlighted) const
{
    const char* base;
    UIEdgeInsets caps;
    switch (style) {
    case QZSegmentedButtonStyleLeftCap: base = "leftSegmentedButton", caps = UIEdgeInsetsMake(0, 22, 0, 7); break;
    case QZSegmentedButtonStyleCenter: base = "centerSegmentedButton", caps = UIEdgeInsetsMake(0, 7, 0, 7); break;
    case QZSegmentedButtonStyleRightCap: base = "rightSegmentedButton", caps = UIEdgeInsetsMake(0, 7, 0, 22); break;
    case QZSegmentedButtonStyleSingle: base = "singleSegmentedButton", caps = UIEdgeInsetsMake(0, 22, 0, 22); break;
    default: return nullptr;
    }
    return QZSDKResources::stretchableImageNamed(std::string(base) + (highlighted ? "-active.png" : ".png"), caps);
}

void QZSegmentButton::setSelected(bool selected)
{
    UIButton::setSelected(selected);
    if (backgroundImageView_) backgroundImageView_->setHighlighted(selected);
    if (iconImageView_) iconImageView_->setHighlighted(selected);
}

void QZSegmentButton::layoutSubviews()
{
    UIButton::layoutSubviews();
    CGFloat offset = 0;
    if (style_ == QZSegmentedButtonStyleLeftCap) offset = 4;
    if (style_ == QZSegmentedButtonStyleRightCap) offset = -4;
    backgroundImageView_->setFrame(bounds());
    iconImageView_->setCenter(QZCGPointTranslate(QZCGRectGetCenter(bounds()), CGPointMake(offset, -1)));
}
