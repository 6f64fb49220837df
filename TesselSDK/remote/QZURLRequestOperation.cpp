#include "TesselSDK/remote/QZURLRequestOperation.h"

#include "Network/NSURL.h"
#include "Network/NSURLError.h"

std::atomic<std::size_t> QZURLRequestOperation::maximumBodyLength_{QZURLRequestOperation::kDefaultMaximumBodyLength};

std::shared_ptr<QZURLRequestOperation>
QZURLRequestOperation::operationWithRequest(std::shared_ptr<NSURLRequest> request)
{
    return NSObject::create<QZURLRequestOperation>(
        [&](QZURLRequestOperation& operation) { operation.request_ = std::move(request); });
}

std::size_t QZURLRequestOperation::maximumBodyLength()
{
    return maximumBodyLength_;
}

void QZURLRequestOperation::setMaximumBodyLength(std::size_t bytes)
{
    maximumBodyLength_ = bytes;
}

std::shared_ptr<NSURLConnection> QZURLRequestOperation::connection() const
{
    std::lock_guard lock(mutex_);
    return connection_;
}

void QZURLRequestOperation::start()
{
    std::shared_ptr<NSURLConnection> connection;
    {
        std::lock_guard lock(mutex_);
        // One connection per operation, whenever a second start comes.
        if (started_ || isFinished()) return;
        started_ = true;
        if (!isCancelled()) {
            setExecuting(true);
            std::shared_ptr<NSURLConnectionDataDelegate> delegate = self<QZURLRequestOperation>();
            connection = NSURLConnection::connectionWithRequest(request_, delegate, false);
            connection_ = connection;
        }
    }
    if (!connection) {
        setFinished(true);
        return;
    }
    connection->start();
}

void QZURLRequestOperation::finish()
{
    {
        std::lock_guard lock(mutex_);
        connection_.reset();
    }
    setExecuting(false);
    setFinished(true);
}

void QZURLRequestOperation::failTooLarge()
{
    if (std::shared_ptr<NSURLConnection> running = connection()) running->cancel();
    const std::string url = request_ && request_->URL() ? request_->URL()->absoluteString() : std::string();
    fail(NSURLErrorMake(NSURLErrorDataLengthExceedsMaximum, url,
                        "The response body is larger than this request allows."));
}

void QZURLRequestOperation::connectionDidReceiveResponse(NSURLConnection&,
                                                         const std::shared_ptr<NSURLResponse>& response)
{
    // A new response starts the body afresh.
    responseData_.clear();
    response_ = response;
    if (response && response->expectedContentLength() > 0 &&
        static_cast<std::uint64_t>(response->expectedContentLength()) > maximumBodyLength())
        failTooLarge();
}

void QZURLRequestOperation::connectionDidReceiveData(NSURLConnection&, const std::vector<std::uint8_t>& data)
{
    if (isFinished()) return;
    if (responseData_.size() + data.size() > maximumBodyLength()) {
        failTooLarge();
        return;
    }
    responseData_.insert(responseData_.end(), data.begin(), data.end());
}

void QZURLRequestOperation::connectionDidFinishLoading(NSURLConnection&)
{
    if (isFinished()) return;
    finish();
    SuccessBlock block = std::move(successBlock_);
    failureBlock_ = nullptr;
    if (block) block(*this, Value::Data(responseData_));
}

void QZURLRequestOperation::connectionDidFailWithError(NSURLConnection&, const std::shared_ptr<NSError>& error)
{
    fail(error);
}

void QZURLRequestOperation::fail(const std::shared_ptr<NSError>& error)
{
    if (isFinished()) return;
    finish();
    FailureBlock block = std::move(failureBlock_);
    successBlock_ = nullptr;
    if (block) block(*this, error);
}
