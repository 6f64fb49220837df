#pragma once
// One queued block of a prioritised queue; the wrapper owns its own copy of the block.

#include "Dispatch/Dispatch.h"
#include "Foundation/NSObject.h"

#include <memory>

class QZDispatchBlockWrapper : public NSObject {
public:
  using NSObject::NSObject;
  static std::shared_ptr<QZDispatchBlockWrapper> make(dispatch_block_t block) {
    return NSObject::create<QZDispatchBlockWrapper>(&QZDispatchBlockWrapper::initWithBlock, std::move(block));
  }

  const dispatch_block_t& block() const { return block_; }
  void setBlock(dispatch_block_t block) { block_ = std::move(block); }

protected:
  virtual void initWithBlock(dispatch_block_t block) { setBlock(std::move(block)); }

private:
  dispatch_block_t block_;
};
