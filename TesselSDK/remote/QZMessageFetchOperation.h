#pragma once
// One message of a message update: downloads the message archive, checks it, and stores the
// message record (with the manifest entry's identifier) and its banner through the content
// manager's messages update context. A concurrent operation of the processing queue; its request
// runs on the asset download queue (20 s, ignoring the cache). It always runs to its end (cancel
// does nothing), carrying in `error` what went wrong:
// - the transport error;
// - "Tessel Message Download Failure" 0: no URL, the archive could not be written or is invalid
//   (an HTTP error page included);
// - the parse error of "message.json", or "Tessel Message Deserialization Failure" 0 when it is
//   missing or holds no JSON object;
// - "Core Data" 0: the record could not be saved (the context is reset, so the other messages and
//   later updates still save).
// The archive is written under a unique name in the temporary directory and removed once read.

#include <memory>
#include <string>

#include "Network/NSURLRequest.h"
#include "TesselSDK/remote/QZErrorOperation.h"

class QZTesselContentManager;

inline constexpr const char* kQZMessageDownloadFailureDomain = "Tessel Message Download Failure";
inline constexpr const char* kQZMessageDeserializationFailureDomain = "Tessel Message Deserialization Failure";

class QZMessageFetchOperation : public QZErrorOperation {
public:
    using QZErrorOperation::QZErrorOperation;

    // initWithURL:identifier:; a null URL fails at the start.
    static std::shared_ptr<QZMessageFetchOperation> make(std::shared_ptr<NSURL> url, std::string identifier,
                                                         std::shared_ptr<QZTesselContentManager> manager);

    const std::string& identifier() const { return identifier_; }
    const std::shared_ptr<NSURLRequest>& urlRequest() const { return request_; }

    bool isConcurrent() const override { return true; }
    void start() override;
    void cancel() override {}

private:
    // Global queue: the archive's message and banner, or the error that stops the fetch.
    void readArchive(const Value::Data& data);
    // The messages update context's queue.
    std::shared_ptr<NSError> storeMessage(const Value& document, const Value& banner);
    void finishWithError(std::shared_ptr<NSError> error);

    std::shared_ptr<NSURLRequest> request_;
    std::string identifier_;
    std::weak_ptr<QZTesselContentManager> manager_;
};
