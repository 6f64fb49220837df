#pragma once
// One queued block of a prioritised queue; the wrapper owns its own copy of the block.

#include "Dispatch/Dispatch.h"
#include "Foundation/NSObject.h"

#include <memory>

class QZDispatchBlockWrapper : public NSObject {
public:
  static std::shared_ptr<QZDispatchBlockWrapper> make(dispatch_block_t block) {
    auto wrapper = std::make_shared<QZDispatchBlockWrapper>();
    wrapper->initWithBlock(std::move(block));
    return wrapper;
  }

  const dispatch_block_t& block() const { return block_; }
  void setBlock(dispatch_block_t block) { block_ = std::move(block); }

protected:
  virtual void initWithBlock(dispatch_block_t block) { setBlock(std::move(block)); }

private:
  dispatch_block_t block_;
};
