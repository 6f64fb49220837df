#include "UIKit/sdl/UISDLHost.h"
#include "UIKit/sdl/UISDLX11Window.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIKeyboard.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIScrollView.h"
#include "UIKit/UITouchInput.h"
#include "QuartzCore/CALayerCompositor.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

// Points a wheel notch (or a touchpad's scroll of the same amount) moves the content.
constexpr CGFloat kPointsPerWheelNotch = 40;

}  // namespace

struct UISDLHost::Impl {
    std::shared_ptr<UIWindow> window;
    SDL_Window* sdlWindow = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    Uint32 wakeEvent = 0;
    int textureWidth = 0, textureHeight = 0;
    bool mouseDown = false;
    bool closed = false;
    bool inBackground = false;  // sent there by minimising
    bool mirrored = false;  // Shift was held at the press: a second finger mirrors the first
    CALayerCompositor compositor;
    std::uint64_t changesComposited = 0;
    bool composited = false;  // the texture holds a frame

    CGPoint windowPoint(int x, int y) const
    {
        int w = 0, h = 0;
        SDL_GetWindowSize(sdlWindow, &w, &h);
        CGRect b = window->bounds();
        return CGPointMake(w > 0 ? x * b.size.width / CGFloat(w) : CGFloat(x),
                           h > 0 ? y * b.size.height / CGFloat(h) : CGFloat(y));
    }

    // The left button is one finger; with Shift held when it goes down, a second finger moves
    // mirrored through the window's centre, so a mouse can pinch and rotate.
    void postMouse(UITouchPhase phase, int x, int y)
    {
        CGPoint p = windowPoint(x, y);
        std::vector<UITouchInputPoint> points{{0, phase, p}};
        if (mirrored) {
            CGRect b = window->bounds();
            points.push_back({1, phase, CGPointMake(b.size.width - p.x, b.size.height - p.y)});
        }
        UITouchInput::post(window, std::move(points));
    }

