#include "TesselSDK/packs/QZContentPackShelfCell.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "Foundation/NSString.h"

#include <cmath>
#include <map>

namespace {
constexpr CGFloat kVerticalInset = 10;
constexpr CGFloat kIconShare = 0.85f;
constexpr CGFloat kIconInset = 2;
constexpr CGFloat kRise = 6;
constexpr CGFloat kPillWidth = 36;
constexpr CGFloat kPillHeight = 8;
}  // namespace

std::shared_ptr<QZContentPackShelfCell> QZContentPackShelfCell::make(CGRect frame,
                                                                     const std::string& contentPackDescriptor)
{
    return NSObject::create<QZContentPackShelfCell>(
        [&](QZContentPackShelfCell& cell) { return cell.initWithFrame(frame, contentPackDescriptor); });
}

bool QZContentPackShelfCell::initWithFrame(CGRect frame, const std::string& contentPackDescriptor)
{
    if (!UIView::initWithFrame(frame)) return false;
    contentPackDescriptor_ = contentPackDescriptor;
    setBackgroundColor(UIColor::clearColor());
    packIconView_ = UIView::viewWithFrame<UIImageView>();
    packIconView_->setContentMode(UIViewContentModeScaleAspectFit);
    addSubview(packIconView_);
    plusIconView_ = UIView::viewWithFrame<UIImageView>(CGRectZero);
    plusIconView_->setImage(QZSDKResources::imageNamed("plus_icon.png"));
    plusIconView_->setAlpha(0);
    packIconView_->addSubview(plusIconView_);
    packLabel_ = UIView::viewWithFrame<UILabel>();
    packLabel_->setFont(UIFont::boldSystemFontOfSize(11));
    packLabel_->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
    packLabel_->setTextAlignment(NSTextAlignmentCenter);
    packLabel_->setBackgroundColor(UIColor::clearColor());
    packLabel_->setShadowOffset(CGSizeMake(0, 1));
    packLabel_->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
    addSubview(packLabel_);
    activeStateView_ = UIView::viewWithFrame<UIImageView>();
    activeStateView_->setImage(QZSDKResources::stretchableImageNamed("activePill.png", UIEdgeInsetsMake(0, 5, 0, 5)));
    activeStateView_->setAlpha(0);
    addSubview(activeStateView_);
    return true;
}

std::optional<std::string> QZContentPackShelfCell::getMoreIconNameForPackDescriptor(const std::string& descriptor)
{
    static const std::map<std::string, std::string> icons = {
        {"Effects", "get_more_effects.png"},
        {"Frames", "get_more_frames.png"},
        {"Stickers", "get_more_stickers.png"},
    };
    auto icon = icons.find(descriptor);
    if (icon == icons.end()) return std::nullopt;
    return icon->second;
}

void QZContentPackShelfCell::setGetMore(bool getMore)
{
    getMore_ = getMore;
    if (getMore) {
        std::optional<std::string> icon = getMoreIconNameForPackDescriptor(contentPackDescriptor_);
        packIconView_->setImage(icon ? QZSDKResources::imageNamed(*icon) : nullptr);
        packLabel_->setText(
            NSStringWithFormat("%@ %@", QZLocalizedString("Add"), QZLocalizedString(contentPackDescriptor_)));
        setAccessibilityLabel(QZLocalizedString("Get More"));
    } else {
        setAccessibilityLabel("");
    }
    setNeedsLayout();
}

void QZContentPackShelfCell::setActive(bool active)
{
    active_ = active;
    activeStateView_->setAlpha(active ? 1 : 0);
    setNeedsLayout();
}

void QZContentPackShelfCell::layoutSubviews()
{
    UIView::layoutSubviews();
    CGRect inset = CGRectInset(bounds(), 0, kVerticalInset);
    const CGFloat iconHeight = inset.size.height * kIconShare;
    CGRect iconArea = CGRectOffset(
        CGRectInset(CGRectMake(inset.origin.x, inset.origin.y, inset.size.width, iconHeight), kIconInset, kIconInset),
        0, -kIconInset);
    CGRect labelArea = CGRectIntegral(
        CGRectMake(inset.origin.x, inset.origin.y + iconHeight, inset.size.width, inset.size.height - iconHeight));
    const CGFloat pillY = ((CGRectGetMaxY(iconArea) - kRise) + labelArea.origin.y) / 2 - kPillHeight / 2;
    activeStateView_->setFrame(
        CGRectMake(std::round((bounds().size.width - kPillWidth) / 2), pillY, kPillWidth, kPillHeight));
    if (active_) iconArea = CGRectOffset(iconArea, 0, -kRise);
    packIconView_->setFrame(iconArea);
    packLabel_->setFrame(labelArea);
    if (getMore_) plusIconView_->setFrame(CGRectZero);
}
