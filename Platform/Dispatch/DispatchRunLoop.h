#pragma once
// The main run loop. Each turn runs its stages in this order:
//   TimersAndBlocks  the main-queue blocks posted before the turn began (due timers and delayed
//                    blocks are among them: the clock hands them to the main queue)
//   Input            input events
//   Animation        animation ticks
//   Layout           layout
//   Display          redrawing what needs it
//   Composite        painting the layer tree into the window
// Dispatch knows nothing of what the later stages do: the libraries above add observers to them.
// A stage runs its observers in the order they were added (after its blocks, for the first).
// A block posted during a turn runs in the next one.
//
// Tests turn it with runUntil, or in virtual time through DispatchClock::advance, which turns it
// once at every due time and frame boundary; a host turns it with drain from its event loop,
// woken by DispatchMainQueue::setWakeHandler. Turning is for the main thread only; observers may
// be added and removed from any thread.

#include <cstdint>
#include <functional>

enum class DispatchRunLoopStage { TimersAndBlocks, Input, Animation, Layout, Display, Composite };

class DispatchRunLoop {
public:
    using ObserverId = std::uint64_t;

    static ObserverId addObserver(DispatchRunLoopStage stage, std::function<void()> observer);
    // Once removed on the main thread, an observer is not called again, even later in the turn
    // under way. Unknown or already removed ids are ignored.
    static void removeObserver(ObserverId observer);

    // Runs one turn; answers how many main-queue blocks it ran.
    static int drain();
    // Runs turns until the predicate holds or the timeout (real seconds) has passed; answers the
    // predicate's last value. Between turns with no block to run it sleeps until a block is
    // posted, waking at least every 2 ms to ask the predicate again.
    static bool runUntil(const std::function<bool()>& predicate, double timeoutSeconds);
};
