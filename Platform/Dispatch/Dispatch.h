#pragma once
// The dispatch functions the editor calls, over our queues (DispatchSerialQueue,
// DispatchGlobalQueue, DispatchMainQueue) and clock (DispatchClock).

#include "Dispatch/DispatchApply.h"
#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchGroup.h"
#include "Dispatch/DispatchQueue.h"

#include <cstdint>
#include <functional>
#include <mutex>

inline constexpr long DISPATCH_QUEUE_PRIORITY_HIGH = 2;
inline constexpr long DISPATCH_QUEUE_PRIORITY_DEFAULT = 0;
inline constexpr long DISPATCH_QUEUE_PRIORITY_BACKGROUND = INT16_MIN;

inline constexpr dispatch_time_t DISPATCH_TIME_NOW = 0;
inline constexpr dispatch_time_t DISPATCH_TIME_FOREVER = ~0ull;
inline constexpr std::uint64_t NSEC_PER_SEC = 1'000'000'000ull;
inline constexpr std::uint64_t NSEC_PER_MSEC = 1'000'000ull;
inline constexpr std::uint64_t NSEC_PER_USEC = 1'000ull;

struct DispatchQueueAttributes {};
inline constexpr const DispatchQueueAttributes* DISPATCH_QUEUE_SERIAL = nullptr;

// Serial queues only (nothing here creates a concurrent queue).
dispatch_queue_t dispatch_queue_create(const char* label, const DispatchQueueAttributes* attributes);
dispatch_queue_t dispatch_get_global_queue(long priority, unsigned long flags);
dispatch_queue_t dispatch_get_main_queue();
const char* dispatch_queue_get_label(const dispatch_queue_t& queue);

void dispatch_async(const dispatch_queue_t& queue, dispatch_block_t block);
void dispatch_sync(const dispatch_queue_t& queue, const dispatch_block_t& block);
// Blocks of a serial queue run on its target's workers, at its target's priority, from the next
// block on.
void dispatch_set_target_queue(const dispatch_queue_t& queue, const dispatch_queue_t& target);

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanoseconds);
void dispatch_after(dispatch_time_t when, const dispatch_queue_t& queue, dispatch_block_t block);

using dispatch_once_t = std::once_flag;
inline void dispatch_once(dispatch_once_t* predicate, const dispatch_block_t& block)
{
    std::call_once(*predicate, block);
}

// The priority the calling thread runs at: the priority of the global queue whose worker it is,
// DISPATCH_QUEUE_PRIORITY_DEFAULT elsewhere (the main thread, threads of our own).
long dispatch_get_current_priority();
