#pragma once
// One HTTP exchange of the remote services: sends a prepared request, gathers the whole body in
// memory and hands it to exactly one of two blocks. The operation is concurrent: `start` may come
// from any thread, the connection reports on the main thread, and both blocks run there with the
// operation already finished (so a queue frees its slot first). The HTTP status is not examined.
//
// A body past maximumBodyLength(), or a Content-Length announcing more, cancels the connection
// and fails with NSURLErrorDomain -1103: these documents are small, and a server must not make
// the editor hold an unbounded body.

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>

#include "Foundation/NSError.h"
#include "Foundation/NSOperation.h"
#include "Foundation/Value.h"
#include "Network/NSURLConnection.h"
#include "Network/NSURLConnectionDataDelegate.h"
#include "Network/NSURLRequest.h"
#include "Network/NSURLResponse.h"

class QZURLRequestOperation : public NSOperation, public NSURLConnectionDataDelegate {
public:
    using SuccessBlock = std::function<void(QZURLRequestOperation& operation, const Value::Data& data)>;
    using FailureBlock = std::function<void(QZURLRequestOperation& operation, const std::shared_ptr<NSError>& error)>;

    using NSOperation::NSOperation;
    static std::shared_ptr<QZURLRequestOperation> operationWithRequest(std::shared_ptr<NSURLRequest> request);

    static constexpr std::size_t kDefaultMaximumBodyLength = 16u << 20;
    static std::size_t maximumBodyLength();
    static void setMaximumBodyLength(std::size_t bytes);

    // Set before the operation starts.
    void setSuccessBlock(SuccessBlock block) { successBlock_ = std::move(block); }
    void setFailureBlock(FailureBlock block) { failureBlock_ = std::move(block); }

    const std::shared_ptr<NSURLRequest>& request() const { return request_; }
    // Main thread: the running connection (null before the start and after the end), the last
    // response and the body received so far.
    std::shared_ptr<NSURLConnection> connection() const;
    const std::shared_ptr<NSURLResponse>& response() const { return response_; }
    const Value::Data& responseData() const { return responseData_; }

    // Cancelled before the start: finishes with no block. Executing or finished: nothing.
    void start() override;
    bool isConcurrent() const override { return true; }

    void connectionDidReceiveResponse(NSURLConnection& connection,
                                      const std::shared_ptr<NSURLResponse>& response) override;
    void connectionDidReceiveData(NSURLConnection& connection, const std::vector<std::uint8_t>& data) override;
    void connectionDidFinishLoading(NSURLConnection& connection) override;
    void connectionDidFailWithError(NSURLConnection& connection, const std::shared_ptr<NSError>& error) override;

private:
    void finish();
    // Finishes, then calls the failure block (once).
    void fail(const std::shared_ptr<NSError>& error);
    // Cancels the connection and fails with -1103.
    void failTooLarge();

    static std::atomic<std::size_t> maximumBodyLength_;

    std::shared_ptr<NSURLRequest> request_;
    mutable std::mutex mutex_;  // the start, the connection
    bool started_ = false;
    std::shared_ptr<NSURLConnection> connection_;
    std::shared_ptr<NSURLResponse> response_;
    Value::Data responseData_;
    SuccessBlock successBlock_;
    FailureBlock failureBlock_;
};
