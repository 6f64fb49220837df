#pragma once
// The one clock: delayed blocks, timers, animations, media time and dates all read it. It is the
// real monotonic clock for people; tests switch it to virtual time and advance it by hand.
//
// Advancing virtual time on the main thread steps to every due time and every frame boundary
// (multiples of 1/60 s) in order: at each step the clock reads that instant, what falls due is
// handed to its queue (in order of due time, ties in order of scheduling) and the main run loop
// turns once (DispatchRunLoop), so each main-queue block, timer and frame reads its own time. Advancing from any
// other thread only hands on what falls due; the main thread runs it when it next pumps.

#include <cstdint>
#include <functional>
#include <optional>

using dispatch_time_t = std::uint64_t;  // nanoseconds on this clock

class DispatchClock {
public:
    static dispatch_time_t now();
    static double nowSeconds() { return static_cast<double>(now()) / 1e9; }

    // Wall-clock time (seconds since 1970) on the same clock: the system's date on the real
    // clock; in virtual time it moves with virtual time, from the date at which virtual time was
    // switched on or the date set last.
    static double secondsSince1970();
    // Virtual time only (ignored on the real clock): the wall clock reads `seconds` now.
    static void setSecondsSince1970(double seconds);
    // Real clock only (virtual time reads its own): the wall clock reads `seconds`, standing still,
    // until unpinned with nullopt. Delays, timers and time-outs keep running in real time. For
    // programs run at a fixed date.
    static void pinSecondsSince1970(std::optional<double> seconds);

    static void useVirtualTime(bool enabled);
    static bool isVirtual();
    // Virtual time only (ignored on the real clock).
    static void advance(double seconds);
    static void advanceNanoseconds(std::uint64_t nanoseconds);

    // Frame boundaries that advance steps to, counted from when virtual time was switched on.
    static constexpr int framesPerSecond = 60;

    // Calls `fire` once the clock reaches `when`: from the clock's own thread on the real clock,
    // from inside advance on the virtual one. `fire` must only hand work on (dispatch it).
    static void schedule(dispatch_time_t when, std::function<void()> fire);
};
