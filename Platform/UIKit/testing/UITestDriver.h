#pragma once
// The test driver of every screen test: virtual time for the duration of the driver, run-loop
// turns on it, and snapshots. Tests act as a person would (touches come with the event layer).

#include "UIKit/UIImage.h"
#include "UIKit/UIView.h"

#include <functional>
#include <memory>
#include <string>

class UITestDriver {
public:
    // Switches the clock to virtual time; the destructor switches it back.
    UITestDriver();
    ~UITestDriver();
    UITestDriver(const UITestDriver&) = delete;
    UITestDriver& operator=(const UITestDriver&) = delete;

    // One run-loop turn at the current time.
    void turn();
    // Moves the clock on by `seconds`, a turn at every frame boundary (1/60 s) and due time on the
    // way, so that what falls due runs at its own time.
    void advance(double seconds);
    // Turns (advancing a frame of virtual time each) until the predicate holds or `timeout`
    // seconds of virtual time have passed; answers the predicate's last value.
    bool runUntil(const std::function<bool()>& predicate, double timeout = 5);

    static std::shared_ptr<UIImage> snapshot(UIView& view);
    // The snapshot as a PNG file; false when it cannot be written.
    static bool writeSnapshot(UIView& view, const std::string& path);
};
