#include "TesselSDK/remote/QZMessageLabel.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/remote/QZMessageText.h"
#include "UIKit/UIColor.h"
#include "Foundation/NSStringUTF16.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIStringDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kSmallestFontSize = 8;
// A card is a phone screen wide: a size from the service past this is a slip, not a design, and
// would cost a measurement per point to shrink from.
constexpr CGFloat kLargestFontSize = 72;
constexpr CGFloat kSidePadding = 13;
constexpr CGFloat kBulletStrip = 21;
constexpr CGFloat kDotWidth = 8;
constexpr CGFloat kUnbounded = 1e6;
// The narrowest a character's advance gets, in ems ("i", "l", a space): no line holds more.
constexpr CGFloat kNarrowestAdvance = 0.2f;
constexpr const char* kEllipsis = "\u2026";

// The tallest a run is shown: a third of the screen's height (of a tablet's without a screen),
// which leaves the card's banner, other runs and buttons on the screen beside it.
CGFloat tallestShown()
{
    const CGFloat height = UIScreen::mainScreen()->bounds().size.height;
    return (std::isfinite(height) && height > 0 ? height : 1024) / 3;
}

// The text up to a UTF-16 length, ended on a character's edge.
std::string prefixOf(const std::string& text, NSUInteger length)
{
    if (length == 0) return "";
    const NSRange last = NSStringRangeOfComposedCharacterSequenceAtIndex(text, length - 1);
    const NSUInteger end = last.location + last.length > length ? last.location : length;
    return NSStringSubstringWithUTF16Range(text, NSMakeRange(0, end));
}

}  // namespace

std::shared_ptr<QZMessageLabel> QZMessageLabel::labelWithType(QZMessageLabelType type, QZMessageText& text,
                                                              CGFloat width, CGFloat room)
{
    auto view = UIView::viewWithFrame<QZMessageLabel>(CGRectZero);
    view->type_ = type;
    view->width_ = width;
    view->tallest_ = std::isfinite(room) && room >= 0 ? std::min(room, tallestShown()) : tallestShown();
    // No size (0), or none that could be drawn, takes the type's own; others stay within reach.
    const CGFloat requested = text.fontSize();
    view->fontSize_ = std::isfinite(requested) && requested > 0
                          ? std::clamp(requested, kSmallestFontSize, kLargestFontSize)
                          : 0;
    view->bold_ = text.isBold();
    view->setBackgroundColor(UIColor::clearColor());
    view->defaultFont_ = view->fontSizeForType();
    const std::string english = text.text(), translated = QZLocalizedString(english);
    view->text_ = view->shownPart(english, view->defaultFont_);
    // A translation may be shown as small as the smallest size: cut as that size can show it.
    view->localizedText_ = translated == english
                               ? view->text_
                               : view->shownPart(translated, view->fontForTypeWithSize(kSmallestFontSize));

    auto label = UIView::viewWithFrame<UILabel>(CGRectZero);
    label->setNumberOfLines(0);
    label->setLineBreakMode(NSLineBreakByWordWrapping);
    label->setTextAlignment(view->textAlignmentForType());
    label->setBackgroundColor(UIColor::clearColor());
    auto colour = text.textColor();
    label->setTextColor(colour ? colour : UIColor::whiteColor());
    auto shadow = text.textShadowColor();
    label->setShadowColor(shadow ? shadow : UIColor::blackColor());
    CGSize offset = text.hasShadowOffset() ? text.shadowOffset() : CGSizeMake(0, 0);
    if (offset.width == 0 && offset.height == 0) offset = CGSizeMake(0, 1);
    label->setShadowOffset(offset);
    label->setFont(view->translatedFontSize());
    label->setText(view->localizedText_);
    view->label_ = label;
    view->addSubview(label);
    if (type == QZMessageLabelTypeBullet) {
        view->bulletView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("dot.png"));
        view->bulletView_->setContentMode(UIViewContentModeScaleAspectFit);
        view->addSubview(view->bulletView_);
    }
    view->sizeToFit();
    return view;
}

