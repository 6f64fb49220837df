#pragma once
// For tests that start a built program with a window, as a person would, and talk to it through
// the X server the display launcher (testing/run-with-display.sh) gives them.

#include <X11/Xlib.h>
#include <sys/types.h>

#include <optional>
#include <string>

// The first window below `parent`, depth first, whose name is `title`.
std::optional<Window> findWindowNamed(Display* display, Window parent, const std::string& title);

// Asks the window to close as a window manager would (WM_DELETE_WINDOW).
void requestWindowClose(Display* display, Window window);

// The exit status of the child (128 + the signal that ended it), or nullopt while it runs after
// `seconds` (0: look once). A reaped child's pid must not be waited for again.
std::optional<int> waitForProgramExit(pid_t child, double seconds);