    void handleMouse(const SDL_Event& event)
    {
        if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT && !mouseDown) {
            mouseDown = true;
            mirrored = (SDL_GetModState() & KMOD_SHIFT) != 0;
            postMouse(UITouchPhaseBegan, event.button.x, event.button.y);
        } else if (event.type == SDL_MOUSEMOTION && mouseDown) {
            postMouse(UITouchPhaseMoved, event.motion.x, event.motion.y);
        } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT && mouseDown) {
            postMouse(UITouchPhaseEnded, event.button.x, event.button.y);
            mouseDown = false;
        }
    }

    // The wheel scrolls the innermost scroll view under the pointer that can move that way, as a
    // drag would; no touch goes down, so nothing under the pointer is tapped or highlighted.
    void handleWheel(const SDL_Event& event)
    {
        if (event.type != SDL_MOUSEWHEEL || mouseDown) return;
        const CGFloat flip = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
        // Wheel up (positive y) shows what is above: towards smaller offsets.
        const CGPoint delta = CGPointMake(event.wheel.preciseX * flip * kPointsPerWheelNotch,
                                          -event.wheel.preciseY * flip * kPointsPerWheelNotch);
        if (delta.x == 0 && delta.y == 0) return;
        const CGPoint p = windowPoint(event.wheel.mouseX, event.wheel.mouseY);
        for (std::shared_ptr<UIView> view = window->hitTest(p, nullptr); view; view = view->superview())
            if (auto scroll = std::dynamic_pointer_cast<UIScrollView>(view))
                if (scroll->scrollByWheel(delta)) return;
    }

    // Typed text reaches the keyboard, which takes it only while a key input is first responder.
    // SDL's text input is turned on for that (the desktop's keyboard layout and input methods
    // compose the characters) and otherwise left as SDL keeps it: turning it off and on with every
    // turn works the X input method for nothing.
    void followKeyInput()
    {
        if (UIKeyboard::sharedKeyboard()->keyResponder() && !SDL_IsTextInputActive()) SDL_StartTextInput();
    }

    void handleKeys(const SDL_Event& event)
    {
        auto keyboard = UIKeyboard::sharedKeyboard();
        if (event.type == SDL_TEXTINPUT) {
            keyboard->typeText(event.text.text);
        } else if (event.type == SDL_KEYDOWN) {
            const SDL_Keycode key = event.key.keysym.sym;
            if (key == SDLK_RETURN || key == SDLK_KP_ENTER) keyboard->pressReturn();
            if (key == SDLK_BACKSPACE) keyboard->pressBackspace();
        }
    }

    void minimised(bool yes)
    {
        if (yes == inBackground) return;
        inBackground = yes;
        if (yes)
            UIApplication::sharedApplication()->enterBackground();
        else
            UIApplication::sharedApplication()->enterForeground();
    }

    // A closed window leaves no application in the background, where its GL work stays paused:
    // what it still has to do (an edit written, its queues drained) must run. A window destroyed
    // from outside is unmapped first, which SDL reports as minimised.
    void close()
    {
        closed = true;
        minimised(false);
    }

    ~Impl()
    {
        DispatchMainQueue::setWakeHandler(nullptr);
        if (texture) SDL_DestroyTexture(texture);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (sdlWindow) SDL_DestroyWindow(sdlWindow);
        // Quitting closes SDL's connections, which reads X's last answers about the window.
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        UISDLStopTakingX11Errors();
    }

    // Something may look different: a layer changed (a GL layer's present counts), or an
    // animation runs.
    bool frameDue() const
    {
        return !composited || CALayerChangesSoFar() != changesComposited || CAAnimationsPending();
    }

    // Brings the frame up to date and shows what was drawn again; answers whether anything was.
    bool composite()
    {
        window->layoutIfNeeded();
        const std::vector<CALayerPixelRect> drawn = compositor.composite(*window->layer(), UIScreen::mainScreen()->scale());
        // Changes made while compositing (presentation copies, backing images) are in this frame.
        changesComposited = CALayerChangesSoFar();
        if (drawn.empty()) return false;
        const int w = int(compositor.width()), h = int(compositor.height());
        bool whole = false;
        if (!texture || w != textureWidth || h != textureHeight) {
            if (texture) SDL_DestroyTexture(texture);
            texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING, w, h);
            textureWidth = w, textureHeight = h;
            whole = true;
        }
        if (!texture) return false;
        const int stride = int(compositor.bytesPerRow());
        if (whole) {
            SDL_UpdateTexture(texture, nullptr, compositor.pixels(), stride);
        } else {
            for (const CALayerPixelRect& r : drawn) {
                const SDL_Rect rect{r.x, r.y, r.width, r.height};
                SDL_UpdateTexture(texture, &rect, compositor.pixels() + size_t(r.y) * size_t(stride) + size_t(r.x) * 4,
                                  stride);
            }
        }
        composited = true;
        present();
        return true;
    }

    void present()
    {
        if (!texture) return;
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }

    // Where the window goes: centred on the display's usable area, its top left inside it even
    // when it is larger.
    static SDL_Rect placement(int width, int height)
    {
        SDL_Rect area{};
        if (SDL_GetDisplayUsableBounds(0, &area) != 0) return {int(SDL_WINDOWPOS_CENTERED), int(SDL_WINDOWPOS_CENTERED), width, height};
        return {area.x + std::max(0, (area.w - width) / 2), area.y + std::max(0, (area.h - height) / 2), width, height};
    }

    // A window manager's frame may push the window down past the usable area's top or right:
    // back inside, frame and all, where it fits.
    void keepOnScreen()
    {
        SDL_Rect area{};
        int top = 0, left = 0, bottom = 0, right = 0, x = 0, y = 0, w = 0, h = 0;
        if (SDL_GetDisplayUsableBounds(0, &area) != 0 || SDL_GetWindowBordersSize(sdlWindow, &top, &left, &bottom, &right) != 0)
            return;
        SDL_GetWindowPosition(sdlWindow, &x, &y);
        SDL_GetWindowSize(sdlWindow, &w, &h);
        const int nx = std::max(area.x + left, std::min(x, area.x + area.w - right - w));
        const int ny = std::max(area.y + top, std::min(y, area.y + area.h - bottom - h));
        if (nx != x || ny != y) SDL_SetWindowPosition(sdlWindow, nx, ny);
    }
};

UISDLHost::UISDLHost(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
UISDLHost::~UISDLHost() = default;

std::optional<CGSize> UISDLHost::usableDisplaySize()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return std::nullopt;
    SDL_Rect area{};
    const bool known = SDL_GetDisplayUsableBounds(0, &area) == 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (!known) return std::nullopt;
    return CGSizeMake(CGFloat(area.w), CGFloat(area.h));
}

