#pragma once
// Every animated view of the editor goes through here: the duration, no delay, user interaction
// allowed, the default curve.

#include <functional>

// A null completion is allowed.
void QZPerformUIViewAnimation(double duration, const std::function<void()>& animations,
                              std::function<void(bool finished)> completion);
