#pragma once
// The keyboard's panel: grey, with rows of keys drawn in code. Two pages: letters (with shift,
// which capitalises the next letter) and digits with punctuation ("123" and "ABC" switch them);
// both end in a row of the page key, space and return, and have backspace. A key types when the
// finger lifts on it, through UIKeyboard as the hardware keyboard types; the key under the finger
// is drawn pressed, and sliding onto another key moves the press there. It takes every touch that
// lands on it, so nothing under it is touched through it.

#include "UIKit/UIView.h"

#include <memory>
#include <string>

class UIKeyboardView : public UIView {
public:
    using UIView::UIView;
    bool initWithFrame(CGRect frame) override;
    void drawRect(CGRect rect) override;

    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    void touchesCancelled(const UITouchSet& touches, UIEvent* event) override;

    bool isShifted() const { return shifted_; }
    bool showsDigits() const { return digits_; }
    // The caption of the key drawn pressed; empty when none is.
    const std::string& pressedKey() const { return pressed_; }

private:
    // The caption of the key at `point` (bounds coordinates) on the page shown; empty off the keys.
    std::string keyAt(CGPoint point) const;
    void press(const std::string& caption);
    void strike(const std::string& caption);

    bool shifted_ = false;
    bool digits_ = false;
    std::string pressed_;
    std::shared_ptr<UITouch> tracking_;  // the finger playing the keys
};
