#include <zlib.h>

#include <cstdlib>

#include "TesselSDK/remote/QZMetricsUploader.h"

namespace {

constexpr std::size_t kOutputStep = 16384;

// zlib's allocations against an allowance: past it they fail as an exhausted heap would.
struct Allowance {
    std::size_t left;
};

voidpf allocateWithin(voidpf opaque, uInt items, uInt size)
{
    auto* allowance = static_cast<Allowance*>(opaque);
    const std::size_t bytes = static_cast<std::size_t>(items) * size;
    if (bytes > allowance->left) return Z_NULL;
    allowance->left -= bytes;
    return std::calloc(items, size);
}

void freeWithin(voidpf, voidpf address)
{
    std::free(address);
}

}  // namespace

std::optional<Value::Data> QZMetricsUploader::gzipDeflatedDataWithData(const Value::Data& data,
                                                                       std::optional<std::size_t> memoryLimit)
{
    if (data.empty()) return data;
    z_stream stream{};
    Allowance allowance{memoryLimit.value_or(0)};
    if (memoryLimit) {
        stream.zalloc = allocateWithin;
        stream.zfree = freeWithin;
        stream.opaque = &allowance;
    }
    // Window bits 31: a 32 KB window with gzip framing.
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    Value::Data output(kOutputStep);
    int status = Z_OK;
    do {
        if (stream.total_out >= output.size()) output.resize(output.size() + kOutputStep);
        stream.next_out = output.data() + stream.total_out;
        stream.avail_out = static_cast<uInt>(output.size() - stream.total_out);
        status = deflate(&stream, Z_FINISH);
    } while (stream.avail_out == 0 && status != Z_STREAM_ERROR);
    deflateEnd(&stream);
    if (status != Z_STREAM_END) return std::nullopt;
    output.resize(stream.total_out);
    return output;
}