std::unique_ptr<UISDLHost> UISDLHost::open(std::shared_ptr<UIWindow> window, const std::string& title,
                                           std::string* error)
{
    DispatchMainQueue::requireMainThread("UISDLHost::open");
    UISDLTakeX11Errors();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = SDL_GetError();
        UISDLStopTakingX11Errors();
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->window = std::move(window);
    // One window pixel per snapshot pixel: the tree is drawn at the screen's scale, never resampled.
    const CGFloat scale = UIScreen::mainScreen()->scale();
    CGRect b = impl->window->bounds();
    // Everything drawn here is one composited bitmap, so the window needs no GL of its own; and it
    // must have none: a GL context current on the main thread (SDL's GL renderer, or the GL texture
    // that SDL puts behind a window surface by default) keeps the editor's shared EGL context from
    // being made current there during a hand-over from the GL thread (EGL_BAD_ACCESS).
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_OVERRIDE);
    // The frame's size: whole pixels covering the points, as a snapshot has them.
    const SDL_Rect place = Impl::placement(int(std::ceil(b.size.width * scale)), int(std::ceil(b.size.height * scale)));
    impl->sdlWindow = SDL_CreateWindow(title.c_str(), place.x, place.y, place.w, place.h, 0);
    if (impl->sdlWindow) impl->renderer = SDL_CreateRenderer(impl->sdlWindow, -1, SDL_RENDERER_SOFTWARE);
    if (!impl->sdlWindow || !impl->renderer) {
        if (error) *error = SDL_GetError();
        return nullptr;
    }
    UISDLWatchX11Window(impl->sdlWindow);
    impl->wakeEvent = SDL_RegisterEvents(1);
    Uint32 wake = impl->wakeEvent;
    // Any thread may post to the main queue: SDL_PushEvent is thread-safe and wakes the wait.
    DispatchMainQueue::setWakeHandler([wake] {
        SDL_Event event{};
        event.type = wake;
        SDL_PushEvent(&event);
    });
    impl->window->makeKeyAndVisible();
    impl->keepOnScreen();
    return std::unique_ptr<UISDLHost>(new UISDLHost(std::move(impl)));
}

bool UISDLHost::isClosed() const
{
    return impl_->closed;
}

int UISDLHost::run(double seconds)
{
    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    auto nextFrame = start;
    int frames = 0;
    for (;;) {
        if (impl_->closed) return frames;
        SDL_Event event;
        // Nothing to draw: sleep until an event, a post to the main queue (which pushes one) or the
        // end of the run, looking again a few times a second.
        auto wakeAt = nextFrame;
        if (!impl_->frameDue()) wakeAt = std::max(nextFrame, Clock::now() + std::chrono::milliseconds(250));
        if (seconds > 0) wakeAt = std::min(wakeAt, start + std::chrono::duration_cast<Clock::duration>(
                                                               std::chrono::duration<double>(seconds)));
        int timeout = int(std::chrono::duration_cast<std::chrono::milliseconds>(wakeAt - Clock::now()).count());
        bool got = SDL_WaitEventTimeout(&event, timeout > 0 ? timeout : 0) != 0;
        while (got) {
            if (event.type == SDL_QUIT || UISDLIsX11WindowDestroyed(event)) impl_->close();
            impl_->handleMouse(event);
            impl_->handleWheel(event);
            impl_->handleKeys(event);
            if (event.type == SDL_WINDOWEVENT) {
                if (event.window.event == SDL_WINDOWEVENT_CLOSE) impl_->close();
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED) impl_->present();
                if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) impl_->compositor.invalidate();
                if (event.window.event == SDL_WINDOWEVENT_MINIMIZED) impl_->minimised(true);
                if (event.window.event == SDL_WINDOWEVENT_RESTORED) impl_->minimised(false);
            }
            got = !impl_->closed && SDL_PollEvent(&event) != 0;
        }
        if (impl_->closed) return frames;
        DispatchRunLoop::drain();
        impl_->followKeyInput();
        // At most once a frame, and only when something may have changed: an idle window sleeps
        // in the wait for events.
        if (Clock::now() >= nextFrame) {
            if (impl_->frameDue() && impl_->composite()) ++frames;
            // Destroyed from outside while drawing: closed as well.
            if (UISDLX11WindowIsGone()) impl_->close();
            nextFrame = Clock::now() + std::chrono::microseconds(16667);
        }
        if (seconds > 0 && Clock::now() - start >= std::chrono::duration<double>(seconds)) return frames;
    }
}
