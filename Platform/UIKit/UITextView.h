#pragma once
// An editable text view as a key input. Ours draws nothing: the editor's own text fields draw
// their text themselves and keep one of these, invisible, to hold the keyboard focus, the typed
// text and the selection (UTF-16 units, as the platform counts them).
//
// Each edit by a key asks the delegate first (NO changes nothing), then changes the text, puts the
// caret after the change and tells the delegate it changed. Setting `text` is no edit: no delegate
// call, the caret goes to the end.

#include "UIKit/UIFont.h"
#include "UIKit/UIKeyInput.h"
#include "UIKit/UITextInputTraits.h"
#include "UIKit/UITextRange.h"
#include "UIKit/UIView.h"

#include <memory>
#include <optional>
#include <string>

class UITextView;

// All optional.
class UITextViewDelegate {
public:
    virtual ~UITextViewDelegate() = default;
    // nullopt (not implemented) allows the change.
    virtual std::optional<bool> textViewShouldChangeTextInRangeReplacementText(UITextView*, NSRange /*range*/,
                                                                               const std::string& /*text*/)
    {
        return std::nullopt;
    }
    virtual void textViewDidBeginEditing(UITextView*) {}
    virtual void textViewDidChange(UITextView*) {}
    virtual void textViewDidEndEditing(UITextView*) {}
};

class UITextView : public UIView, public UIKeyInput, public UITextInputTraits {
public:
    using UIView::UIView;

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const std::shared_ptr<UIFont>& font() const { return font_; }
    void setFont(std::shared_ptr<UIFont> font) { font_ = std::move(font); }
    std::weak_ptr<UITextViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<UITextViewDelegate> delegate) { delegate_ = std::move(delegate); }

    // ---- Selection ----
    // Within the text; a length of 0 is the caret.
    NSRange selectedRange() const { return selectedRange_; }
    // Cut to the text's length.
    void setSelectedRange(NSRange range);
    std::shared_ptr<UITextPosition> beginningOfDocument() const { return UITextPosition::make(0); }
    std::shared_ptr<UITextPosition> endOfDocument() const;
    // Nil when the position or the result lies outside the document.
    std::shared_ptr<UITextPosition> positionFromPositionOffset(const std::shared_ptr<UITextPosition>& position,
                                                               NSInteger offset) const;
    // Nil when either position is nil or outside the document.
    std::shared_ptr<UITextRange> textRangeFromPositionToPosition(const std::shared_ptr<UITextPosition>& from,
                                                                 const std::shared_ptr<UITextPosition>& to) const;
    std::shared_ptr<UITextRange> selectedTextRange() const;
    // A nil range changes nothing.
    void setSelectedTextRange(const std::shared_ptr<UITextRange>& range);

    // ---- Key input ----
    bool canBecomeFirstResponder() const override { return true; }
    std::shared_ptr<UIView> inputAccessoryView() const override { return inputAccessoryView_; }
    // Takes effect the next time the keyboard shows for this view.
    void setInputAccessoryView(std::shared_ptr<UIView> view) { inputAccessoryView_ = std::move(view); }
    bool hasText() const override { return !text_.empty(); }
    // Replaces the selection.
    void insertText(const std::string& text) override;
    // The selection, else the composed character before the caret (an emoji with its modifiers,
    // a letter with its marks); nothing at the start.
    void deleteBackward() override;

protected:
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;

private:
    // Asks the delegate, then replaces `range` (within the text) and tells it; false when refused.
    bool replace(NSRange range, const std::string& replacement);
    NSUInteger length() const;

    std::string text_;
    std::shared_ptr<UIFont> font_;
    std::weak_ptr<UITextViewDelegate> delegate_;
    NSRange selectedRange_{0, 0};
    std::shared_ptr<UIView> inputAccessoryView_;
};
