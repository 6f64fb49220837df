#pragma once
// The application object, the last responder of the chain: its windows, the key window, the
// status bar orientation, URLs it was asked to open (kept for tests), and the lifecycle
// notifications hosts and tests post.

#include "UIKit/UIDevice.h"
#include "UIKit/UIResponder.h"

#include <memory>
#include <string>
#include <vector>

class UIWindow;

inline constexpr const char* UIApplicationDidEnterBackgroundNotification =
    "UIApplicationDidEnterBackgroundNotification";
inline constexpr const char* UIApplicationWillEnterForegroundNotification =
    "UIApplicationWillEnterForegroundNotification";
inline constexpr const char* UIApplicationWillResignActiveNotification = "UIApplicationWillResignActiveNotification";
inline constexpr const char* UIApplicationDidBecomeActiveNotification = "UIApplicationDidBecomeActiveNotification";
inline constexpr const char* UIApplicationDidReceiveMemoryWarningNotification =
    "UIApplicationDidReceiveMemoryWarningNotification";

enum UIInterfaceOrientation : NSInteger {
    UIInterfaceOrientationPortrait = 1,
    UIInterfaceOrientationPortraitUpsideDown = 2,
    UIInterfaceOrientationLandscapeRight = 3,
    UIInterfaceOrientationLandscapeLeft = 4,
};

using UIInterfaceOrientationMask = NSUInteger;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskPortrait = 1 << UIInterfaceOrientationPortrait;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskPortraitUpsideDown =
    1 << UIInterfaceOrientationPortraitUpsideDown;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskLandscapeRight =
    1 << UIInterfaceOrientationLandscapeRight;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskLandscapeLeft =
    1 << UIInterfaceOrientationLandscapeLeft;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskLandscape =
    UIInterfaceOrientationMaskLandscapeLeft | UIInterfaceOrientationMaskLandscapeRight;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskAll =
    UIInterfaceOrientationMaskPortrait | UIInterfaceOrientationMaskPortraitUpsideDown |
    UIInterfaceOrientationMaskLandscape;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskAllButUpsideDown =
    UIInterfaceOrientationMaskPortrait | UIInterfaceOrientationMaskLandscape;

inline constexpr bool UIInterfaceOrientationIsLandscape(UIInterfaceOrientation orientation)
{
    return orientation == UIInterfaceOrientationLandscapeLeft || orientation == UIInterfaceOrientationLandscapeRight;
}

enum UIStatusBarStyle : NSInteger {
    UIStatusBarStyleDefault = 0,
    UIStatusBarStyleLightContent = 1,
};

class UIApplication : public UIResponder {
public:
    using UIResponder::UIResponder;
    static std::shared_ptr<UIApplication> sharedApplication();

    std::shared_ptr<UIWindow> keyWindow() const { return keyWindow_.lock(); }
    // Windows made key and still alive, oldest first.
    std::vector<std::shared_ptr<UIWindow>> windows() const;
    UIInterfaceOrientation statusBarOrientation() const { return statusBarOrientation_; }
    void setStatusBarOrientation(UIInterfaceOrientation orientation) { statusBarOrientation_ = orientation; }

    // Nothing is opened here: the URL is recorded and the answer is YES.
    bool openURL(const std::string& url);
    const std::vector<std::string>& openedURLs() const { return openedURLs_; }

    // The application goes to the background or comes back: posts the notifications in the
    // platform's order on the calling (main) thread.
    void enterBackground();
    void enterForeground();

    // The person turns the device. The top controller of the key window (the last presented,
    // else the root) must allow the orientation (shouldAutorotate and its supported mask);
    // then it is told willRotate, the status bar orientation and every window's bounds change
    // inside an animation of `duration` that tells it willAnimateRotation, and didRotate follows
    // the animation. A keyboard on screen hides before the turn and shows again after it. Answers
    // whether the turn happened (the same orientation is no turn).
    bool turnDeviceToOrientation(UIInterfaceOrientation orientation, double duration = 0.3);
    // The system runs short of memory: posts the notification, then tells the root and presented
    // controllers of every window.
    void simulateMemoryWarning();

private:
    friend class UIWindow;
    void windowBecameKey(const std::shared_ptr<UIWindow>& window);

    std::weak_ptr<UIWindow> keyWindow_;
    std::vector<std::weak_ptr<UIWindow>> windows_;
    UIInterfaceOrientation statusBarOrientation_ = UIInterfaceOrientationPortrait;
    std::vector<std::string> openedURLs_;
};
