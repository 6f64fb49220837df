#pragma once
// For tests that start a built program with a window, as a person would, and talk to it through
// the X server the display launcher (testing/run-with-display.sh) gives them.

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The first window below `parent`, depth first, whose name is `title`.
std::optional<Window> findWindowNamed(Display* display, Window parent, const std::string& title);

// Asks the window to close as a window manager would (WM_DELETE_WINDOW).
void requestWindowClose(Display* display, Window window);

// The exit status of the child (128 + the signal that ended it), or nullopt while it runs after
// `seconds` (0: look once). A reaped child's pid must not be waited for again.
std::optional<int> waitForProgramExit(pid_t child, double seconds);

// What X shows of a window now, as RGB rows from the top.
struct WindowPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};
// The window's pixels as the X server has them (not the program's idea of them); nullopt while the
// window is not viewable or not wholly on the screen, where X has no pixels for it.
std::optional<WindowPixels> grabWindowPixels(Display* display, Window window);

// The pointer as a person uses it, as events sent to the window at a point of it (in pixels):
// moved there with no button, the left button pressed there, moved there with the left button
// held, or the left button released there.
enum class PointerEvent { Move, Press, Drag, Release };
void sendPointerEvent(Display* display, Window window, PointerEvent event, int x, int y);
// One notch of the mouse wheel at a point of the window (in pixels), as X reports it: a press and
// release of button 4 (up) or 5 (down).
enum class WheelNotch { Up, Down };
void sendWheelNotch(Display* display, Window window, WheelNotch notch, int x, int y);
