#include "TesselSDK/remote/QZMetricsUploadResult.h"

QZMetricsUploadResult QZMetricsUploadResult::withStatus(int statusCode)
{
    QZMetricsUploadResult result;
    result.statusCode = statusCode;
    if (keepsRowsForStatus(statusCode))
        result.kind = Kind::Kept;
    else
        result.kind = statusCode >= 200 && statusCode <= 299 ? Kind::Accepted : Kind::Discarded;
    return result;
}

bool QZMetricsUploadResult::keepsRowsForStatus(int statusCode)
{
    // 408 and 429 say the request was not processed and ask for a retry, as 5xx do: deleting
    // then would lose events the service never took.
    return (statusCode >= 500 && statusCode <= 599) || statusCode == 408 || statusCode == 429;
}

std::string QZMetricsUploadResult::description() const
{
    const std::string http = "(HTTP " + std::to_string(statusCode) + ")";
    switch (kind) {
    case Kind::NothingToSend: return "nothing to send";
    case Kind::Accepted: return "accepted " + http;
    case Kind::Kept: return "kept " + http;
    case Kind::Discarded: return "discarded " + http;
    case Kind::TransportError: return "kept (transport error: " + errorDescription + ")";
    case Kind::CompressionFailed: return "kept (compression failed)";
    case Kind::NoServiceAddress: return "kept (no service address)";
    case Kind::AlreadyUploading: return "dropped (upload in progress)";
    }
    return "";
}