std::shared_ptr<UIFont> QZMessageLabel::fontSizeForType() const
{
    if (fontSize_ != 0) return bold_ ? UIFont::boldSystemFontOfSize(fontSize_) : UIFont::systemFontOfSize(fontSize_);
    switch (type_) {
    case QZMessageLabelTypeTitle:
    case QZMessageLabelTypeOverlayTitle: return UIFont::boldSystemFontOfSize(17);
    case QZMessageLabelTypeHeader: return UIFont::boldSystemFontOfSize(14);
    default: return UIFont::systemFontOfSize(14);
    }
}

std::shared_ptr<UIFont> QZMessageLabel::fontForTypeWithSize(CGFloat size) const
{
    const bool bold = type_ == QZMessageLabelTypeTitle || type_ == QZMessageLabelTypeHeader ||
                      type_ == QZMessageLabelTypeOverlayTitle;
    return bold ? UIFont::boldSystemFontOfSize(size) : UIFont::systemFontOfSize(size);
}

CGFloat QZMessageLabel::heightOf(const std::string& text, const std::shared_ptr<UIFont>& font) const
{
    return sizeWithFont(text, font, CGSizeMake(textWidthAfterPadding(), kUnbounded), NSLineBreakByWordWrapping).height;
}

std::string QZMessageLabel::shownPart(const std::string& text, const std::shared_ptr<UIFont>& font) const
{
    const CGFloat tallest = tallest_;
    const CGFloat size = font ? font->pointSize() : kSmallestFontSize;
    // More characters than the narrowest glyphs could put on a screen's lines are never shown:
    // they go before anything is laid out.
    const double perLine = std::max<double>(1, std::ceil(textWidthAfterPadding() / (kNarrowestAdvance * size)));
    const double lines = std::max<double>(1, std::ceil(tallest / size));
    const NSUInteger budget = NSUInteger(std::min<double>(perLine * lines, 1e7));
    const NSUInteger length = NSStringUTF16Length(text);
    if (length <= budget && heightOf(text, font) <= tallest) return text;
    // The longest start that fits a screen with its ellipsis, found by halving.
    NSUInteger low = 0, high = std::min(length, budget);
    while (low < high) {
        const NSUInteger middle = low + (high - low + 1) / 2;
        if (heightOf(prefixOf(text, middle) + kEllipsis, font) <= tallest)
            low = middle;
        else
            high = middle - 1;
    }
    return prefixOf(text, low) + kEllipsis;
}

std::shared_ptr<UIFont> QZMessageLabel::translatedFontSize() const
{
    if (localizedText_ == text_) return defaultFont_;
    // The first of the sizes start, start - 1, ... whose text is no taller than the English, the
    // steps stopping once a size is at most 8. Heights grow with the size, so the step is found by
    // halving the range: a handful of measurements rather than one a point.
    const CGFloat englishHeight = heightOf(text_, defaultFont_);
    const CGFloat start = defaultFont_->pointSize();
    auto fits = [&](int step) {
        return heightOf(localizedText_, fontForTypeWithSize(start - CGFloat(step))) <= englishHeight;
    };
    const int lastStep = start > kSmallestFontSize ? int(std::ceil(start - kSmallestFontSize)) : 0;
    int low = 0, high = lastStep;  // the answer lies in [low, high]; high is taken when none fits
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (fits(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return fontForTypeWithSize(start - CGFloat(low));
}

NSTextAlignment QZMessageLabel::textAlignmentForType() const
{
    return type_ == QZMessageLabelTypeTitle ? NSTextAlignmentCenter : NSTextAlignmentLeft;
}

CGFloat QZMessageLabel::textWidthAfterPadding() const
{
    return width_ - (type_ == QZMessageLabelTypeBullet ? 47 : 26);
}

CGSize QZMessageLabel::sizeThatFits(CGSize) const
{
    return CGSizeMake(width_, heightOf(text_, defaultFont_));
}

void QZMessageLabel::layoutSubviews()
{
    UIView::layoutSubviews();
    CGRect r = bounds();
    r.origin.x += kSidePadding;
    r.size.width -= 2 * kSidePadding;
    if (type_ == QZMessageLabelTypeBullet) {
        CGRect strip, rest;
        CGRectDivide(r, &strip, &rest, kBulletStrip, CGRectMinXEdge);
        if (bulletView_)
            bulletView_->setFrame(CGRectMake(strip.origin.x, strip.origin.y, kDotWidth, strip.size.height));
        label_->setFrame(rest);
    } else {
        label_->setFrame(r);
    }
}
