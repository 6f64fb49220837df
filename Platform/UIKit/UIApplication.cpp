#include "UIKit/UIApplication.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSNotificationCenter.h"
#include "UIKit/UIKeyboard.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIWindow.h"

namespace {
// The root controller and the chain of controllers presented over it, bottom first.
std::vector<std::shared_ptr<UIViewController>> controllersShownIn(const UIWindow& window)
{
    std::vector<std::shared_ptr<UIViewController>> chain;
    for (auto c = window.rootViewController(); c; c = c->presentedViewController()) chain.push_back(c);
    return chain;
}
}  // namespace

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
    UIKeyboard::sharedKeyboard()->update();
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

bool UIApplication::turnDeviceToOrientation(UIInterfaceOrientation orientation, double duration)
{
    DispatchMainQueue::requireMainThread("-[UIApplication turnDeviceToOrientation:]");
    if (orientation < UIInterfaceOrientationPortrait || orientation > UIInterfaceOrientationLandscapeLeft) return false;
    if (orientation == statusBarOrientation_) return false;
    std::shared_ptr<UIViewController> top;
    if (auto key = keyWindow()) {
        auto chain = controllersShownIn(*key);
        if (!chain.empty()) top = chain.back();
    }
    if (top && (!top->shouldAutorotate() ||
                !(top->supportedInterfaceOrientations() & (UIInterfaceOrientationMask(1) << orientation))))
        return false;

    const UIInterfaceOrientation from = statusBarOrientation_;
    // The keyboard goes before the turn and comes back after it, at the new size.
    UIKeyboard::sharedKeyboard()->deviceWillTurn();
    if (top) top->willRotateToInterfaceOrientation(orientation, duration);
    CGSize screen = UIScreen::mainScreen()->bounds().size;
    CGSize turned = UIInterfaceOrientationIsLandscape(orientation) ? CGSizeMake(screen.height, screen.width) : screen;
    UIView::animateWithDuration(
        duration,
        [&] {
            statusBarOrientation_ = orientation;
            for (const auto& window : windows()) {
                CGRect b = window->bounds();
                window->setBounds(CGRectMake(b.origin.x, b.origin.y, turned.width, turned.height));
            }
            if (top) top->willAnimateRotationToInterfaceOrientation(orientation, duration);
        },
        [top, from](bool) {
            if (top) top->didRotateFromInterfaceOrientation(from);
            UIKeyboard::sharedKeyboard()->deviceDidTurn();
        });
    return true;
}

void UIApplication::simulateMemoryWarning()
{
    DispatchMainQueue::requireMainThread("-[UIApplication simulateMemoryWarning]");
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidReceiveMemoryWarningNotification,
                                                                self());
    for (const auto& window : windows())
        for (const auto& controller : controllersShownIn(*window)) controller->didReceiveMemoryWarning();
}
