#pragma once
// An SDL window's X11 window destroyed by another client (XDestroyWindow, a window killer) is
// the window being closed: its DestroyNotify ends the loop, and the errors X answers for requests
// on the window that is gone are taken here rather than by Xlib's default handler, which would end
// the process. Those come on any of SDL's connections: besides drawing on the window, SDL sends a
// wake-up event to it on a second connection of its own for every event pushed while the loop
// waits (SDL's own DestroyNotify event among them), and that connection reads the answer only when
// SDL's video quits, after SDL has put back the error handler it found when its video started.
// So the handler goes in before SDL's video starts and stays until it has quit. Elsewhere than on
// X11 these do nothing. One window at a time.

#include <SDL.h>

// Before SDL's video starts: X's errors pass through here from then on.
void UISDLTakeX11Errors();
// Once the window is made: errors about it are taken, and SDL_SYSWMEVENT is turned on for it.
void UISDLWatchX11Window(SDL_Window* window);
// After SDL's video has quit (or failed to start): the handler that was there before is back.
void UISDLStopTakingX11Errors();
// The event says the watched window was destroyed.
bool UISDLIsX11WindowDestroyed(const SDL_Event& event);
// X has refused a request on the watched window because it no longer exists.
bool UISDLX11WindowIsGone();
