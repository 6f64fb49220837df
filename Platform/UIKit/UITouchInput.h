#pragma once
// Where touches come in: a host (the SDL window) or the test driver posts what the fingers did,
// in window coordinates, by touch number; the input stage of the next run-loop turn delivers it
// (hosts turn the loop after posting). A touch number
// is free again once its touch has ended or been cancelled. Posting is safe from any thread.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObjCRuntime.h"
#include "UIKit/UITouch.h"

#include <memory>
#include <vector>

class UIWindow;

struct UITouchInputPoint {
    NSInteger number = 0;
    UITouchPhase phase = UITouchPhaseBegan;
    CGPoint location{};  // in the window's coordinates
};

class UITouchInput {
public:
    // One event: the touches that changed together (a pinch moves both fingers in one event).
    // A null window means the key window at delivery.
    static void post(const std::shared_ptr<UIWindow>& window, std::vector<UITouchInputPoint> points);
    // Delivers what was posted, in order (the run loop's input stage calls it).
    static void deliverPosted();
    // Whether a touch with this number is down now (main thread).
    static bool isTouchDown(NSInteger number);
};
