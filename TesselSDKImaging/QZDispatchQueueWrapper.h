#pragma once
// One sub-queue of a prioritised queue: its number, type, paused flag and pending blocks
// (oldest first). Only the prioritised queue's synchronizing queue reads or changes the flag
// and the pending blocks.

#include "TesselSDKImaging/QZDispatchBlockWrapper.h"
#include "TesselSDKImaging/QZQueueType.h"

#include "Foundation/NSObject.h"

#include <deque>
#include <memory>

class QZDispatchQueueWrapper : public NSObject {
public:
  using NSObject::NSObject;
  static std::shared_ptr<QZDispatchQueueWrapper> make(QZQueueType type, int identifier) {
    return NSObject::create<QZDispatchQueueWrapper>(&QZDispatchQueueWrapper::initWithType, type, identifier);
  }

  bool isPaused() const { return paused_; }
  void setPaused(bool paused) { paused_ = paused; }
  QZQueueType type() const { return type_; }
  int identifier() const { return identifier_; }
  std::deque<std::shared_ptr<QZDispatchBlockWrapper>>& queue() { return queue_; }
  const std::deque<std::shared_ptr<QZDispatchBlockWrapper>>& queue() const { return queue_; }

private:
  void initWithType(QZQueueType type, int identifier) {
    type_ = type;
    identifier_ = identifier;
  }

  bool paused_ = false;
  QZQueueType type_ = QZQueueTypeLoad;
  int identifier_ = 0;
  std::deque<std::shared_ptr<QZDispatchBlockWrapper>> queue_;
};
