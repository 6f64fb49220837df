#pragma once
// dispatch_apply: one block run for each index 0 ..< iterations, returning once every run has
// returned. On a global queue the runs are shared between the calling thread and as many of the
// queue's workers as there are other cores, so work cut into strips uses every core; on any other
// queue they run in order, synchronously on that queue. Each index runs exactly once, in no fixed
// order and on no fixed thread: a block must not depend on either.

#include "Dispatch/DispatchQueue.h"

#include <cstddef>
#include <functional>

void dispatch_apply(std::size_t iterations, const dispatch_queue_t& queue, const std::function<void(std::size_t)>& block);
