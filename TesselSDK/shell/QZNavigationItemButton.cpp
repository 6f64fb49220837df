#include "TesselSDK/shell/QZNavigationItemButton.h"

#include "Foundation/NSFoundationVersion.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIStringDrawing.h"

#include <algorithm>
#include <array>

namespace {

constexpr CGFloat kHeight = 30;
constexpr CGFloat kMinimumWidth = 56;
constexpr CGFloat kGalleryCameraWidth = 44;
constexpr CGFloat kTitlePadding = 16;
constexpr CGFloat kBackgroundShift = 10;
constexpr CGFloat kBackArrowRoom = 5;

enum class TitleColours { Apply, Cancel, None };

struct StyleLook {
    const char* image;
    CGFloat leftCap, rightCap;
    TitleColours colours;
};

constexpr std::array<StyleLook, 7> kLooks{{
    {"apply", 10, 10, TitleColours::Apply},
    {"cancel", 10, 10, TitleColours::Cancel},
    {"cancel", 10, 10, TitleColours::Apply},
    {"backButton", 14, 10, TitleColours::Cancel},
    {"cameraCancelButton", 15, 15, TitleColours::Apply},
    {"cameraCancelButtonNoRim", 15, 15, TitleColours::Apply},
    {"apply", 10, 10, TitleColours::None},
}};

const StyleLook* lookOf(QZNavigationItemButtonStyle style)
{
    return style < kLooks.size() ? &kLooks[style] : nullptr;
}

std::shared_ptr<UIImage> stretchable(QZNavigationItemButtonStyle style, const char* suffix)
{
    const StyleLook* look = lookOf(style);
    if (!look) return nullptr;
    return QZSDKResources::stretchableImageNamed(std::string(look->image) + suffix + ".png",
                                                 UIEdgeInsetsMake(0, look->leftCap, 0, look->rightCap));
}

std::shared_ptr<UIColor> colour(const char* key)
{
    return QZPhotoEditorCustomization::colorOptionValueForKey(key);
}

}  // namespace

std::shared_ptr<QZNavigationItemButton> QZNavigationItemButton::buttonWithTitle(const std::string& title,
                                                                                QZNavigationItemButtonStyle style)
{
    auto button = NSObject::create<QZNavigationItemButton>(
        [&](QZNavigationItemButton& b) { return b.initWithFrame(CGRectMake(0, 0, kMinimumWidth, kHeight), style); });
    button->setStyle(style);
    button->setTitle(title);
    return button;
}

bool QZNavigationItemButton::initWithFrame(CGRect frame, QZNavigationItemButtonStyle style)
{
    if (!UIControl::initWithFrame(frame)) return false;
    style_ = style;
    setOpaque(false);
    setBackgroundColor(nullptr);

    imageView_ = UIView::viewWithFrame<UIImageView>(bounds());
    imageView_->setContentMode(UIViewContentModeScaleToFill);
    addSubview(imageView_);
    if (style == QZNavigationItemButtonStyleGalleryCamera) {
        iconView_ = UIView::viewWithFrame<UIImageView>(bounds());
        iconView_->setContentMode(UIViewContentModeCenter);
        iconView_->setImage(QZSDKResources::imageNamed("galleryCameraIcon.png"));
        addSubview(iconView_);
    }

    auto label = UIView::viewWithFrame<UILabel>(bounds());
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setBackgroundColor(UIColor::clearColor());
    label->setFont(UIFont::boldSystemFontOfSize(12));
    label->setShadowOffset(CGSizeMake(0, 1));
    label->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    if (const StyleLook* look = lookOf(style); look && look->colours != TitleColours::None) {
        const bool apply = look->colours == TitleColours::Apply;
        label->setTextColor(
            colour(apply ? "editor.applyButtonDefaultTextColor" : "editor.cancelButtonDefaultTextColor"));
        label->setShadowColor(
            colour(apply ? "editor.applyButtonDefaultTextShadowColor" : "editor.cancelButtonDefaultTextShadowColor"));
        label->setHighlightedTextColor(
            colour(apply ? "editor.applyButtonHighlightedTextColor" : "editor.cancelButtonHighlightedTextColor"));
    }
    addSubview(label);  // the button's subviews own it
    titleLabel_ = label;
    return true;
}

std::shared_ptr<UIImage> QZNavigationItemButton::defaultImageForStyle(QZNavigationItemButtonStyle style)
{
    return stretchable(style, "");
}

std::shared_ptr<UIImage> QZNavigationItemButton::highlightedImageForStyle(QZNavigationItemButtonStyle style)
{
    return stretchable(style, "-active");
}

void QZNavigationItemButton::setStyle(QZNavigationItemButtonStyle style)
{
    style_ = style;
    imageView_->setImage(defaultImageForStyle(style));
    imageView_->setHighlightedImage(highlightedImageForStyle(style));
    setNeedsLayout();
}

std::string QZNavigationItemButton::title() const
{
    auto label = titleLabel();
    return label ? label->text() : std::string();
}

void QZNavigationItemButton::setTitle(const std::string& title)
{
    if (auto label = titleLabel()) label->setText(title);
    sizeToFit();
    setNeedsLayout();
    layoutIfNeeded();
}

void QZNavigationItemButton::setHighlighted(bool highlighted)
{
    UIControl::setHighlighted(highlighted);
    imageView_->setHighlighted(highlighted);
    if (auto label = titleLabel()) label->setHighlighted(highlighted);
}

CGSize QZNavigationItemButton::sizeThatFits(CGSize) const
{
    auto label = titleLabel();
    const CGFloat titleWidth = label ? sizeWithFont(label->text(), label->font()).width : 0;
    const CGFloat minimum = style_ == QZNavigationItemButtonStyleGalleryCamera ? kGalleryCameraWidth : kMinimumWidth;
    return CGSizeMake(std::max(titleWidth + kTitlePadding, minimum), kHeight);
}

void QZNavigationItemButton::layoutSubviews()
{
    UIControl::layoutSubviews();
    CGRect frame = bounds();
    // From system version 7 the bar keeps wider margins; the background leans outwards to match,
    // unless the host builds against the older SDK.
    const bool usingOldSDK = QZPhotoEditorCustomization::optionValueForKey("editor.usingIOS6SDK").boolValue();
    if (NSFoundationVersionNumber() > NSFoundationVersionNumber_iOS_6_1 && !usingOldSDK) {
        const bool leansRight =
            style_ == QZNavigationItemButtonStyleApply || style_ == QZNavigationItemButtonStyleRestore;
        frame = CGRectOffset(frame, leansRight ? kBackgroundShift : -kBackgroundShift, 0);
    }
    imageView_->setFrame(frame);
    if (iconView_) iconView_->setFrame(frame);
    if (auto label = titleLabel()) {
        CGRect titleFrame = frame;
        if (style_ == QZNavigationItemButtonStyleBack) {
            titleFrame.origin.x += kBackArrowRoom;
            titleFrame.size.width -= kBackArrowRoom;
        }
        label->setFrame(titleFrame);
    }
}
