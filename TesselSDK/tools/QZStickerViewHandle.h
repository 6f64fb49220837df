#pragma once
// The rotate-and-scale knob at a sticker's bottom-right corner: moving a finger on it turns and
// scales the sticker about its centre, while the sticker allows scaling. Its touches never reach
// the sticker's own pan and press (the sticker refuses touches that start on the knob).

#include "TesselSDKFoundation/QZScalableViewHandle.h"

class QZStickerViewHandle : public QZScalableViewHandle {
public:
    using QZScalableViewHandle::QZScalableViewHandle;

    // The transformable view's begin and end handling does not apply to a sticker.
    void touchesBegan(const UITouchSet&, UIEvent*) override {}
    void touchesEnded(const UITouchSet&, UIEvent*) override {}
    // Sends the sticker transformWithHandlePoint with the moving touch's place in the sticker.
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;

protected:
    void prepareView() override;
};
