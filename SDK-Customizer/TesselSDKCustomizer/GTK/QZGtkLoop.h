#pragma once
// The main loop and the animator over GLib: posts go through g_idle_add (safe from any thread);
// animations step on a 16 ms timeout against the monotonic clock.

#include "App/QZAnimator.h"
#include "App/QZMainLoop.h"

namespace customizer {

class QZGtkMainLoop : public QZMainLoop {
public:
    void post(std::function<void()> block) override;
};

class QZGtkAnimator : public QZAnimator {
public:
    void animate(double seconds, std::function<void(double)> step, std::function<void()> completion) override;
};

}  // namespace customizer
