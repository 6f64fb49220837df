#include "TesselSDK/tools/QZAdjustButton.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UIFont.h"

#include <cctype>

namespace {

constexpr CGFloat kCapWidth = 30;
constexpr CGFloat kTitleGap = 10;

bool isPad()
{
    return UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
}

std::string capitalized(std::string key)
{
    if (!key.empty()) key[0] = char(std::toupper(static_cast<unsigned char>(key[0])));
    return key;
}

}  // namespace

bool QZAdjustButton::initWithFrame(CGRect frame, const std::string& processorKey, QZAdjustButtonType buttonType)
{
    if (!UIControl::initWithFrame(frame)) return false;
    setBackgroundColor(UIColor::clearColor());

    backgroundView_ = UIView::viewWithFrame<UIImageView>(bounds());
    backgroundView_->setImage(backgroundForType(buttonType, false));
    backgroundView_->setHighlightedImage(backgroundForType(buttonType, true));
    backgroundView_->setContentMode(UIViewContentModeScaleToFill);
    backgroundView_->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    addSubview(backgroundView_);

    iconView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("adj_" + processorKey + ".png"));
    iconView_->setHighlightedImage(QZSDKResources::imageNamed("adj_" + processorKey + "-active.png"));
    iconView_->sizeToFit();
    iconView_->setCenter(QZCGRectGetCenter(CGRectOffset(bounds(), 0, 1)));
    addSubview(iconView_);

    if (isPad()) {
        titleLabel_ = UIView::viewWithFrame<UILabel>(CGRectZero);
        titleLabel_->setText(QZLocalizedString(capitalized(processorKey)));
        titleLabel_->setFont(UIFont::boldSystemFontOfSize(12));
        titleLabel_->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
        titleLabel_->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
        titleLabel_->setShadowOffset(CGSizeMake(0, 1));
        titleLabel_->setBackgroundColor(UIColor::clearColor());
        titleLabel_->sizeToFit();
        addSubview(titleLabel_);
    }
    return true;
}

std::shared_ptr<UIImage> QZAdjustButton::backgroundForType(QZAdjustButtonType type, bool active)
{
    const char* base;
    switch (type) {
    case QZAdjustButtonTypeLeft: base = "toolMergeButtonLeft"; break;
    case QZAdjustButtonTypeMiddle: base = "toolMergeButtonMiddle"; break;
    case QZAdjustButtonTypeRight: base = "toolMergeButtonRight"; break;
    default: return nullptr;
    }
    return QZSDKResources::stretchableImageNamed(std::string(base) + (active ? "-active.png" : ".png"),
                                                 UIEdgeInsetsMake(0, kCapWidth, 0, kCapWidth));
}

void QZAdjustButton::updateImageState()
{
    const bool lit = isHighlighted() || isSelected();
    if (backgroundView_) backgroundView_->setHighlighted(lit);
    if (iconView_) iconView_->setHighlighted(lit);
}

void QZAdjustButton::setHighlighted(bool highlighted)
{
    UIControl::setHighlighted(highlighted);
    updateImageState();
}

void QZAdjustButton::setSelected(bool selected)
{
    UIControl::setSelected(selected);
    updateImageState();
}

void QZAdjustButton::layoutSubviews()
{
    UIControl::layoutSubviews();
    if (!titleLabel_ || !isPad()) return;
    // Icon and title side by side, centred as a group.
    const CGRect bounds = this->bounds();
    const CGFloat a = iconView_->frame().size.width;
    const CGFloat b = titleLabel_->frame().size.width;
    const CGFloat y = CGRectGetMidY(bounds) + 1;
    const CGFloat iconX = (bounds.size.width - (a + b + kTitleGap)) * 0.5f + a / 2;
    const CGFloat titleX = iconX + a / 2 + kTitleGap + b / 2;
    iconView_->setCenter(CGPointMake(iconX, y));
    iconView_->setFrame(CGRectIntegral(iconView_->frame()));
    titleLabel_->setCenter(CGPointMake(titleX, y));
    titleLabel_->setFrame(CGRectIntegral(titleLabel_->frame()));
}
