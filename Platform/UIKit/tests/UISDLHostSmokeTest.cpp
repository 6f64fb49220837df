#include "UIKit/sdl/UISDLHost.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/PlatformSettings.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIScrollView.h"
#include "UIKit/UITextView.h"
#include "UITouchTestSupport.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace {

// The application's background and foreground notifications, in the order they came, while it lives.
struct HeardLifecycle {
    HeardLifecycle()
    {
        for (const char* name :
             {UIApplicationDidEnterBackgroundNotification, UIApplicationWillEnterForegroundNotification})
            observers.push_back(
                center->addObserverForName(name, nullptr, [this](const auto& n) { heard.push_back(n->name()); }));
    }
    ~HeardLifecycle()
    {
        for (const auto& observer : observers) center->removeObserver(observer);
    }
    HeardLifecycle(const HeardLifecycle&) = delete;
    HeardLifecycle& operator=(const HeardLifecycle&) = delete;

    std::shared_ptr<NSNotificationCenter> center = NSNotificationCenter::defaultCenter();
    std::vector<std::shared_ptr<NSObject>> observers;
    std::vector<std::string> heard;
};

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

    HeardLifecycle lifecycle;
    bool ran = false;
    std::thread([&] { dispatch_async(dispatch_get_main_queue(), [&] { ran = true; }); }).join();
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    EXPECT_GT(host->run(0.2), 0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(lifecycle.heard, (std::vector<std::string>{UIApplicationDidEnterBackgroundNotification,
                                                         UIApplicationWillEnterForegroundNotification}));
    EXPECT_FALSE(host->isClosed());
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    host->run(10);  // returns at the close, long before the limit
    // The close is kept: a host loop asks for it instead of timing its turns, and no turn runs after.
    EXPECT_TRUE(host->isClosed());
    EXPECT_EQ(host->run(10), 0);
}

// A window closed while minimised (a window destroyed from outside is unmapped first, which reads
// as minimised) leaves no application in the background, where its GL work would stay paused and
// the host's last drain never end.
TEST(UISDLHostSmokeTest, ClosingAMinimisedWindowBringsTheApplicationBack)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    auto window = UIWindow::window();
    std::string error;
    auto host = UISDLHost::open(window, "minimised", &error);
    if (!host) GTEST_SKIP() << "no SDL video: " << error;

    HeardLifecycle lifecycle;
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    host->run(10);
    EXPECT_TRUE(host->isClosed());
    EXPECT_EQ(lifecycle.heard, (std::vector<std::string>{UIApplicationDidEnterBackgroundNotification,
                                                         UIApplicationWillEnterForegroundNotification}));
}

void pushMouse(Uint32 type, int x, int y)
{
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x, event.motion.y = y;
        event.motion.state = SDL_BUTTON_LMASK;
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = x, event.button.y = y;
    }
    SDL_PushEvent(&event);
}

// The left button is one finger; with Shift held as it goes down, a second finger mirrors it
// through the window's centre. The window has the screen's scale in pixels per point.
TEST(UISDLHostSmokeTest, TheMouseTouches)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    PlatformSettings::setScreenScale(2);
    auto window = UIWindow::window();
    auto view = UIView::viewWithFrame<RecordingView>(window->bounds());
    view->setMultipleTouchEnabled(true);
    window->addSubview(view);
    std::string error;
    auto host = UISDLHost::open(window, "mouse", &error);
    if (!host) GTEST_SKIP() << "no SDL video: " << error;

    pushMouse(SDL_MOUSEBUTTONDOWN, 100, 100);
    pushMouse(SDL_MOUSEMOTION, 110, 100);
    pushMouse(SDL_MOUSEBUTTONUP, 110, 100);
    host->run(0.05);
    EXPECT_EQ(view->heard, (std::vector<std::string>{"began", "moved", "ended"}));

    view->heard.clear();
    SDL_SetModState(KMOD_LSHIFT);  // read as the press is handled
    pushMouse(SDL_MOUSEBUTTONDOWN, 100, 100);
    host->run(0.02);
    SDL_SetModState(KMOD_NONE);
    pushMouse(SDL_MOUSEMOTION, 90, 100);
    host->run(0.05);
    ASSERT_EQ(view->heard, (std::vector<std::string>{"began x2", "moved x2"}));
    CGRect b = window->bounds();
    pushMouse(SDL_MOUSEBUTTONUP, 90, 100);
    host->run(0.05);
    EXPECT_EQ(view->heard.back(), "ended x2");
    EXPECT_EQ(view->lastLocations.size(), 2u);
    // Window pixel (90, 100) is point (45, 50).
    EXPECT_EQ(view->lastLocations[0].x, 45);
    EXPECT_EQ(view->lastLocations[1].x, b.size.width - 45);
    EXPECT_EQ(view->lastLocations[1].y, b.size.height - 50);
}

