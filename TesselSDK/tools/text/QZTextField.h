#pragma once
// An editable text that draws itself with Core Text: filled and outlined glyphs in two colours,
// placed by a vertical alignment and drawn at a scale about the field's centre, with a cursor of
// its own. The keys go to a hidden text view it owns (alpha 0): that view holds the keyboard
// focus, the typed text and the caret, and its three callbacks drive the field. A tap places the
// cursor at the touched character. The text box of the text tool and the meme captions build on
// it.
//
// Positions (currentOffset) count UTF-16 units of `text`. Drawing, measuring and hit testing all
// take their string from attributedStringWithString, so a subclass that changes it changes all
// three alike. The lines are laid out and placed by the text core, as the text processor places
// them in the image. Main thread only.

#include "TesselSDK/tools/text/QZTextFieldCursorView.h"
#include "TesselSDK/tools/text/QZTextFieldDelegate.h"
#include "TesselSDK/tools/text/QZTextViewVerticalAlignment.h"

#include "TesselSDKFoundation/QZView.h"

#include "CoreText/CoreText.h"
#include "UIKit/UILongPressGestureRecognizer.h"
#include "UIKit/UITextView.h"

#include <memory>
#include <string>

class QZTextField : public QZView, public UITextViewDelegate {
public:
    using QZView::QZView;
    ~QZTextField() override;

    // ---- Properties ----
    // Of the text and the cursor, about the centre; no redraw.
    CGFloat scale() const { return scale_; }
    void setScale(CGFloat scale);
    std::shared_ptr<QZTextFieldDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZTextFieldDelegate> delegate) { delegate_ = std::move(delegate); }
    // The cursor's height, and what a trailing line feed adds to the measured height.
    CGFloat fontSize() const { return fontSize_; }
    void setFontSize(CGFloat size) { fontSize_ = size; }
    // What is drawn (UTF-8); also the field's accessibility label, since it draws its own text,
    // unless a fixed label is set.
    const std::string& text() const { return text_; }
    void setText(std::string text);
    // The accessibility label in place of the text, for a field known by its place rather than by
    // what is typed in it (a caption); empty: the text again.
    const std::string& fixedAccessibilityLabel() const { return fixedAccessibilityLabel_; }
    void setFixedAccessibilityLabel(std::string label);
    CTFontRef font() const { return font_; }
    // Takes over the caller's reference; the field releases it when replaced or destroyed.
    void setFont(CTFontRef font);
    // The system's interface font at 30 points, for owners without a font of their own.
    virtual void createFont();
    QZTextViewVerticalAlignment alignment() const { return alignment_; }
    void setAlignment(QZTextViewVerticalAlignment alignment) { alignment_ = alignment; }
    const std::shared_ptr<QZTextFieldCursorView>& cursorView() const { return cursorView_; }
    // The cursor's place in `text`.
    NSInteger currentOffset() const { return currentOffset_; }
    void setCurrentOffset(NSInteger offset) { currentOffset_ = offset; }
    // The colours take the field's textAlpha.
    const std::shared_ptr<UIColor>& textColor() const { return textColor_; }
    void setTextColor(std::shared_ptr<UIColor> color);
    const std::shared_ptr<UIColor>& textBorderColor() const { return textBorderColor_; }
    void setTextBorderColor(std::shared_ptr<UIColor> color);
    // The tap (a press of 0.01 s that may wander).
    const std::shared_ptr<UILongPressGestureRecognizer>& longPressRecognizer() const { return longPressRecognizer_; }
    const std::shared_ptr<UITextView>& textView() const { return textView_; }
    CGFloat textAlpha() const { return textAlpha_; }
    // Both colours become copies with this alpha; redraws.
    void setTextAlpha(CGFloat alpha);

    // ---- Key input, through the hidden view ----
    bool becomeFirstResponder() override;
    bool isFirstResponder() const override;
    void setInputAccessoryView(std::shared_ptr<UIView> view);
    void setAutocapitalizationType(UITextAutocapitalizationType type);
    // "" here and in the hidden view; redraws.
    virtual void clearText();

    // ---- Text ----
    virtual CFMutableAttributedStringRef attributedStringWithString(const std::string& string) const;
    // The text core's string (QZTextAttributedString) in the font and the field's colours.
    CFMutableAttributedStringRef attributedStringWithStringFont(const std::string& string, CTFontRef font) const;
    // The text laid out in the path; the caller releases it.
    CTFrameRef formatedCTFrameWithPath(CGPathRef path) const;
    // The unscaled size the text takes: (0, 0) for none; one fontSize taller when it ends with a
    // line feed; 20 wider than its lines, always.
    CGSize textSize() const;

    // ---- Drawing ----
    // The frame's lines in `bounds`, in a context the caller has flipped (y up), placed by the
    // alignment, the scale and the text's direction.
    void drawTextLinesCenteredInContextWithBounds(CTFrameRef frame, CGContextRef context, CGRect bounds) const;
    // Draws the text at the field's scale into the rectangle of the current context (baking it).
    void drawTextInRect(CGRect rect) const;
    void drawRect(CGRect rect) override;

    // ---- Hit testing ----
    // The bounds at 1 / scale, centred where they are.
    CGRect scaleBounds(CGRect bounds) const;
    // A field point in the text's space (y up) within the scaled bounds.
    CGPoint scalePointInRect(CGPoint point, CGRect rect) const;
    // The caret index nearest the point (field coordinates); the text's length below every line;
    // kCFNotFound from a line without characters.
    NSInteger textPostionForLocation(CGPoint location) const;
    // An empty selection at the index (at most the hidden text's length) in the hidden view.
    void moveTextViewToPosition(NSInteger index);
    // Places the cursor at the touched character; nothing for an empty text.
    void handleTouchInLocation(CGPoint location);
    void didTap(UILongPressGestureRecognizer* recognizer);

    // ---- The hidden view's callbacks ----
    // Control characters no key types (NUL, escape, DEL, C1: all but the tab and the line feed)
    // never reach the text, whoever sends them: the rest of the replacement goes in.
    std::optional<bool> textViewShouldChangeTextInRangeReplacementText(UITextView* textView, NSRange range,
                                                                       const std::string& replacement) override;
    void textViewDidBeginEditing(UITextView* textView) override;
    void textViewDidChange(UITextView* textView) override;
    void textViewDidEndEditing(UITextView* textView) override;

protected:
    // Builds the field: hidden view, cursor, tap; no font (owners set one). The base's is not
    // called.
    void prepareView() override;

private:
    // Where the cursor stands for `currentOffset` with these lines (field coordinates, unscaled).
    CGRect cursorRectForFrame(CTFrameRef frame, CGRect bounds) const;

    CGFloat scale_ = 1;
    std::weak_ptr<QZTextFieldDelegate> delegate_;
    CGFloat fontSize_ = 30;
    std::string text_;
    std::string fixedAccessibilityLabel_;
    CTFontRef font_ = nullptr;
    QZTextViewVerticalAlignment alignment_ = QZTextFieldTopAlign;
    std::shared_ptr<QZTextFieldCursorView> cursorView_;
    NSInteger currentOffset_ = 1;
    std::shared_ptr<UIColor> textColor_;
    std::shared_ptr<UIColor> textBorderColor_;
    std::shared_ptr<UILongPressGestureRecognizer> longPressRecognizer_;
    std::shared_ptr<UITextView> textView_;
    CGFloat textAlpha_ = 1;
};
