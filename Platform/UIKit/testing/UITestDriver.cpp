#include "UIKit/testing/UITestDriver.h"

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "UIKit/UIWindow.h"

namespace {
constexpr double kFrame = 1.0 / 60;
}

UITestDriver::UITestDriver()
{
    DispatchClock::useVirtualTime(true);
}

UITestDriver::~UITestDriver()
{
    DispatchClock::useVirtualTime(false);
}

void UITestDriver::turn()
{
    DispatchRunLoop::drain();
}

void UITestDriver::advance(double seconds)
{
    turn();
    // The clock turns the run loop at every frame boundary and due time on the way.
    DispatchClock::advance(seconds);
    turn();
}

bool UITestDriver::runUntil(const std::function<bool()>& predicate, double timeout)
{
    for (double waited = 0;; waited += kFrame) {
        turn();
        if (predicate()) return true;
        if (waited >= timeout) return false;
        DispatchClock::advance(kFrame);
    }
}

std::shared_ptr<UIImage> UITestDriver::snapshot(UIView& view)
{
    return UIViewSnapshot(view);
}

bool UITestDriver::writeSnapshot(UIView& view, const std::string& path)
{
    return UIImageWritePNGToFile(snapshot(view), path);
}
