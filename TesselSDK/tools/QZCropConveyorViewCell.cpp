#include "TesselSDK/tools/QZCropConveyorViewCell.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr CGFloat kSmallTextSize = 12;
constexpr CGFloat kNumberTextSize = 16;
// A name fits inside the strip's selection frame (46 points wide, its strokes inside that).
constexpr CGFloat kNameWidth = 40;

// Truncated toward zero: 1.5 reads 1, -2.7 reads -2, -0.5 reads 0. Printed from the float, so a
// side past the integer range reads its digits rather than overflow.
std::string wholeNumberText(CGFloat side)
{
    if (!std::isfinite(side)) return "0";
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", double(std::trunc(side)) + 0.0);
    return text;
}

}  // namespace

bool QZCropConveyorViewCell::initWithReuseIdentifier(const std::string& reuseIdentifier)
{
    if (!QZConveyorViewCell::initWithReuseIdentifier(reuseIdentifier)) return false;
    // Read once: a theme change reaches new cells only.
    const auto textColor = QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor");
    const auto highlightedColor = QZPhotoEditorCustomization::colorOptionValueForKey("editor.highlightedTextColor");
    const auto shadowColor = QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor");
    auto makeLabel = [&](CGFloat size, const std::string& text) {
        auto label = UIView::viewWithFrame<UILabel>(CGRectZero);
        label->setText(text);
        label->setFont(UIFont::boldSystemFontOfSize(size));
        label->setTextColor(textColor);
        label->setHighlightedTextColor(highlightedColor);
        label->setShadowColor(shadowColor);
        label->setShadowOffset(CGSizeMake(0, 1));
        label->setBackgroundColor(UIColor::clearColor());
        label->setTextAlignment(NSTextAlignmentCenter);
        // On the cell itself, above the background the content view holds.
        addSubview(label);
        return label;
    };
    colonLabel_ = makeLabel(kSmallTextSize, ":");
    widthLabel_ = makeLabel(kNumberTextSize, "");
    heightLabel_ = makeLabel(kNumberTextSize, "");
    nameLabel_ = makeLabel(kSmallTextSize, "");
    auto normal = QZSDKResources::imageNamed("invert.png");
    invertIconView_ = UIImageView::imageViewWithImage(normal);
    invertIconView_->setHighlightedImage(QZSDKResources::imageNamed("invert-active.png"));
    invertIconView_->setHidden(true);
    addSubview(invertIconView_);
    return true;
}

void QZCropConveyorViewCell::setPreset(std::shared_ptr<QZCropPreset> preset)
{
    const bool named = preset && preset->name();
    if (named) {
        nameLabel_->setText(*preset->name());
    } else {
        widthLabel_->setText(preset ? wholeNumberText(preset->width()) : "");
        heightLabel_->setText(preset ? wholeNumberText(preset->height()) : "");
    }
    nameLabel_->setHidden(!named);
    widthLabel_->setHidden(named);
    heightLabel_->setHidden(named);
    colonLabel_->setHidden(named);
    setNeedsLayout();
    preset_ = std::move(preset);
    updateAccessibilityLabel();
}

void QZCropConveyorViewCell::setDepressed(bool depressed)
{
    QZConveyorViewCell::setDepressed(depressed);
    for (const auto& label : {colonLabel_, widthLabel_, heightLabel_, nameLabel_}) label->setHighlighted(depressed);
    invertIconView_->setHidden(!depressed || !preset_ || preset_->isStrict());
    invertIconView_->setHighlighted(isReversed());
}

void QZCropConveyorViewCell::layoutSubviews()
{
    QZConveyorViewCell::layoutSubviews();
    // A long name ("Custom" in bold) takes a smaller size rather than run past the frame.
    nameLabel_->setFont(UIFont::boldSystemFontOfSize(kSmallTextSize));
    for (const auto& label : {nameLabel_, heightLabel_, widthLabel_, colonLabel_}) label->sizeToFit();
    const CGFloat nameWidth = nameLabel_->frame().size.width;
    if (nameWidth > kNameWidth) {
        nameLabel_->setFont(UIFont::boldSystemFontOfSize(std::floor(kSmallTextSize * kNameWidth / nameWidth * 2) / 2));
        nameLabel_->sizeToFit();
    }
    const CGPoint c = QZCGRectGetCenter(bounds());
    nameLabel_->setCenter(c);

    const bool reversed = isReversed();
    const auto& left = reversed ? heightLabel_ : widthLabel_;
    const auto& right = reversed ? widthLabel_ : heightLabel_;
    const CGSize l = left->frame().size, r = right->frame().size;
    // The group of number, colon and number is centred on c.x whatever the two widths.
    const CGFloat offset = (l.width + r.width) * 0.5f - r.width;
    colonLabel_->setCenter(CGPointMake(c.x + offset, c.y));
    const CGRect k = colonLabel_->frame();
    left->setFrame(CGRectMake(CGRectGetMinX(k) - (l.width + kNumberGap),
                              CGRectGetMidY(k) - l.height * 0.5f + kNumberDrop, l.width, l.height));
    right->setFrame(
        CGRectMake(CGRectGetMaxX(k) + kNumberGap, CGRectGetMidY(k) - r.height * 0.5f + kNumberDrop, r.width, r.height));
    invertIconView_->setCenter(CGPointMake(c.x, CGRectGetMaxY(left->frame()) + kIconDrop));
    invertIconView_->setHighlighted(reversed);
    // The crop screen turns the ratios by laying the visible cells out again.
    updateAccessibilityLabel();
}

void QZCropConveyorViewCell::updateAccessibilityLabel()
{
    if (!preset_) {
        setAccessibilityLabel("");
    } else if (preset_->name()) {
        setAccessibilityLabel(*preset_->name());
    } else {
        const bool reversed = isReversed();
        setAccessibilityLabel((reversed ? heightLabel_ : widthLabel_)->text() + ":" +
                              (reversed ? widthLabel_ : heightLabel_)->text());
    }
}
