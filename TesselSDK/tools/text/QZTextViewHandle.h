#pragma once
// The text box's corner knob: a drag on it turns and scales the box (once the box allows scaling).
// It tracks the finger from touch-down, and the box's own press waits for it to fail, so a touch
// on the knob never starts editing.

#include "TesselSDKFoundation/QZScalableViewHandle.h"

#include "UIKit/UILongPressGestureRecognizer.h"

#include <memory>

class QZTextViewHandle : public QZScalableViewHandle {
public:
    using QZScalableViewHandle::QZScalableViewHandle;

    const std::shared_ptr<UILongPressGestureRecognizer>& longPressRecognizer() const { return longPressRecognizer_; }
    // `recognizer` starts only once the knob's recogniser has failed.
    void registerTextViewRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    void handleTouched(UILongPressGestureRecognizer* recognizer);

    // The transformable view's touch handling does not run here: the recogniser does the work.
    void touchesBegan(const UITouchSet&, UIEvent*) override {}
    void touchesEnded(const UITouchSet&, UIEvent*) override {}

protected:
    void prepareView() override;

private:
    std::shared_ptr<UILongPressGestureRecognizer> longPressRecognizer_;
};