void pushWheel(int x, int y, float notchesUp)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = int(notchesUp);
    event.wheel.preciseY = notchesUp;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    event.wheel.mouseX = x, event.wheel.mouseY = y;
    SDL_PushEvent(&event);
}

// The wheel scrolls the innermost scroll view under the pointer that can move that way, touching
// nothing: the view under the pointer hears no touch. Window pixels are points times the scale.
TEST(UISDLHostSmokeTest, TheWheelScrollsTheScrollViewUnderThePointer)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    PlatformSettings::setScreenScale(2);
    auto window = UIWindow::window();
    auto page = UIView::viewWithFrame<UIScrollView>(window->bounds());
    page->setContentSize(CGSizeMake(window->bounds().size.width, 2000));
    window->addSubview(page);
    auto strip = UIView::viewWithFrame<UIScrollView>(CGRectMake(0, 100, 320, 60));
    strip->setContentSize(CGSizeMake(1000, 60));
    page->addSubview(strip);
    auto cell = UIView::viewWithFrame<RecordingView>(CGRectMake(0, 0, 1000, 60));
    strip->addSubview(cell);
    std::string error;
    auto host = UISDLHost::open(window, "wheel", &error);
    if (!host) GTEST_SKIP() << "no SDL video: " << error;

    pushWheel(100, 260, -2);  // two notches down over the strip
    host->run(0.05);
    EXPECT_EQ(strip->contentOffset().x, 80);
    EXPECT_EQ(page->contentOffset().y, 0);
    EXPECT_TRUE(cell->heard.empty()) << "the wheel touched the cell";

    pushWheel(100, 600, -1);  // below the strip: the page
    host->run(0.05);
    EXPECT_EQ(page->contentOffset().y, 40);
    strip->setContentOffset(CGPointZero);
    pushWheel(100, 260, 3);  // up over the strip, which is at its left edge already: the page takes it
    host->run(0.05);
    EXPECT_EQ(page->contentOffset().y, 0);
}

void pushText(const char* text)
{
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
    SDL_PushEvent(&event);
}

void pushKey(SDL_Keycode key)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

// Text typed on the desktop reaches a focused text view through the keyboard; with nothing
// focused it reaches nothing.
TEST(UISDLHostSmokeTest, TypingReachesTheFocusedKeyInput)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    auto window = UIWindow::window();
    auto text = UIView::viewWithFrame<UITextView>(CGRectMake(10, 10, 200, 40));
    window->addSubview(text);
    std::string error;
    auto host = UISDLHost::open(window, "keys", &error);
    if (!host) GTEST_SKIP() << "no SDL video: " << error;

    pushText("x");
    pushKey(SDLK_RETURN);
    host->run(0.05);
    EXPECT_EQ(text->text(), "") << "nothing focused takes it";

    SDL_StopTextInput();
    ASSERT_TRUE(text->becomeFirstResponder());
    host->run(0.05);
    EXPECT_TRUE(SDL_IsTextInputActive()) << "turned on for the key input";
    pushText("ol\u00e1");
    pushKey(SDLK_RETURN);
    pushText("b");
    pushKey(SDLK_BACKSPACE);
    host->run(0.05);
    EXPECT_EQ(text->text(), "Ol\u00e1\n") << "typed through the keyboard's capitalisation";

    ASSERT_TRUE(text->resignFirstResponder());
    pushText("z");
    host->run(0.05);
    EXPECT_EQ(text->text(), "Ol\u00e1\n") << "nothing after the key input resigned";
}

}  // namespace
