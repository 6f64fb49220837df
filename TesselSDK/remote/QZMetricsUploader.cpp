#include "TesselSDK/remote/QZMetricsUploader.h"

#include <cstdio>

#include "Dispatch/Dispatch.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSString.h"
#include "Foundation/NSStringUTF16.h"
#include "Network/NSHTTPURLResponse.h"
#include "Network/NSURLConnection.h"
#include "TesselSDK/remote/QZMetricsDatabase.h"
#include "TesselSDK/remote/QZMetricsSession.h"

namespace {

constexpr const char* kUploadMethod =
    "-[QZMetricsUploader uploaderWithApplicationKey:useHTTPS:installId:libraryVersion:resultTarget:callback:]";
constexpr double kRequestTimeout = 60;

// The blob for people: each "{" on a line of its own, each key after a comma on the next.
std::string readableCopy(const std::string& blob)
{
    std::string copy;
    for (std::size_t i = 0; i < blob.size(); ++i) {
        if (blob[i] == '{') copy += "\n\t";
        copy += blob[i];
        if (blob[i] == ',' && i + 1 < blob.size() && blob[i + 1] == '"') copy += "\n\t";
    }
    return copy;
}

}  // namespace

QZMetricsUploader::QZMetricsUploader(QZMetricsSession& session) : session_(session) {}

void QZMetricsUploader::log(const std::string& message) const
{
    if (session_.loggingEnabled()) session_.logMessage(message);
}

void QZMetricsUploader::setDeflateMemoryLimit(std::optional<std::size_t> bytes)
{
    deflateMemoryLimit_ = bytes ? *bytes + 1 : 0;
}

std::string QZMetricsUploader::percentEncoded(const std::string& text)
{
    std::string encoded;
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            encoded += static_cast<char>(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            encoded += escape;
        }
    }
    return encoded;
}

std::string QZMetricsUploader::uploadTimeStamp()
{
    return NSStringWithFormat("%ld", static_cast<long>(NSDate::date()->timeIntervalSince1970()));
}

void QZMetricsUploader::finishUpload()
{
    isUploading_ = false;
    session_.db().vacuumIfRequired();
}

std::shared_ptr<NSMutableURLRequest>
QZMetricsUploader::createRequestWithURL(std::shared_ptr<NSURL> url, const std::optional<std::string>& installId,
                                        const std::optional<std::string>& libraryVersion, Value::Data requestData) const
{
    auto request =
        NSMutableURLRequest::requestWithURL(std::move(url), NSURLRequestReloadIgnoringLocalCacheData, kRequestTimeout);
    request->setHTTPMethod("POST");
    request->setValueForHTTPHeaderField(uploadTimeStamp(), "x-upload-time");
    if (installId) request->setValueForHTTPHeaderField(*installId, "x-install-id");
    if (libraryVersion) request->setValueForHTTPHeaderField(*libraryVersion, "x-client-version");
    request->setValueForHTTPHeaderField("application/x-gzip", "Content-Type");
    request->setValueForHTTPHeaderField("gzip", "Content-Encoding");
    request->setValueForHTTPHeaderField(NSStringWithFormat("%d", static_cast<int>(requestData.size())),
                                        "Content-Length");
    request->setHTTPBody(std::move(requestData));
    return request;
}

void QZMetricsUploader::uploaderWithApplicationKey(const std::string& applicationKey, bool useHTTPS,
                                                   const std::optional<std::string>& serviceHost,
                                                   const std::optional<std::string>& installId,
                                                   const std::optional<std::string>& libraryVersion,
                                                   ResultCallback resultCallback, OutcomeCallback outcome)
{
    // Set and cleared on two threads: one atomic exchange decides which caller uploads.
    bool idle = false;
    if (!isUploading_.compare_exchange_strong(idle, true)) {
        log(NSStringWithFormat("%s:\n + Upload already in progress.  Aborting.\n\n", kUploadMethod));
        if (outcome) outcome({QZMetricsUploadResult::Kind::AlreadyUploading});
        return;
    }
    log(NSStringWithFormat("%s:\n + Beginning upload process\n\n", kUploadMethod));
    dispatch_group_async(session_.criticalGroup(), session_.queue(),
                         [=, this, resultCallback = std::move(resultCallback), outcome = std::move(outcome)] {
                             sendBatch(applicationKey, useHTTPS, serviceHost, installId, libraryVersion, resultCallback,
                                       outcome);
                         });
}

