#include "UIKit/UILabel.h"

#include "UIKit/UIGraphics.h"
#include "UIKit/UITextLayout.h"

#include <cfloat>

bool UILabel::initWithFrame(CGRect frame)
{
    if (!UIView::initWithFrame(frame)) return false;
    font_ = UIFont::systemFontOfSize(17);
    textColor_ = UIColor::blackColor();
    setUserInteractionEnabled(false);
    setContentMode(UIViewContentModeRedraw);
    return true;
}

void UILabel::changed()
{
    setNeedsDisplay();
}

void UILabel::setText(std::string text)
{
    if (text == text_) return;
    text_ = std::move(text);
    changed();
}

void UILabel::setFont(std::shared_ptr<UIFont> font)
{
    font_ = font ? std::move(font) : UIFont::systemFontOfSize(17);
    changed();
}

void UILabel::setTextColor(std::shared_ptr<UIColor> color)
{
    textColor_ = color ? std::move(color) : UIColor::blackColor();
    changed();
}

void UILabel::setHighlightedTextColor(std::shared_ptr<UIColor> color)
{
    highlightedTextColor_ = std::move(color);
    if (highlighted_) changed();
}

void UILabel::setHighlighted(bool highlighted)
{
    if (highlighted == highlighted_) return;
    highlighted_ = highlighted;
    changed();
}

void UILabel::setShadowColor(std::shared_ptr<UIColor> color)
{
    shadowColor_ = std::move(color);
    changed();
}

void UILabel::setShadowOffset(CGSize offset)
{
    shadowOffset_ = offset;
    changed();
}

void UILabel::setTextAlignment(NSTextAlignment alignment)
{
    textAlignment_ = alignment;
    changed();
}

void UILabel::setNumberOfLines(NSInteger lines)
{
    numberOfLines_ = lines;
    changed();
}

void UILabel::setLineBreakMode(NSLineBreakMode mode)
{
    lineBreakMode_ = mode;
    changed();
}

CGSize UILabel::sizeThatFits(CGSize size) const
{
    if (text_.empty()) return CGSizeZero;
    // A one-line label measures its whole line, whatever width it is offered.
    CGFloat width = size.width > 0 && numberOfLines_ != 1 ? size.width : FLT_MAX;
    return UITextLayout(text_, font_, CGSizeMake(width, FLT_MAX), numberOfLines_, lineBreakMode_, textAlignment_)
        .size();
}

void UILabel::drawRect(CGRect rect)
{
    if (text_.empty()) return UIView::drawRect(rect);
    drawTextInRect(rect);
}

void UILabel::drawTextInRect(CGRect rect)
{
    UITextLayout layout(text_, font_, rect.size, numberOfLines_, lineBreakMode_, textAlignment_);
    const auto& color = highlighted_ && highlightedTextColor_ ? highlightedTextColor_ : textColor_;
    CGRect shown = layout.labelTextRect(rect);
    layout.draw(UIGraphicsGetCurrentContext(), CGPointMake(rect.origin.x, shown.origin.y), color->CGColor(),
                shadowColor_ ? shadowColor_->CGColor() : nullptr, shadowOffset_);
}
