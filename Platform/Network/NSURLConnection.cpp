#include "Network/NSURLConnection.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Network/NSURLError.h"
#include "Network/NetworkTransferThread.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

// Posts each step of the transfer to the main queue, holding the connection until the end.
class NSURLConnection::Sink : public NetworkTransferSink {
public:
    explicit Sink(std::shared_ptr<NSURLConnection> connection) : connection_(std::move(connection)) {}

    bool receiveResponse(const std::shared_ptr<NSHTTPURLResponse>& response) override
    {
        post([response](NSURLConnectionDataDelegate& d,
                        NSURLConnection& c) { d.connectionDidReceiveResponse(c, response); },
             false);
        return true;
    }
    bool receiveData(const std::uint8_t* bytes, std::size_t length) override
    {
        auto chunk = std::make_shared<std::vector<std::uint8_t>>(bytes, bytes + length);
        post([chunk](NSURLConnectionDataDelegate& d, NSURLConnection& c) { d.connectionDidReceiveData(c, *chunk); },
             false);
        return true;
    }
    void finish(const std::shared_ptr<NSError>& error) override
    {
        if (error)
            post(
                [error](NSURLConnectionDataDelegate& d, NSURLConnection& c) { d.connectionDidFailWithError(c, error); },
                true);
        else
            post([](NSURLConnectionDataDelegate& d, NSURLConnection& c) { d.connectionDidFinishLoading(c); }, true);
        connection_.reset();
    }
    std::shared_ptr<NSError> refusal(const std::string& failingURL) override
    {
        return NSURLErrorMake(NSURLErrorUnknown, failingURL, "refused");
    }

private:
    template <class Step>
    void post(Step step, bool ends)
    {
        auto connection = connection_;
        DispatchMainQueue::shared()->async([connection, step = std::move(step), ends] {
            connection->deliver([&](NSURLConnectionDataDelegate& d) { step(d, *connection); }, ends);
        });
    }

    std::shared_ptr<NSURLConnection> connection_;
};

std::shared_ptr<NSURLConnection>
NSURLConnection::connectionWithRequest(std::shared_ptr<NSURLRequest> request,
                                       std::shared_ptr<NSURLConnectionDataDelegate> delegate, bool startImmediately)
{
    return NSObject::create<NSURLConnection>(&NSURLConnection::initWithRequest, std::move(request), std::move(delegate),
                                             startImmediately);
}

void NSURLConnection::initWithRequest(std::shared_ptr<NSURLRequest> request,
                                      std::shared_ptr<NSURLConnectionDataDelegate> delegate, bool startImmediately)
{
    request_ = std::move(request);
    delegate_ = std::move(delegate);
    if (startImmediately) start();
}

void NSURLConnection::start()
{
    if (cancelled_ || started_.exchange(true)) return;
    transfer_ = NetworkTransferThread::shared().start(request_, std::make_shared<Sink>(self<NSURLConnection>()));
    // A cancel on the main thread may have come between the two lines above.
    if (cancelled_) NetworkTransferThread::shared().cancel(transfer_);
}

void NSURLConnection::cancel()
{
    DispatchMainQueue::requireMainThread("NSURLConnection::cancel");
    if (cancelled_.exchange(true)) return;
    if (started_) NetworkTransferThread::shared().cancel(transfer_);
    delegate_.reset();
}

void NSURLConnection::deliver(const std::function<void(NSURLConnectionDataDelegate&)>& step, bool ends)
{
    if (cancelled_ || !delegate_) return;
    auto delegate = delegate_;  // the step may cancel, or drop the last other reference
    if (ends) delegate_.reset();
    step(*delegate);
}

namespace {

// Gathers the body for a synchronous load, up to the limit, and wakes the waiting caller.
class SynchronousSink : public NetworkTransferSink {
public:
    bool receiveResponse(const std::shared_ptr<NSHTTPURLResponse>& response) override
    {
        std::lock_guard lock(mutex_);
        response_ = response;
        return response->expectedContentLength() <= static_cast<std::int64_t>(NSURLConnection::kSynchronousBodyLimit);
    }
    bool receiveData(const std::uint8_t* bytes, std::size_t length) override
    {
        std::lock_guard lock(mutex_);
        if (body_.size() + length > NSURLConnection::kSynchronousBodyLimit) return false;
        body_.insert(body_.end(), bytes, bytes + length);
        return true;
    }
    void finish(const std::shared_ptr<NSError>& error) override
    {
        std::lock_guard lock(mutex_);
        error_ = error;
        done_ = true;
        finished_.notify_all();
    }
    std::shared_ptr<NSError> refusal(const std::string& failingURL) override
    {
        return NSURLErrorMake(NSURLErrorDataLengthExceedsMaximum, failingURL,
                              "The response is larger than a synchronous load takes.");
    }

    std::optional<Value::Data> wait(std::shared_ptr<NSURLResponse>* response, std::shared_ptr<NSError>* error)
    {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [&] { return done_; });
        if (response) *response = response_;
        NSError::assign(error, error_);
        if (error_) return std::nullopt;
        return std::move(body_);
    }

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::shared_ptr<NSHTTPURLResponse> response_;
    std::shared_ptr<NSError> error_;
    Value::Data body_;
};

}  // namespace

std::optional<Value::Data> NSURLConnection::sendSynchronousRequest(const std::shared_ptr<NSURLRequest>& request,
                                                                   std::shared_ptr<NSURLResponse>* response,
                                                                   std::shared_ptr<NSError>* error)
{
    if (DispatchMainQueue::isMainThread()) {
        std::fprintf(stderr, "NSURLConnection::sendSynchronousRequest must not be called on the main thread\n");
        std::abort();
    }
    auto sink = std::make_shared<SynchronousSink>();
    NetworkTransferThread::shared().start(request, sink);
    return sink->wait(response, error);
}
