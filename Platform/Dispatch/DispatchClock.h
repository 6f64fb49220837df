#pragma once
// The clock that delayed blocks, timers and animations read. It is the real monotonic clock for
// people; tests switch it to virtual time and advance it by hand, which fires what falls due in
// order of due time (ties in order of scheduling), each handed to its queue.

#include <cstdint>
#include <functional>

using dispatch_time_t = std::uint64_t;  // nanoseconds on this clock

class DispatchClock {
public:
    static dispatch_time_t now();
    static double nowSeconds() { return static_cast<double>(now()) / 1e9; }

    static void useVirtualTime(bool enabled);
    static bool isVirtual();
    // Virtual time only (ignored on the real clock).
    static void advance(double seconds);
    static void advanceNanoseconds(std::uint64_t nanoseconds);

    // Calls `fire` once the clock reaches `when`: from the clock's own thread on the real clock,
    // from inside advance on the virtual one. `fire` must only hand work on (dispatch it).
    static void schedule(dispatch_time_t when, std::function<void()> fire);
};
