#pragma once
// One load of a URL request. A connection is made unstarted (or started at once), may be started
// from any thread, and reports to its delegate on the main queue: the main run loop is the only
// one connections are scheduled in. The transfer itself runs on the network thread (see
// NetworkTransferThread.h for the rules every transfer keeps). The connection holds its delegate,
// and itself, until the load ends or is cancelled.
//
// sendSynchronousRequest loads on the calling thread, which must not be the main thread, and
// takes at most 16 MiB of body (more fails with NSURLErrorDataLengthExceedsMaximum).

#include "Foundation/NSError.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"
#include "Network/NSURLConnectionDataDelegate.h"
#include "Network/NSURLRequest.h"
#include "Network/NSURLResponse.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

class NSURLConnection : public NSObject {
public:
    using NSObject::NSObject;

    static constexpr std::size_t kSynchronousBodyLimit = 16u << 20;

    static std::shared_ptr<NSURLConnection> connectionWithRequest(std::shared_ptr<NSURLRequest> request,
                                                                  std::shared_ptr<NSURLConnectionDataDelegate> delegate,
                                                                  bool startImmediately = true);

    static std::optional<Value::Data> sendSynchronousRequest(const std::shared_ptr<NSURLRequest>& request,
                                                             std::shared_ptr<NSURLResponse>* response,
                                                             std::shared_ptr<NSError>* error);

    const std::shared_ptr<NSURLRequest>& originalRequest() const { return request_; }

    // Any thread; a second start, or a start after cancel, does nothing.
    void start();
    // Main thread only: ends the load; the delegate hears nothing more.
    void cancel();

private:
    class Sink;
    void initWithRequest(std::shared_ptr<NSURLRequest> request, std::shared_ptr<NSURLConnectionDataDelegate> delegate,
                         bool startImmediately);
    // Main thread: runs a delegate step unless the load was cancelled or has ended.
    void deliver(const std::function<void(NSURLConnectionDataDelegate&)>& step, bool ends);

    std::shared_ptr<NSURLRequest> request_;
    std::shared_ptr<NSURLConnectionDataDelegate> delegate_;  // main thread after the start
    std::atomic<bool> started_{false};
    std::atomic<bool> cancelled_{false};
    std::atomic<std::uint64_t> transfer_{0};
};
