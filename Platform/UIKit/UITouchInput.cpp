#include "UIKit/UITouchInput.h"

#include "Dispatch/DispatchMainQueue.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UITouchDelivery.h"
#include "UIKit/UIWindow.h"

#include <deque>
#include <mutex>

namespace {

struct Posted {
    bool keyWindow = false;
    std::weak_ptr<UIWindow> window;
    std::vector<UITouchInputPoint> points;
};

std::mutex& postedMutex()
{
    static auto* m = new std::mutex;
    return *m;
}

std::deque<Posted>& posted()
{
    static auto* queue = new std::deque<Posted>;
    return *queue;
}

}  // namespace

void UITouchInput::post(const std::shared_ptr<UIWindow>& window, std::vector<UITouchInputPoint> points)
{
    std::lock_guard lock(postedMutex());
    posted().push_back(Posted{!window, window, std::move(points)});
}

void UITouchInput::deliverPosted()
{
    DispatchMainQueue::requireMainThread("UITouchInput::deliverPosted");
    std::deque<Posted> batch;
    {
        std::lock_guard lock(postedMutex());
        batch.swap(posted());
    }
    for (const auto& event : batch) {
        auto window = event.keyWindow ? UIApplication::sharedApplication()->keyWindow() : event.window.lock();
        if (window) UITouchDelivery::shared().deliver(*window, event.points);
    }
}

bool UITouchInput::isTouchDown(NSInteger number)
{
    return UITouchDelivery::shared().isTouchDown(number);
}
