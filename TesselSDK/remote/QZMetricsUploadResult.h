#pragma once
// How one upload of the analytics store ended, and its text as the session records it under
// "kQZMetricsLastUploadResult" (for instance "kept (HTTP 503)").

#include <string>

struct QZMetricsUploadResult {
    enum class Kind {
        NothingToSend,      // no header or event was waiting
        Accepted,           // 2xx: the sent rows were deleted
        Kept,               // 5xx, 408 or 429: every row kept
        Discarded,          // any other status, final: the sent rows were deleted
        TransportError,     // no response: every row kept
        CompressionFailed,  // nothing sent: every row kept
        NoServiceAddress,   // no address configured: nothing sent, every row kept
        AlreadyUploading,   // dropped: another upload was in progress
    };

    QZMetricsUploadResult() = default;
    QZMetricsUploadResult(Kind kind) : kind(kind) {}

    Kind kind = Kind::NothingToSend;
    int statusCode = 0;
    std::string errorDescription;  // TransportError

    static QZMetricsUploadResult withStatus(int statusCode);
    // Whether the service asks for the same request again later (it did not process this one).
    static bool keepsRowsForStatus(int statusCode);

    // "nothing to send", "accepted (HTTP 200)", "kept (HTTP 503)", "kept (transport error: TEXT)",
    // "kept (compression failed)", "kept (no service address)", "discarded (HTTP 404)",
    // "dropped (upload in progress)".
    std::string description() const;
};
