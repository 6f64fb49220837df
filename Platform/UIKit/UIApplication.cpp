#include "UIKit/UIApplication.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSNotificationCenter.h"
#include "UIKit/UIWindow.h"

std::shared_ptr<UIApplication> UIApplication::sharedApplication()
{
    static auto* app = new std::shared_ptr<UIApplication>(NSObject::create<UIApplication>());
    return *app;
}

std::vector<std::shared_ptr<UIWindow>> UIApplication::windows() const
{
    std::vector<std::shared_ptr<UIWindow>> alive;
    for (const auto& w : windows_)
        if (auto window = w.lock()) alive.push_back(window);
    return alive;
}

void UIApplication::windowBecameKey(const std::shared_ptr<UIWindow>& window)
{
    keyWindow_ = window;
    std::erase_if(windows_, [&](const auto& w) { return w.expired() || w.lock() == window; });
    windows_.push_back(window);
}

bool UIApplication::openURL(const std::string& url)
{
    openedURLs_.push_back(url);
    return true;
}

void UIApplication::enterBackground()
{
    DispatchMainQueue::requireMainThread("-[UIApplication enterBackground]");
    auto center = NSNotificationCenter::defaultCenter();
    center->postNotificationName(UIApplicationWillResignActiveNotification, self());
    center->postNotificationName(UIApplicationDidEnterBackgroundNotification, self());
}

void UIApplication::enterForeground()
{
    DispatchMainQueue::requireMainThread("-[UIApplication enterForeground]");
    auto center = NSNotificationCenter::defaultCenter();
    center->postNotificationName(UIApplicationWillEnterForegroundNotification, self());
    center->postNotificationName(UIApplicationDidBecomeActiveNotification, self());
}
