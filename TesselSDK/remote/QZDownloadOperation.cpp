#include "TesselSDK/remote/QZDownloadOperation.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Foundation/NSFileManager.h"
#include "Foundation/NSLog.h"
#include "Network/NSHTTPURLResponse.h"
#include "Network/NSURL.h"
#include "Network/NSURLError.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"

namespace {

std::shared_ptr<NSError> posixError(int code, const std::string& path)
{
    return NSError::errorWithDomain(
        NSPOSIXErrorDomain, code,
        Value::dictionary({{NSLocalizedDescriptionKey, std::strerror(code)}, {NSFilePathErrorKey, path}}));
}

// Writes all of `data`; answers 0 or the errno of the failing write (EIO for a write of nothing).
int writeAll(int fd, const std::vector<std::uint8_t>& data)
{
    for (std::size_t done = 0; done < data.size();) {
        ssize_t wrote = ::write(fd, data.data() + done, data.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return wrote < 0 ? errno : EIO;
        done += static_cast<std::size_t>(wrote);
    }
    return 0;
}

}  // namespace

std::atomic<std::uint64_t> QZDownloadOperation::maximumContentLength_{
    QZDownloadOperation::kDefaultMaximumContentLength};

std::uint64_t QZDownloadOperation::maximumContentLength()
{
    return maximumContentLength_;
}

void QZDownloadOperation::setMaximumContentLength(std::uint64_t bytes)
{
    maximumContentLength_ = bytes;
}

std::shared_ptr<QZDownloadOperation> QZDownloadOperation::make(std::shared_ptr<NSURLRequest> request,
                                                               const std::string& destinationPath)
{
    return NSObject::create<QZDownloadOperation>(&QZDownloadOperation::initWithRequest, std::move(request),
                                                 destinationPath);
}

void QZDownloadOperation::initWithRequest(std::shared_ptr<NSURLRequest> request, const std::string& destinationPath)
{
    request_ = std::move(request);
    destinationPath_ = destinationPath;
}

QZDownloadOperation::~QZDownloadOperation()
{
    // An operation dropped before it ended (never queued, or its load abandoned) leaves no file.
    closeFile();
    if (!temporaryDestinationPath_.empty()) ::unlink(temporaryDestinationPath_.c_str());
}

std::shared_ptr<NSURLConnection> QZDownloadOperation::connection() const
{
    std::lock_guard lock(mutex_);
    return connection_;
}

void QZDownloadOperation::start()
{
    std::shared_ptr<NSURLConnection> connection;
    {
        std::lock_guard lock(mutex_);
        if (started_ || isFinished()) return;
        started_ = true;
        if (!isCancelled()) {
            setExecuting(true);
            std::shared_ptr<NSURLConnectionDataDelegate> delegate = self<QZDownloadOperation>();
            connection = NSURLConnection::connectionWithRequest(request_, delegate, false);
            connection_ = connection;
        }
    }
    if (!connection) {
        // Cancelled while queued: no block.
        ended_ = true;
        setFinished(true);
        return;
    }
    connection->start();
}

std::shared_ptr<NSError> QZDownloadOperation::createTemporaryFile()
{
    static const char* method = "-[QZDownloadOperation connection:didReceiveResponse:]";
    const std::string name = std::filesystem::path(destinationPath_).filename().string();
    std::string pattern =
        (std::filesystem::path(QZFileSystemUtils::temporaryDirectory()) / (name + ".download.XXXXXXX")).string();
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        const int failure = errno;
        NSLog("%s %@", method, "Error creating temporary file.");
        return posixError(failure, pattern);
    }
    fileDescriptor_ = fd;
    temporaryDestinationPath_ = pattern;
    return nullptr;
}

void QZDownloadOperation::connectionDidReceiveResponse(NSURLConnection& connection,
                                                       const std::shared_ptr<NSURLResponse>& response)
{
    if (ended()) return;
    response_ = response;
    if (auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response); http && http->statusCode() != 200) {
        connection.cancel();
        finishWithError(NSError::errorWithDescription(kQZDownloadStatusErrorDomain, http->statusCode(),
                                                      NSStringWithFormat("HTTP status %i", http->statusCode())));
        return;
    }
    const std::int64_t expected = response ? response->expectedContentLength() : NSURLResponseUnknownLength;
    if (expected > 0 && static_cast<std::uint64_t>(expected) > maximumContentLength()) {
        connection.cancel();
        finishWithError(NSURLErrorMake(NSURLErrorDataLengthExceedsMaximum,
                                       request_ && request_->URL() ? request_->URL()->absoluteString() : "",
                                       "The download is larger than the editor accepts."));
        return;
    }
    if (fileDescriptor_ < 0) {
        if (std::shared_ptr<NSError> error = createTemporaryFile()) {
            connection.cancel();
            finishWithError(error);
            return;
        }
    }
    // A new response starts the body afresh: the bytes of an earlier one must not stay in front.
    if (::ftruncate(fileDescriptor_, 0) != 0 || ::lseek(fileDescriptor_, 0, SEEK_SET) < 0) {
        const int failure = errno;
        connection.cancel();
        finishWithError(posixError(failure, temporaryDestinationPath_));
        return;
    }
    receivedDataLength_ = 0;
}

