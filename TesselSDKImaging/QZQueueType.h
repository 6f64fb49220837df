#pragma once
// The type of a sub-queue of a prioritised queue. The value orders sub-queues that become ready
// (QZDispatchPriorityQueue's add rule); Hires is the one type that runs at background priority.

#include <cstdint>

enum QZQueueType : std::int32_t {
  QZQueueTypeLoad = 0,      // the GL manager's set-up (context, shader loading)
  QZQueueTypeSDK = 1,       // the editor's preview GL instance
  QZQueueTypeHeadless = 2,  // headless CPU image servers
  QZQueueTypePrewarm = 3,   // the GL manager's shader warm-up
  QZQueueTypeHires = 4,     // full-size renders
  QZQueueTypeDestroy = 5,   // tear-down work
  QZQueueType_Count = 6,
};
