#pragma once
// Runs a timed change: `step` gets the fraction done (0 to 1, the last call exactly 1), then
// `completion` runs. The GTK layer steps on the frame clock; tests on a fake clock.

#include <functional>

namespace customizer {

class QZAnimator {
public:
    virtual ~QZAnimator() = default;
    virtual void animate(double seconds, std::function<void(double fraction)> step, std::function<void()> completion) = 0;
};

}  // namespace customizer
