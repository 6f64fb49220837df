#pragma once
// The kinds of conveyor strips, their recentring speeds, their side views and overlays.

#include "Foundation/NSObjCRuntime.h"

enum QZConveyorViewType : NSInteger {
    QZConveyorViewTypeSingle = 0,  // full-height cells
    QZConveyorViewTypeDouble = 1,  // half-height cells
};

// Slow is 0.4 s, fast 0.1 s; any other value recentres in no time.
enum QZConveyorRecenterSpeed : NSInteger {
    QZConveyorRecenterSpeedSlow = 0,
    QZConveyorRecenterSpeedFast = 1,
};

enum QZConveyorSideViewType : NSInteger {
    QZConveyorSideViewTypeHeader = 0,  // before the first cell
    QZConveyorSideViewTypeFooter = 1,  // after the last cell
};

enum QZConveyorOverlayType : NSInteger {
    QZConveyorOverlayTypeSingle = 0,
    QZConveyorOverlayTypeSplit = 1,
};
