#pragma once
// The base of background operations that pass one error to the operations depending on them:
// a subclass sets `error` before it finishes, dependants read it after.

#include <memory>
#include <mutex>

#include "Foundation/NSError.h"
#include "Foundation/NSOperation.h"

class QZErrorOperation : public NSOperation {
public:
    using NSOperation::NSOperation;

    std::shared_ptr<NSError> error() const
    {
        std::lock_guard lock(mutex_);
        return error_;
    }
    void setError(std::shared_ptr<NSError> error)
    {
        std::lock_guard lock(mutex_);
        error_ = std::move(error);
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<NSError> error_;
};
