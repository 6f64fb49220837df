#pragma once
// An SDL window's X11 window destroyed by another client (XDestroyWindow, a window killer) is
// the window being closed: its DestroyNotify ends the loop, and the errors X answers for drawing
// on or destroying the window that is gone are taken here rather than by Xlib's default handler,
// which would end the process. Elsewhere than on X11 these do nothing. One window at a time.

#include <SDL.h>

// From the window's creation until UISDLStopWatchingX11Window; SDL_SYSWMEVENT is turned on for it.
void UISDLWatchX11Window(SDL_Window* window);
// After SDL_DestroyWindow and before SDL's video quits: the answers to the window's last requests
// are taken, then the handler that was there before is back.
void UISDLStopWatchingX11Window();
// The event says the watched window was destroyed.
bool UISDLIsX11WindowDestroyed(const SDL_Event& event);
// X has refused a request on the watched window because it no longer exists.
bool UISDLX11WindowIsGone();