void QZDownloadOperation::connectionDidReceiveData(NSURLConnection& connection, const std::vector<std::uint8_t>& data)
{
    if (ended() || fileDescriptor_ < 0) return;
    if (receivedDataLength_ + data.size() > maximumContentLength()) {
        connection.cancel();
        finishWithError(NSURLErrorMake(NSURLErrorDataLengthExceedsMaximum,
                                       request_ && request_->URL() ? request_->URL()->absoluteString() : "",
                                       "The download is larger than the editor accepts."));
        return;
    }
    if (progressBlock_) {
        const std::int64_t expected = response_ ? response_->expectedContentLength() : NSURLResponseUnknownLength;
        const float fraction = expected > 0
                                   ? static_cast<float>(static_cast<double>(receivedDataLength_ + data.size()) /
                                                        static_cast<double>(expected))
                                   : -1.0f;
        progressBlock_(*this, fraction);
        if (ended()) return;
    }
    // A full disk must not leave a short file that passes for the download.
    if (int failure = writeAll(fileDescriptor_, data)) {
        connection.cancel();
        finishWithError(posixError(failure, temporaryDestinationPath_));
        return;
    }
    receivedDataLength_ += data.size();
}

void QZDownloadOperation::connectionDidFinishLoading(NSURLConnection&)
{
    if (ended()) return;
    if (fileDescriptor_ < 0) {
        // A load without a response has no file to validate.
        finishWithError(NSURLErrorMake(NSURLErrorBadServerResponse,
                                       request_ && request_->URL() ? request_->URL()->absoluteString() : "",
                                       "The server sent no response."));
        return;
    }
    // The bytes are on the disk before anything is judged or installed.
    int failure = ::fsync(fileDescriptor_) == 0 ? 0 : errno;
    if (::close(fileDescriptor_) != 0 && failure == 0) failure = errno;
    fileDescriptor_ = -1;
    if (failure) {
        finishWithError(posixError(failure, temporaryDestinationPath_));
        return;
    }
    if (!validationBlock_) {
        validationFinished(true, {});
        return;
    }
    auto once = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<QZDownloadOperation> operation = self<QZDownloadOperation>();
    ValidationBlock validate = std::move(validationBlock_);
    validate(temporaryDestinationPath_, [operation, once](bool valid, const std::string& reason) {
        if (!once->exchange(true)) operation->validationFinished(valid, reason);
    });
}

void QZDownloadOperation::validationFinished(bool valid, const std::string& reason)
{
    if (!valid) {
        finishWithError(reason.empty() ? NSError::errorWithDomain(kQZDownloadValidationErrorDomain, 1)
                                       : NSError::errorWithDescription(kQZDownloadValidationErrorDomain, 1, reason));
        return;
    }
    // The destination is replaced only now, in one rename: a refused or broken download never
    // touches an installed file.
    std::shared_ptr<NSError> error;
    if (!NSFileManager::defaultManager()->replaceItemAtPath(destinationPath_, temporaryDestinationPath_, &error)) {
        finishWithError(error);
        return;
    }
    finishWithError(nullptr);
}

void QZDownloadOperation::connectionDidFailWithError(NSURLConnection&, const std::shared_ptr<NSError>& error)
{
    finishWithError(error);
}

void QZDownloadOperation::closeFile()
{
    if (fileDescriptor_ >= 0) ::close(fileDescriptor_);
    fileDescriptor_ = -1;
}

void QZDownloadOperation::finish()
{
    {
        std::lock_guard lock(mutex_);
        connection_.reset();
    }
    closeFile();
    // After a successful replace there is nothing left here to remove.
    if (!temporaryDestinationPath_.empty()) ::unlink(temporaryDestinationPath_.c_str());
    temporaryDestinationPath_.clear();
    setExecuting(false);
    setFinished(true);
}

void QZDownloadOperation::finishWithError(const std::shared_ptr<NSError>& error)
{
    if (ended_.exchange(true)) return;
    finish();
    SuccessBlock success = std::move(successBlock_);
    FailureBlock failure = std::move(failureBlock_);
    progressBlock_ = nullptr;
    validationBlock_ = nullptr;
    if (error) {
        if (failure) failure(*this, error);
    } else if (success) {
        success(*this);
    }
}
