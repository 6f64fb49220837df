#pragma once
// Shows a UIWindow in a desktop window through SDL2, for people: the real clock, the main run loop
// turned from SDL's event loop (woken when work is posted to the main queue), the window's tree
// composited at most once a frame. The left mouse button is one touch (with Shift held as it goes
// down, a second touch mirrored through the window's centre: pinch and rotate with a mouse).
// Minimising sends the application to the background and restoring brings it back; closing ends
// the loop. While a key input is first responder, typed text, Return and Backspace reach it
// through the keyboard.

#include "UIKit/UIWindow.h"

#include <memory>
#include <string>

class UISDLHost {
public:
    // Null, with the reason, when SDL's video cannot start or the window cannot be made.
    static std::unique_ptr<UISDLHost> open(std::shared_ptr<UIWindow> window, const std::string& title,
                                           std::string* error);
    ~UISDLHost();
    UISDLHost(const UISDLHost&) = delete;
    UISDLHost& operator=(const UISDLHost&) = delete;

    // Runs until the window is closed or, when positive, `seconds` have passed; answers the
    // number of frames composited.
    int run(double seconds = 0);

private:
    struct Impl;
    explicit UISDLHost(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