void QZMetricsUploader::sendBatch(const std::string& applicationKey, bool useHTTPS,
                                  const std::optional<std::string>& serviceHost,
                                  const std::optional<std::string>& installId,
                                  const std::optional<std::string>& libraryVersion,
                                  const ResultCallback& resultCallback, const OutcomeCallback& outcome)
{
    QZMetricsDatabase& db = session_.db();
    auto finish = [&](const QZMetricsUploadResult& result) {
        finishUpload();
        if (outcome) outcome(result);
    };

    // Read, sent and deleted within this one block: what is deleted is exactly what was sent.
    QZMetricsUploadBatch batch = db.uploadBatch();
    if (batch.blob.empty()) {
        log(NSStringWithFormat("%s:\n + Abandoning upload. There are no new events.\n\n", kUploadMethod));
        finish({QZMetricsUploadResult::Kind::NothingToSend});
        return;
    }
    if (session_.loggingEnabled())
        log(NSStringWithFormat("%s:\n + Uploading data (length: %u)\n%@\n\n", kUploadMethod,
                               static_cast<unsigned>(NSStringUTF16Length(batch.blob)), readableCopy(batch.blob)));
    std::optional<Value::Data> compressed;
    {
        Value::Data bytes(batch.blob.begin(), batch.blob.end());
        batch.blob = std::string();
        const std::size_t limit = deflateMemoryLimit_;
        compressed = gzipDeflatedDataWithData(bytes, limit ? std::optional<std::size_t>(limit - 1) : std::nullopt);
    }
    if (!compressed) {
        // An empty body would be taken as the upload and its rows deleted unsent.
        log(NSStringWithFormat("%s:\n + Compression failed; nothing sent, every event kept.\n\n", kUploadMethod));
        finish({QZMetricsUploadResult::Kind::CompressionFailed});
        return;
    }

    std::shared_ptr<NSURL> url;
    if (serviceHost && !serviceHost->empty())
        url = NSURL::URLWithString(NSStringWithFormat("%s://%@/api/v2/applications/%@/uploads",
                                                      useHTTPS ? "https" : "http", *serviceHost,
                                                      percentEncoded(applicationKey)));
    if (!url) {
        log(NSStringWithFormat("%s:\n + No analytics service address; nothing sent, every event kept.\n\n",
                               kUploadMethod));
        finish({QZMetricsUploadResult::Kind::NoServiceAddress});
        return;
    }
    auto request = createRequestWithURL(url, installId, libraryVersion, std::move(*compressed));
    compressed.reset();

    std::shared_ptr<NSURLResponse> response;
    std::shared_ptr<NSError> error;
    std::optional<Value::Data> body = NSURLConnection::sendSynchronousRequest(request, &response, &error);
    auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response);
    QZMetricsUploadResult result;
    if (error || !http) {
        const int code = error ? static_cast<int>(error->code()) : 0;
        const std::string description = error ? error->localizedDescription() : "no HTTP response";
        log(NSStringWithFormat("%s:\n + Error Uploading.  Code: %d,  Description: %@\n\n", kUploadMethod, code,
                               description));
        result.kind = QZMetricsUploadResult::Kind::TransportError;
        result.errorDescription = description;
    } else {
        result = QZMetricsUploadResult::withStatus(http->statusCode());
        if (result.kind == QZMetricsUploadResult::Kind::Kept) {
            log(NSStringWithFormat("%s:\n + Upload failed with response status code %d\n\n", kUploadMethod,
                                   http->statusCode()));
        } else {
            log(NSStringWithFormat("%s:\n + Upload completed successfully. Response code %d\n\n", kUploadMethod,
                                   http->statusCode()));
            db.deleteUploadedRows(batch);
        }
    }
    handleResponseBody(kUploadMethod, body, resultCallback);
    finish(result);
}

void QZMetricsUploader::handleResponseBody(const std::string& method, const std::optional<Value::Data>& body,
                                           const ResultCallback& resultCallback) const
{
    if (!body || body->empty()) return;
    log(NSStringWithFormat("%s:\n + Response body: %@\n\n", method.c_str(), std::string(body->begin(), body->end())));
    if (resultCallback) resultCallback(Value::dictionary({{kQZMetricsKeyResponseBody, Value(*body)}}));
}
