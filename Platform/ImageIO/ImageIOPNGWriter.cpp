#include "ImageIO/ImageIOPNGWriter.h"

#include "Dispatch/Dispatch.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include <zlib.h>

namespace {

// Filtered bytes per strip; the strip boundaries, and so the file, depend on nothing else.
constexpr std::size_t kStripBytes = std::size_t{1} << 20;
// A chunk's length is a 31-bit number; strips of one enormous row are split below that.
constexpr std::size_t kMaximumChunkData = std::size_t{1} << 30;
constexpr std::uint8_t kFilterSub = 1;

void putBigEndian(std::vector<std::uint8_t>* out, std::uint32_t value)
{
    const std::uint8_t bytes[4] = {std::uint8_t(value >> 24), std::uint8_t(value >> 16), std::uint8_t(value >> 8),
                                   std::uint8_t(value)};
    out->insert(out->end(), bytes, bytes + 4);
}

// Appends a whole chunk: length, type, data, CRC of type and data.
void putChunk(std::vector<std::uint8_t>* out, const char type[4], const std::uint8_t* data, std::size_t length)
{
    putBigEndian(out, std::uint32_t(length));
    const std::size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    if (length > 0) out->insert(out->end(), data, data + length);
    putBigEndian(out, std::uint32_t(crc32(0, out->data() + start, uInt(out->size() - start))));
}

bool everyPixelOpaque(const ImageIOPixels& pixels, std::size_t stride)
{
    const auto* base = static_cast<const std::uint8_t*>(pixels.rgba);
    for (std::size_t y = 0; y < pixels.height; ++y) {
        const std::uint8_t* row = base + y * stride;
        // An AND over the row's alpha bytes, which the compiler vectorises.
        std::uint8_t all = 255;
        for (std::size_t x = 0; x < pixels.width; ++x) all &= row[x * 4 + 3];
        if (all != 255) return false;
    }
    return true;
}

struct Layout {
    const std::uint8_t* base;
    std::size_t stride;
    std::size_t width;
    std::size_t height;
    std::size_t channels;  // 3 (opaque, written as RGB) or 4
    bool premultiplied;
    std::size_t stripRows;
};

// One row as the file holds it (without its filter byte): the channels kept, alpha straight.
void unfilteredRow(const Layout& layout, std::size_t y, std::uint8_t* out)
{
    const std::uint8_t* in = layout.base + y * layout.stride;
    if (layout.channels == 3) {
        for (std::size_t x = 0; x < layout.width; ++x) std::memcpy(out + x * 3, in + x * 4, 3);
        return;
    }
    std::memcpy(out, in, layout.width * 4);
    if (!layout.premultiplied) return;
    for (std::size_t x = 0; x < layout.width; ++x) {
        std::uint8_t* pixel = out + x * 4;
        const unsigned a = pixel[3];
        if (a == 255) continue;
        for (int k = 0; k < 3; ++k)
            pixel[k] = a == 0 ? 0 : std::uint8_t(std::min(255u, (pixel[k] * 255u + a / 2) / a));
    }
}

// Deflates `length` bytes into *out, growing it as needed; false when zlib fails.
bool deflateInto(z_stream* stream, const std::uint8_t* data, std::size_t length, int flush,
                 std::vector<std::uint8_t>* out)
{
    stream->next_in = const_cast<std::uint8_t*>(data);
    // zlib counts in 32 bits: a huge row is fed in parts.
    std::size_t left = length;
    for (;;) {
        const std::size_t part = std::min<std::size_t>(left, std::numeric_limits<uInt>::max() / 2);
        stream->avail_in = uInt(part);
        left -= part;
        const int partFlush = left == 0 ? flush : Z_NO_FLUSH;
        do {
            if (out->size() - stream->total_out < 64 * 1024) out->resize(std::max<std::size_t>(out->size() * 2, 256 * 1024));
            stream->next_out = out->data() + stream->total_out;
            stream->avail_out = uInt(std::min<std::size_t>(out->size() - stream->total_out, std::numeric_limits<uInt>::max()));
            const int status = deflate(stream, partFlush);
            if (status == Z_STREAM_ERROR) return false;
            if (status == Z_STREAM_END) return true;
        } while (stream->avail_in > 0 || stream->avail_out == 0);
        if (left == 0) return true;
    }
}

struct Strip {
    std::vector<std::uint8_t> deflated;  // raw deflate, ending on a sync flush (the last: final)
    std::uint32_t adler = 1;             // of the strip's filtered bytes
    std::size_t filteredBytes = 0;
    bool failed = false;
};

void deflateStrip(const Layout& layout, std::size_t index, std::size_t strips, Strip* strip) noexcept
{
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (deflateInit2(&stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        strip->failed = true;
        return;
    }
    try {
        const std::size_t rowBytes = layout.width * layout.channels;
        std::vector<std::uint8_t> row(rowBytes), filtered(rowBytes + 1);
        const std::size_t first = index * layout.stripRows;
        const std::size_t last = std::min(layout.height, first + layout.stripRows);
        strip->deflated.resize(std::min<std::size_t>((last - first) * (rowBytes + 1) / 2 + 1024, kStripBytes));
        for (std::size_t y = first; y < last && !strip->failed; ++y) {
            unfilteredRow(layout, y, row.data());
            filtered[0] = kFilterSub;
            const std::size_t bpp = layout.channels;
            std::memcpy(filtered.data() + 1, row.data(), std::min(bpp, rowBytes));
            for (std::size_t i = bpp; i < rowBytes; ++i) filtered[1 + i] = std::uint8_t(row[i] - row[i - bpp]);
            strip->adler = std::uint32_t(adler32_z(strip->adler, filtered.data(), filtered.size()));
            strip->filteredBytes += filtered.size();
            const int flush = y + 1 < last ? Z_NO_FLUSH : (index + 1 == strips ? Z_FINISH : Z_SYNC_FLUSH);
            strip->failed = !deflateInto(&stream, filtered.data(), filtered.size(), flush, &strip->deflated);
        }
        strip->deflated.resize(stream.total_out);
    } catch (const std::bad_alloc&) {
        strip->failed = true;
    }
    deflateEnd(&stream);
}

}  // namespace

bool ImageIOEncodePNGPieces(const ImageIOPixels& pixels, std::vector<std::vector<std::uint8_t>>* pieces,
                            std::string* error)
{
    pieces->clear();
    if (!pixels.rgba || pixels.width == 0 || pixels.height == 0) {
        if (error) *error = "no pixels to write";
        return false;
    }
    const std::size_t packed = pixels.width * 4;
    if (pixels.width > 0x7FFFFFFF / 4 || pixels.height > 0x7FFFFFFF ||
        (pixels.bytesPerRow != 0 && pixels.bytesPerRow < packed)) {
        if (error) *error = pixels.bytesPerRow != 0 && pixels.bytesPerRow < packed ? "rows overlap" : "the image is too large";
        return false;
    }
    const std::size_t stride = pixels.bytesPerRow ? pixels.bytesPerRow : packed;
    Layout layout{static_cast<const std::uint8_t*>(pixels.rgba),
                  stride,
                  pixels.width,
                  pixels.height,
                  everyPixelOpaque(pixels, stride) ? std::size_t{3} : std::size_t{4},
                  pixels.alpha == ImageIOAlpha::Premultiplied,
                  0};
    layout.stripRows = std::max<std::size_t>(1, kStripBytes / (layout.width * layout.channels + 1));
    const std::size_t strips = (layout.height + layout.stripRows - 1) / layout.stripRows;
    try {
        std::vector<Strip> done(strips);
        dispatch_apply(strips, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                       [&](std::size_t i) { deflateStrip(layout, i, strips, &done[i]); });

        std::vector<std::uint8_t> head = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        std::vector<std::uint8_t> header;
        putBigEndian(&header, std::uint32_t(layout.width));
        putBigEndian(&header, std::uint32_t(layout.height));
        header.insert(header.end(), {8, std::uint8_t(layout.channels == 3 ? 2 : 6), 0, 0, 0});
        putChunk(&head, "IHDR", header.data(), header.size());
        const std::uint8_t perceptual = 0;
        putChunk(&head, "sRGB", &perceptual, 1);
        pieces->push_back(std::move(head));

        // zlib's header (deflate, 32 KiB window, fastest level), then the strips, then the checksum.
        std::uint32_t adler = 1;
        for (std::size_t i = 0; i < strips; ++i) {
            Strip& strip = done[i];
            if (strip.failed) {
                pieces->clear();
                if (error) *error = "out of memory while compressing";
                return false;
            }
            adler = std::uint32_t(adler32_combine(adler, strip.adler, z_off_t(strip.filteredBytes)));
            std::vector<std::uint8_t> data;
            if (i == 0) data = {0x78, 0x01};
            data.insert(data.end(), strip.deflated.begin(), strip.deflated.end());
            std::vector<std::uint8_t>().swap(strip.deflated);
            if (i + 1 == strips) putBigEndian(&data, adler);
            for (std::size_t at = 0; at < data.size(); at += kMaximumChunkData) {
                std::vector<std::uint8_t> chunk;
                const std::size_t length = std::min(kMaximumChunkData, data.size() - at);
                chunk.reserve(length + 12);
                putChunk(&chunk, "IDAT", data.data() + at, length);
                pieces->push_back(std::move(chunk));
            }
        }
        std::vector<std::uint8_t> tail;
        putChunk(&tail, "IEND", nullptr, 0);
        pieces->push_back(std::move(tail));
    } catch (const std::bad_alloc&) {
        pieces->clear();
        if (error) *error = "out of memory while compressing";
        return false;
    }
    return true;
}
