#include "Dispatch/DispatchGroup.h"

#include "Dispatch/Dispatch.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

void DispatchGroup::enter()
{
    std::lock_guard lock(mutex_);
    ++count_;
}

void DispatchGroup::leave()
{
    std::vector<std::pair<dispatch_queue_t, dispatch_block_t>> due;
    {
        std::lock_guard lock(mutex_);
        if (count_ == 0) {
            std::fprintf(stderr, "dispatch_group_leave without a matching dispatch_group_enter\n");
            std::abort();
        }
        if (--count_ > 0) return;
        due.swap(notifications_);
    }
    empty_.notify_all();
    for (auto& [queue, block] : due) queue->async(std::move(block));
}

long DispatchGroup::wait(dispatch_time_t timeout)
{
    std::unique_lock lock(mutex_);
    if (timeout == DISPATCH_TIME_FOREVER) {
        empty_.wait(lock, [&] { return count_ == 0; });
        return 0;
    }
    dispatch_time_t now = DispatchClock::now();
    auto left = std::chrono::nanoseconds(timeout > now ? timeout - now : 0);
    return empty_.wait_for(lock, left, [&] { return count_ == 0; }) ? 0 : 1;
}

void DispatchGroup::notify(const dispatch_queue_t& queue, dispatch_block_t block)
{
    if (!queue || !block) return;
    {
        std::lock_guard lock(mutex_);
        if (count_ > 0) {
            notifications_.emplace_back(queue, std::move(block));
            return;
        }
    }
    queue->async(std::move(block));
}

dispatch_group_t dispatch_group_create()
{
    return std::make_shared<DispatchGroup>();
}

void dispatch_group_async(const dispatch_group_t& group, const dispatch_queue_t& queue, dispatch_block_t block)
{
    if (!group || !queue || !block) return;
    group->enter();
    queue->async([group, block = std::move(block)] {
        block();
        group->leave();
    });
}

void dispatch_group_enter(const dispatch_group_t& group)
{
    if (group) group->enter();
}

void dispatch_group_leave(const dispatch_group_t& group)
{
    if (group) group->leave();
}

long dispatch_group_wait(const dispatch_group_t& group, dispatch_time_t timeout)
{
    return group ? group->wait(timeout) : 0;
}

void dispatch_group_notify(const dispatch_group_t& group, const dispatch_queue_t& queue, dispatch_block_t block)
{
    if (group) group->notify(queue, std::move(block));
}
