#pragma once
// Sends what the analytics store holds to the analytics service as one gzip-compressed POST, and
// deletes the sent rows once the service has taken them; posts the install attribution. It works
// for its session: the session's store, log, serial queue and critical group.
//
// An upload checks and sets `isUploading` on the caller's thread (one asked for meanwhile is
// dropped); everything from reading the store to deleting what was sent runs as one block on the
// session's queue inside its critical group, so no event is staged or deleted in between. The
// session calls it from that queue: nothing here waits on the queue.

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Foundation/Value.h"
#include "Network/NSMutableURLRequest.h"
#include "TesselSDK/remote/QZMetricsUploadResult.h"

class QZMetricsSession;

inline constexpr const char* kQZMetricsKeyResponseBody = "metrics.key.responseBody";

class QZMetricsUploader {
public:
    // Given {"metrics.key.responseBody": data} when a response has a body.
    using ResultCallback = std::function<void(const Value&)>;
    // Called once when an upload ends (on the session's queue), or at once when it is dropped.
    using OutcomeCallback = std::function<void(const QZMetricsUploadResult&)>;

    explicit QZMetricsUploader(QZMetricsSession& session);
    QZMetricsUploader(const QZMetricsUploader&) = delete;
    QZMetricsUploader& operator=(const QZMetricsUploader&) = delete;

    bool isUploading() const { return isUploading_; }

    // Uploads everything waiting in the store to `serviceHost` ("host" or "host:port"; with none,
    // nothing is sent and every row kept).
    void uploaderWithApplicationKey(const std::string& applicationKey, bool useHTTPS,
                                    const std::optional<std::string>& serviceHost,
                                    const std::optional<std::string>& installId,
                                    const std::optional<std::string>& libraryVersion,
                                    ResultCallback resultCallback = nullptr, OutcomeCallback outcome = nullptr);

    // Posts the install attribution over plain HTTP to `serviceHost`; nothing without an original
    // attribution or a host. Every value is percent-encoded.
    void uploaderReferralWithApplicationKey(const std::string& applicationKey,
                                            const std::optional<std::string>& serviceHost,
                                            const std::optional<std::string>& originalAttribution,
                                            const std::optional<std::string>& currentAttribution,
                                            const std::optional<std::string>& installId,
                                            const std::optional<std::string>& uniqueIdentifier,
                                            const std::optional<std::string>& advertisingIdentifier);

    std::shared_ptr<NSMutableURLRequest> createRequestWithURL(std::shared_ptr<NSURL> url,
                                                              const std::optional<std::string>& installId,
                                                              const std::optional<std::string>& libraryVersion,
                                                              Value::Data requestData) const;
    // gzip framing, 16 KB output steps; empty input comes back unchanged; nil when zlib cannot
    // start, as when its memory allowance is smaller than a deflate stream needs.
    static std::optional<Value::Data> gzipDeflatedDataWithData(const Value::Data& data,
                                                               std::optional<std::size_t> memoryLimit = std::nullopt);
    // The current time in whole seconds since 1970, "%ld".
    static std::string uploadTimeStamp();
    void finishUpload();

    // The memory zlib may take for one compression (tests starve it); none by default.
    void setDeflateMemoryLimit(std::optional<std::size_t> bytes);

    // Every byte outside A-Z a-z 0-9 - . _ ~ as %XX.
    static std::string percentEncoded(const std::string& text);

private:
    void log(const std::string& message) const;
    void sendBatch(const std::string& applicationKey, bool useHTTPS, const std::optional<std::string>& serviceHost,
                   const std::optional<std::string>& installId, const std::optional<std::string>& libraryVersion,
                   const ResultCallback& resultCallback, const OutcomeCallback& outcome);
    void handleResponseBody(const std::string& method, const std::optional<Value::Data>& body,
                            const ResultCallback& resultCallback) const;

    QZMetricsSession& session_;
    std::atomic<bool> isUploading_{false};
    std::atomic<std::size_t> deflateMemoryLimit_{0};  // 0: none
};
