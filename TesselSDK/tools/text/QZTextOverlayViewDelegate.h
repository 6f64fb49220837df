#pragma once
// What the text overlay asks of its screen and tells it.

#include "CoreGraphics/CGGeometry.h"

class QZTextOverlayView;

class QZTextOverlayViewDelegate {
public:
    virtual ~QZTextOverlayViewDelegate() = default;
    // The image's rectangle in the overlay's coordinates.
    virtual CGRect rectForImageInTextOverlayView(QZTextOverlayView* overlay) = 0;
    virtual void textOverlayViewDidBeginEditing(QZTextOverlayView*) {}
    virtual void textOverlayViewDidEndEditing(QZTextOverlayView*) {}
};
