#include "Dispatch/Dispatch.h"

#include "Dispatch/DispatchGlobalQueue.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchSerialQueue.h"

dispatch_queue_t dispatch_queue_create(const char* label, const DispatchQueueAttributes*)
{
    return DispatchSerialQueue::make(label ? label : "");
}

dispatch_queue_t dispatch_get_global_queue(long priority, unsigned long)
{
    return DispatchGlobalQueue::queueForPriority(priority);
}

dispatch_queue_t dispatch_get_main_queue()
{
    return DispatchMainQueue::shared();
}

const char* dispatch_queue_get_label(const dispatch_queue_t& queue)
{
    return queue ? queue->label().c_str() : "";
}

void dispatch_async(const dispatch_queue_t& queue, dispatch_block_t block)
{
    if (queue) queue->async(std::move(block));
}

void dispatch_sync(const dispatch_queue_t& queue, const dispatch_block_t& block)
{
    if (queue) queue->sync(block);
}

void dispatch_set_target_queue(const dispatch_queue_t& queue, const dispatch_queue_t& target)
{
    if (queue) queue->setTargetQueue(target);
}

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanoseconds)
{
    if (when == DISPATCH_TIME_FOREVER) return DISPATCH_TIME_FOREVER;
    dispatch_time_t base = when == DISPATCH_TIME_NOW ? DispatchClock::now() : when;
    if (deltaNanoseconds < 0 && static_cast<dispatch_time_t>(-deltaNanoseconds) > base) return 1;
    return base + static_cast<dispatch_time_t>(deltaNanoseconds);
}

void dispatch_after(dispatch_time_t when, const dispatch_queue_t& queue, dispatch_block_t block)
{
    if (!queue || !block || when == DISPATCH_TIME_FOREVER) return;
    if (when == DISPATCH_TIME_NOW) when = DispatchClock::now();
    DispatchClock::schedule(when, [queue, block = std::move(block)]() mutable { queue->async(std::move(block)); });
}

long dispatch_get_current_priority()
{
    return DispatchGlobalQueue::currentThreadPriority();
}
