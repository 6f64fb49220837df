#pragma once
// The process's one EGL display, shared by every context of the process. Each holder has a
// connection of its own; the display initialises with the first and is terminated when the last
// is gone (terminating it would end every context on it).
//
// The route comes from the environment variable TESSEL_EGL_PLATFORM:
// - "surfaceless": Mesa's headless platform (llvmpipe on machines without a GPU);
// - "device": the EGL device platform, the usual headless route on NVIDIA drivers. A hardware
//   device is preferred to Mesa's software one where both are listed; the choice is logged;
// - "none": opens nothing, so that the no-GPU path can be exercised on any machine;
// - unset: surfaceless, then device.

#include <EGL/egl.h>

#include <memory>
#include <string>

class EGLDisplayConnection {
public:
    // A connection to the display, opening it when nobody holds one. Null, with the reason in
    // *why (may be null), when no display opens on the route.
    static std::shared_ptr<EGLDisplayConnection> open(std::string* why);
    // How many connections are held now (tests: the display is terminated at zero).
    static int openCount();

    ~EGLDisplayConnection();
    EGLDisplayConnection(const EGLDisplayConnection&) = delete;
    EGLDisplayConnection& operator=(const EGLDisplayConnection&) = delete;

    EGLDisplay display() const { return display_; }
    // An OpenGL ES 2 config, or EGL_NO_CONFIG_KHR where the display offers none but takes
    // contexts without one. Nothing is ever drawn to a surface: a config only names the API.
    EGLConfig config() const { return config_; }
    // "surfaceless" or "device".
    const char* route() const { return route_; }

private:
    EGLDisplayConnection(EGLDisplay display, EGLConfig config, const char* route)
        : display_(display), config_(config), route_(route)
    {
    }

    EGLDisplay display_;
    EGLConfig config_;
    const char* route_;
};
