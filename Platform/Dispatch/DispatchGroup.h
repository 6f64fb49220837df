#pragma once
// Dispatch groups: count blocks in flight (async into a group, or enter/leave by hand), wait for
// them with a timeout, or have a block run on a queue once the count comes back to zero.
//
// A wait's timeout is read on DispatchClock when the wait starts and then waited in real time:
// a waiting thread cannot drive virtual time.

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchQueue.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

class DispatchGroup {
public:
    void enter();
    // A leave without its enter stops the process with a message, as the platform does.
    void leave();
    // Answers 0 once the group is empty, non-zero when the timeout passed first.
    long wait(dispatch_time_t timeout);
    void notify(const dispatch_queue_t& queue, dispatch_block_t block);

private:
    std::mutex mutex_;
    std::condition_variable empty_;
    long count_ = 0;
    std::vector<std::pair<dispatch_queue_t, dispatch_block_t>> notifications_;
};

using dispatch_group_t = std::shared_ptr<DispatchGroup>;

dispatch_group_t dispatch_group_create();
void dispatch_group_async(const dispatch_group_t& group, const dispatch_queue_t& queue, dispatch_block_t block);
void dispatch_group_enter(const dispatch_group_t& group);
void dispatch_group_leave(const dispatch_group_t& group);
long dispatch_group_wait(const dispatch_group_t& group, dispatch_time_t timeout);
void dispatch_group_notify(const dispatch_group_t& group, const dispatch_queue_t& queue, dispatch_block_t block);
