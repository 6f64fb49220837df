#include "UIKit/sdl/UISDLHost.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSNotificationCenter.h"
#include "UIKit/UIApplication.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace {

void pushWindowEvent(Uint8 which)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = which;
    SDL_PushEvent(&event);
}

// Under SDL's dummy video driver: a window shows, composites frames, runs what is posted from
// another thread, reports minimising and restoring, and ends when closed.
TEST(UISDLHostSmokeTest, ShowsAWindowAndFollowsItsLifecycle)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    auto window = UIWindow::window();
    window->setBackgroundColor(UIColor::orangeColor());
    std::string error;
    auto host = UISDLHost::open(window, "smoke", &error);
    if (!host) GTEST_SKIP() << "no SDL video: " << error;
    EXPECT_TRUE(window->isKeyWindow());

    std::vector<std::string> heard;
    auto center = NSNotificationCenter::defaultCenter();
    auto background = center->addObserverForName(UIApplicationDidEnterBackgroundNotification, nullptr,
                                                 [&](const auto& n) { heard.push_back(n->name()); });
    auto foreground = center->addObserverForName(UIApplicationWillEnterForegroundNotification, nullptr,
                                                 [&](const auto& n) { heard.push_back(n->name()); });
    bool ran = false;
    std::thread([&] { dispatch_async(dispatch_get_main_queue(), [&] { ran = true; }); }).join();
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    EXPECT_GT(host->run(0.2), 0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(heard, (std::vector<std::string>{UIApplicationDidEnterBackgroundNotification,
                                               UIApplicationWillEnterForegroundNotification}));
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    host->run(10);  // returns at the close, long before the limit
    center->removeObserver(background);
    center->removeObserver(foreground);
}

}  // namespace
