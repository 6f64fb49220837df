#include "UIKit/sdl/UISDLX11Window.h"

#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11) && defined(UISDL_HAS_X11)

#include <atomic>

namespace {

// Xlib's error handler takes no context of its own: the watched window lives here. The handler
// runs on whichever thread reads an answer, and SDL's wake-ups are sent (and their answers read)
// on the threads that post to the main queue.
struct Watched {
    std::atomic<Window> window{0};
    std::atomic<bool> gone{false};
    XErrorHandler previous = nullptr;
    bool installed = false;
};
Watched watched;

int takeErrorsOfTheWatchedWindow(Display* display, XErrorEvent* error)
{
    // A window's id names it on every connection to its server, SDL's second one included.
    const Window window = watched.window.load();
    const bool aboutTheWindow = window != 0 && error->resourceid == window &&
                                (error->error_code == BadWindow || error->error_code == BadDrawable);
    if (aboutTheWindow) {
        watched.gone = true;
        return 0;
    }
    return watched.previous ? watched.previous(display, error) : 0;
}

}  // namespace

void UISDLTakeX11Errors()
{
    UISDLStopTakingX11Errors();
    // SDL keeps the handler it finds as its video starts, chains to it, and puts it back as its
    // video quits, before it closes its connections.
    watched.previous = XSetErrorHandler(takeErrorsOfTheWatchedWindow);
    watched.installed = true;
}

void UISDLWatchX11Window(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    watched.gone = false;
    watched.window = info.info.x11.window;
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

void UISDLStopTakingX11Errors()
{
    if (!watched.installed) return;
    XSetErrorHandler(watched.previous);
    watched.previous = nullptr;
    watched.installed = false;
    watched.window = 0;
    watched.gone = false;
}

bool UISDLIsX11WindowDestroyed(const SDL_Event& event)
{
    if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11) return false;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    const Window window = watched.window.load();
    return window != 0 && x.type == DestroyNotify && x.xdestroywindow.window == window;
}

bool UISDLX11WindowIsGone()
{
    return watched.gone;
}

#else

void UISDLTakeX11Errors() {}
void UISDLWatchX11Window(SDL_Window*) {}
void UISDLStopTakingX11Errors() {}
bool UISDLIsX11WindowDestroyed(const SDL_Event&)
{
    return false;
}
bool UISDLX11WindowIsGone()
{
    return false;
}

#endif
