#pragma once
// Streams one URL into a unique temporary file, reports progress, lets its owner validate the
// file, and only then puts it at the destination in one atomic replace. Whatever goes wrong (an
// HTTP status other than 200, a transport failure, a failed write, a body past the limit, a file
// the validation refuses), the destination is left exactly as it was and the temporary file is
// removed. Exactly one of the success and failure blocks is called, once, after the operation has
// finished: on the main thread for connection events, on the thread that calls the validation
// completion for the end of a validated load.
//
// The operation is concurrent: `start` may come from any thread (a queue's worker); the
// connection reports on the main thread.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Foundation/NSError.h"
#include "Foundation/NSOperation.h"
#include "Network/NSURLConnection.h"
#include "Network/NSURLConnectionDataDelegate.h"
#include "Network/NSURLRequest.h"
#include "Network/NSURLResponse.h"

// A status other than 200 fails with this domain and the status as code.
inline constexpr const char* kQZDownloadStatusErrorDomain = "com.tessel.downloadStatus";
// A file the validation refused fails with this domain, code 1.
inline constexpr const char* kQZDownloadValidationErrorDomain = "com.tessel.downloadValdation";

class QZDownloadOperation : public NSOperation, public NSURLConnectionDataDelegate {
public:
    using SuccessBlock = std::function<void(QZDownloadOperation& operation)>;
    using FailureBlock = std::function<void(QZDownloadOperation& operation, const std::shared_ptr<NSError>& error)>;
    // The fraction received, or -1.0 when the server sent no length; called before the chunk is
    // written.
    using ProgressBlock = std::function<void(QZDownloadOperation& operation, float fraction)>;
    // Any thread; calls after the first are ignored. A refusal's reason (may be empty) becomes the
    // failure's description.
    using ValidationCompletion = std::function<void(bool valid, const std::string& reason)>;
    using ValidationBlock = std::function<void(const std::string& temporaryPath, ValidationCompletion completion)>;

    static constexpr std::uint64_t kDefaultMaximumContentLength = 1ull << 30;
    // A body past this (or announced past it) fails with NSURLErrorDomain -1103: downloads come
    // from outside and must not fill the disk.
    static std::uint64_t maximumContentLength();
    static void setMaximumContentLength(std::uint64_t bytes);

    using NSOperation::NSOperation;
    ~QZDownloadOperation() override;
    static std::shared_ptr<QZDownloadOperation> make(std::shared_ptr<NSURLRequest> request,
                                                     const std::string& destinationPath);

    // Set before the operation is queued.
    void setSuccessBlock(SuccessBlock block) { successBlock_ = std::move(block); }
    void setFailureBlock(FailureBlock block) { failureBlock_ = std::move(block); }
    void setProgressBlock(ProgressBlock block) { progressBlock_ = std::move(block); }
    void setValidationBlock(ValidationBlock block) { validationBlock_ = std::move(block); }

    const SuccessBlock& successBlock() const { return successBlock_; }
    const FailureBlock& failureBlock() const { return failureBlock_; }
    const ProgressBlock& progressBlock() const { return progressBlock_; }
    const ValidationBlock& validationBlock() const { return validationBlock_; }

    const std::shared_ptr<NSURLRequest>& request() const { return request_; }
    const std::string& destinationPath() const { return destinationPath_; }
    // Main thread while the load runs.
    const std::shared_ptr<NSURLResponse>& response() const { return response_; }
    const std::string& temporaryDestinationPath() const { return temporaryDestinationPath_; }
    std::uint64_t receivedDataLength() const { return receivedDataLength_; }
    std::shared_ptr<NSURLConnection> connection() const;

    // Cancelled before the start: finishes with no block. Executing or finished: nothing.
    void start() override;
    bool isConcurrent() const override { return true; }

    void connectionDidReceiveResponse(NSURLConnection& connection,
                                      const std::shared_ptr<NSURLResponse>& response) override;
    void connectionDidReceiveData(NSURLConnection& connection, const std::vector<std::uint8_t>& data) override;
    void connectionDidFinishLoading(NSURLConnection& connection) override;
    void connectionDidFailWithError(NSURLConnection& connection, const std::shared_ptr<NSError>& error) override;

private:
    void initWithRequest(std::shared_ptr<NSURLRequest> request, const std::string& destinationPath);
    // Creates the temporary file; nullptr or the error.
    std::shared_ptr<NSError> createTemporaryFile();
    void validationFinished(bool valid, const std::string& reason);
    // Finishes (finished YES, executing NO, connection released, temporary file removed), then
    // calls the failure block with an error, else the success block. Once; later calls do nothing.
    void finishWithError(const std::shared_ptr<NSError>& error);
    void finish();
    void closeFile();
    bool ended() const { return ended_.load(); }

    static std::atomic<std::uint64_t> maximumContentLength_;

    std::shared_ptr<NSURLRequest> request_;
    std::string destinationPath_;
    mutable std::mutex mutex_;  // the start, the connection
    bool started_ = false;
    std::shared_ptr<NSURLConnection> connection_;
    std::shared_ptr<NSURLResponse> response_;
    std::string temporaryDestinationPath_;
    int fileDescriptor_ = -1;
    std::uint64_t receivedDataLength_ = 0;
    std::atomic<bool> ended_{false};
    SuccessBlock successBlock_;
    FailureBlock failureBlock_;
    ProgressBlock progressBlock_;
    ValidationBlock validationBlock_;
};
