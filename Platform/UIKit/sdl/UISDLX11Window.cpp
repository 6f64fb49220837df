#include "UIKit/sdl/UISDLX11Window.h"

#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11) && defined(UISDL_HAS_X11)

namespace {

// Xlib's error handler takes no context of its own: the watched window lives here.
struct Watched {
    Display* display = nullptr;
    Window window = 0;
    bool gone = false;
    XErrorHandler previous = nullptr;
};
Watched watched;

int takeErrorsOfTheWatchedWindow(Display* display, XErrorEvent* error)
{
    const bool aboutTheWindow = display == watched.display && error->resourceid == watched.window &&
                                (error->error_code == BadWindow || error->error_code == BadDrawable);
    if (aboutTheWindow) {
        watched.gone = true;
        return 0;
    }
    return watched.previous ? watched.previous(display, error) : 0;
}

}  // namespace

void UISDLWatchX11Window(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    UISDLStopWatchingX11Window();
    watched = Watched{info.info.x11.display, info.info.x11.window, false, nullptr};
    watched.previous = XSetErrorHandler(takeErrorsOfTheWatchedWindow);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

void UISDLStopWatchingX11Window()
{
    if (!watched.display) return;
    XSync(watched.display, False);
    XSetErrorHandler(watched.previous);
    watched = Watched{};
}

bool UISDLIsX11WindowDestroyed(const SDL_Event& event)
{
    if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11) return false;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    return watched.display && x.type == DestroyNotify && x.xdestroywindow.window == watched.window;
}

bool UISDLX11WindowIsGone()
{
    return watched.gone;
}

#else

void UISDLWatchX11Window(SDL_Window*) {}
void UISDLStopWatchingX11Window() {}
bool UISDLIsX11WindowDestroyed(const SDL_Event&)
{
    return false;
}
bool UISDLX11WindowIsGone()
{
    return false;
}

#endif
