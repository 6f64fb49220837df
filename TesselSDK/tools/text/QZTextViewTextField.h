#pragma once
// The text box's field: shows "Enter text here" at half alpha until something is typed, and again
// once everything typed is deleted. While it shows the placeholder its own tap is off (there is no
// text to place a cursor in) and the hidden view holds no text.

#include "TesselSDK/tools/text/QZTextField.h"

class QZTextViewTextField : public QZTextField {
public:
    using QZTextField::QZTextField;

    const std::string& placeholderText() const { return placeholderText_; }
    bool isPlaceHolding() const { return placeHolding_; }

    // Full alpha while there is text, half while the placeholder shows.
    bool becomeFirstResponder() override;
    void textViewDidChange(UITextView* textView) override;
    void textViewDidEndEditing(UITextView* textView) override;
    // The text's size.
    CGSize sizeThatFits(CGSize size) const override;

protected:
    void prepareView() override;

private:
    void fadeToTextAlpha();

    std::string placeholderText_;
    bool placeHolding_ = false;
};
