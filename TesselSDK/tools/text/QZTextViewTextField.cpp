#include "TesselSDK/tools/text/QZTextViewTextField.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZViewAnimation.h"

namespace {
constexpr CGFloat kPlaceholderAlpha = 0.5f;
}  // namespace

void QZTextViewTextField::prepareView()
{
    QZTextField::prepareView();
    placeholderText_ = QZLocalizedString("Enter text here");
    setText(placeholderText_);
    setCurrentOffset(0);
    setNeedsDisplay();
    setTextAlpha(kPlaceholderAlpha);
    placeHolding_ = true;
    longPressRecognizer()->setEnabled(false);
}

void QZTextViewTextField::fadeToTextAlpha()
{
    // textAlpha is no animatable property: it takes its value at once.
    std::weak_ptr<QZTextViewTextField> weak = weakSelf<QZTextViewTextField>();
    QZPerformUIViewAnimation(
        0.2,
        [weak] {
            if (auto field = weak.lock()) field->setTextAlpha(field->placeHolding_ ? kPlaceholderAlpha : 1);
        },
        nullptr);
}

bool QZTextViewTextField::becomeFirstResponder()
{
    fadeToTextAlpha();
    return QZTextField::becomeFirstResponder();
}

void QZTextViewTextField::textViewDidEndEditing(UITextView* textView)
{
    fadeToTextAlpha();
    QZTextField::textViewDidEndEditing(textView);
}

void QZTextViewTextField::textViewDidChange(UITextView* textView)
{
    if (textView->text().empty()) {
        if (!placeHolding_) {
            placeHolding_ = true;
            setTextAlpha(kPlaceholderAlpha);
            longPressRecognizer()->setEnabled(false);
        }
        setText(placeholderText_);
        if (auto delegate = this->delegate()) delegate->textFieldDidChange(this);
        setCurrentOffset(0);
        setNeedsDisplay();
        return;
    }
    if (placeHolding_) {
        placeHolding_ = false;
        setTextAlpha(1);
        longPressRecognizer()->setEnabled(true);
    }
    QZTextField::textViewDidChange(textView);
}

CGSize QZTextViewTextField::sizeThatFits(CGSize) const
{
    return textSize();
}
