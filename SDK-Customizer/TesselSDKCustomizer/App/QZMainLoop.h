#pragma once
// Hands work to the thread that runs the interface. The GTK layer posts onto the main context;
// tests run what was posted when they choose.

#include <functional>

namespace customizer {

class QZMainLoop {
public:
    virtual ~QZMainLoop() = default;
    // Safe from any thread; the block runs later, on the main thread, in posting order.
    virtual void post(std::function<void()> block) = 0;
};

}  // namespace customizer
