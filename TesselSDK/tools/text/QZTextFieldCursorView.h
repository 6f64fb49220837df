#pragma once
// The text field's cursor: a blue bar the field places (cursorBounds, in the field's unscaled
// coordinates) and this view draws at the field's scale about its centre. Invisible until a mode
// is set; blinking is a key-frame animation of the layer's opacity.

#include "TesselSDKFoundation/QZView.h"

enum QZTextFieldCursorMode : int {
    QZTextFieldCursorOff = 0,
    QZTextFieldCursorSteady = 1,
    QZTextFieldCursorBlink = 2,
};

class QZTextFieldCursorView : public QZView {
public:
    using QZView::QZView;

    CGRect cursorBounds() const { return cursorBounds_; }
    void setCursorBounds(CGRect bounds) { cursorBounds_ = bounds; }
    CGFloat scale() const { return scale_; }
    void setScale(CGFloat scale) { scale_ = scale; }
    // Blink: on and off every half second, for ever, under the animation key "opacity". Steady
    // and Off drop every animation and show or hide the bar.
    void setBlinkEnabled(QZTextFieldCursorMode mode);

    void drawRect(CGRect rect) override;

protected:
    void prepareView() override;

private:
    CGRect cursorBounds_ = CGRectZero;
    CGFloat scale_ = 1;
};
