#pragma once
// Shows a UIWindow in a desktop window through SDL2, for people: the real clock, the main run loop
// turned from SDL's event loop (woken when work is posted to the main queue), the window's tree
// composited at most once a frame. The desktop window has the UIWindow's size in points times the
// screen's scale in pixels, one pixel per pixel of the composited tree, and is drawn without any GL
// context on the main thread, which stays free to take the GL thread's context in a hand-over.
// The left mouse button is one touch (with Shift held as it goes down, a second touch mirrored
// through the window's centre: pinch and rotate with a mouse). Minimising sends the application to
// the background and restoring brings it back; closing ends the loop, as does another X client
// destroying the window (UISDLX11Window.h), and brings a minimised application back, so that what
// it still has to do runs. While a key input is first responder, typed text,
// Return and Backspace reach it through the keyboard.

#include "UIKit/UIWindow.h"

#include <memory>
#include <optional>
#include <string>

class UISDLHost {
public:
    // The pixels of the primary display's usable area (without panels and docks), for a host that
    // picks the screen's scale before it opens a window; nullopt when SDL's video cannot start.
    static std::optional<CGSize> usableDisplaySize();

    // Null, with the reason, when SDL's video cannot start or the window cannot be made.
    static std::unique_ptr<UISDLHost> open(std::shared_ptr<UIWindow> window, const std::string& title,
                                           std::string* error);
    ~UISDLHost();
    UISDLHost(const UISDLHost&) = delete;
    UISDLHost& operator=(const UISDLHost&) = delete;

    // Runs until the window is closed or, when positive, `seconds` have passed; answers the
    // number of frames composited. Returns at once once the window has been closed.
    int run(double seconds = 0);
    // The window was closed (by the person, the window manager or a quit request): a turn that
    // ends then may have run its full time, so a host loop asks this rather than timing it.
    bool isClosed() const;

private:
    struct Impl;
    explicit UISDLHost(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
