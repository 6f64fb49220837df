#pragma once

#include "TesselSDK/tools/meme/QZMemeTextBoxType.h"

class QZMemeOverlayView;

// What the meme overlay tells its screen about the typing.
class QZMemeOverlayViewDelegate {
public:
    virtual ~QZMemeOverlayViewDelegate() = default;
    // A caption is being typed: when it takes the keys, and again as the keyboard comes up.
    virtual void memeOverlayDidBeginEditing(QZMemeOverlayView* overlay, QZMemeTextBoxType box) = 0;
    // The keyboard is going.
    virtual void memeOverlayDidEndEditing(QZMemeOverlayView* overlay) = 0;
};
