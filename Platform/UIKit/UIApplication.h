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

enum UIInterfaceOrientation : NSInteger {
    UIInterfaceOrientationPortrait = 1,
    UIInterfaceOrientationPortraitUpsideDown = 2,
    UIInterfaceOrientationLandscapeRight = 3,
    UIInterfaceOrientationLandscapeLeft = 4,
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

private:
    friend class UIWindow;
    void windowBecameKey(const std::shared_ptr<UIWindow>& window);

    std::weak_ptr<UIWindow> keyWindow_;
    std::vector<std::weak_ptr<UIWindow>> windows_;
    UIInterfaceOrientation statusBarOrientation_ = UIInterfaceOrientationPortrait;
    std::vector<std::string> openedURLs_;
};
