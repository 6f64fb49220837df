#pragma once
// A view showing text: one font and colour (the highlighted colour while highlighted), an
// optional sharp shadow, aligned left, centre or right, wrapped to numberOfLines (0: as many as
// fit) and cut as the line break mode says (tail truncation by default), centred vertically in
// the bounds. Its size to fit is the text's, in whole points. Interaction is off.

#include "UIKit/UIFont.h"
#include "UIKit/UIStringDrawing.h"
#include "UIKit/UIView.h"

#include <string>

class UILabel : public UIView {
public:
    using UIView::UIView;
    bool initWithFrame(CGRect frame) override;

    const std::string& text() const { return text_; }
    void setText(std::string text);
    // Never null: setting null restores the system font of 17 points.
    const std::shared_ptr<UIFont>& font() const { return font_; }
    void setFont(std::shared_ptr<UIFont> font);
    const std::shared_ptr<UIColor>& textColor() const { return textColor_; }
    void setTextColor(std::shared_ptr<UIColor> color);
    const std::shared_ptr<UIColor>& highlightedTextColor() const { return highlightedTextColor_; }
    void setHighlightedTextColor(std::shared_ptr<UIColor> color);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    const std::shared_ptr<UIColor>& shadowColor() const { return shadowColor_; }
    void setShadowColor(std::shared_ptr<UIColor> color);
    CGSize shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(CGSize offset);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);
    NSInteger numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(NSInteger lines);
    NSLineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(NSLineBreakMode mode);

    // The text laid out in the width given (no height limit; a one-line label ignores the width),
    // rounded up to whole points.
    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(CGRect rect) override;
    // Draws the text in the rectangle; subclasses may inset it.
    virtual void drawTextInRect(CGRect rect);

private:
    void changed();

    std::string text_;
    std::shared_ptr<UIFont> font_;
    std::shared_ptr<UIColor> textColor_;
    std::shared_ptr<UIColor> highlightedTextColor_;
    bool highlighted_ = false;
    std::shared_ptr<UIColor> shadowColor_;
    CGSize shadowOffset_{0, -1};
    NSTextAlignment textAlignment_ = NSTextAlignmentLeft;
    NSInteger numberOfLines_ = 1;
    NSLineBreakMode lineBreakMode_ = NSLineBreakByTruncatingTail;
};
