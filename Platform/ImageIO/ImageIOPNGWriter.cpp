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
// A strip is one chunk, whose length is a 31-bit number: a row (the least a strip holds) is kept
// well below that.
constexpr std::size_t kMaximumRowBytes = std::size_t{1} << 30;
constexpr std::uint8_t kFilterSub = 1;
// A chunk's length and type before its data, its CRC after.
constexpr std::size_t kChunkHead = 8, kChunkTail = 4;

void putBigEndian(std::uint8_t* out, std::uint32_t value)
{
    out[0] = std::uint8_t(value >> 24);
    out[1] = std::uint8_t(value >> 16);
    out[2] = std::uint8_t(value >> 8);
    out[3] = std::uint8_t(value);
}

// Grows the piece to hold at least `capacity` bytes, keeping what it has.
void reserve(ImageIOPNGPiece* piece, std::size_t capacity)
{
    if (capacity <= piece->capacity) return;
    std::unique_ptr<std::uint8_t[]> grown(new std::uint8_t[capacity]);
    if (piece->length > 0) std::memcpy(grown.get(), piece->bytes.get(), piece->length);
    piece->bytes = std::move(grown);
    piece->capacity = capacity;
}

void append(ImageIOPNGPiece* piece, const void* data, std::size_t length)
{
    reserve(piece, std::max(piece->length + length, piece->capacity * 2));
    std::memcpy(piece->bytes.get() + piece->length, data, length);
    piece->length += length;
}

// Fills in a chunk written from `start` on (length and type first, data after, room for the CRC
// not yet counted): its length, then its CRC of type and data.
void closeChunk(ImageIOPNGPiece* piece, std::size_t start)
{
    reserve(piece, piece->length + kChunkTail);
    std::uint8_t* chunk = piece->bytes.get() + start;
    const std::size_t dataLength = piece->length - start - kChunkHead;
    putBigEndian(chunk, std::uint32_t(dataLength));
    putBigEndian(piece->bytes.get() + piece->length, std::uint32_t(crc32_z(0, chunk + 4, dataLength + 4)));
    piece->length += kChunkTail;
}

void putChunk(ImageIOPNGPiece* piece, const char type[4], const std::uint8_t* data, std::size_t length)
{
    const std::size_t start = piece->length;
    const std::uint8_t head[kChunkHead] = {0, 0, 0, 0, std::uint8_t(type[0]), std::uint8_t(type[1]),
                                           std::uint8_t(type[2]), std::uint8_t(type[3])};
    append(piece, head, kChunkHead);
    if (length > 0) append(piece, data, length);
    closeChunk(piece, start);
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
    std::size_t strips;
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

// Deflates one filtered row into the piece, growing it as needed; false when zlib fails.
bool deflateInto(z_stream* stream, const std::uint8_t* data, std::size_t length, int flush, ImageIOPNGPiece* piece)
{
    stream->next_in = const_cast<std::uint8_t*>(data);
    stream->avail_in = uInt(length);  // a row is below kMaximumRowBytes
    for (;;) {
        if (piece->capacity - piece->length < 64 * 1024) reserve(piece, piece->capacity * 2 + 64 * 1024);
        const std::size_t room = std::min<std::size_t>(piece->capacity - piece->length, std::numeric_limits<uInt>::max());
        stream->next_out = piece->bytes.get() + piece->length;
        stream->avail_out = uInt(room);
        const int status = deflate(stream, flush);
        piece->length += room - stream->avail_out;
        if (status == Z_STREAM_ERROR) return false;
        if (status == Z_STREAM_END) return true;
        // Everything taken and, for a flush, all of it out: zlib left room unused.
        if (flush != Z_FINISH && stream->avail_in == 0 && stream->avail_out > 0) return true;
    }
}

struct Strip {
    ImageIOPNGPiece chunk;  // an IDAT chunk: the strip's raw deflate, ending on a sync flush (the last: final)
    std::uint32_t adler = 1;  // of the strip's filtered bytes
    std::size_t filteredBytes = 0;
    bool failed = false;
};

// Fills the strip's IDAT chunk; the first strip's data starts with zlib's header, and the last's
// CRC is left for the whole stream's checksum to be appended first.
void deflateStrip(const Layout& layout, std::size_t index, Strip* strip) noexcept
{
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (deflateInit2(&stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        strip->failed = true;
        return;
    }
    try {
        const std::size_t rowBytes = layout.width * layout.channels, bpp = layout.channels;
        std::unique_ptr<std::uint8_t[]> row(new std::uint8_t[rowBytes]), filtered(new std::uint8_t[rowBytes + 1]);
        const std::size_t first = index * layout.stripRows;
        const std::size_t last = std::min(layout.height, first + layout.stripRows);
        ImageIOPNGPiece& chunk = strip->chunk;
        reserve(&chunk, (last - first) * (rowBytes + 1) / 2 + 4096);
        const std::uint8_t head[kChunkHead + 2] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x78, 0x01};
        append(&chunk, head, index == 0 ? kChunkHead + 2 : kChunkHead);
        for (std::size_t y = first; y < last && !strip->failed; ++y) {
            unfilteredRow(layout, y, row.get());
            filtered[0] = kFilterSub;
            std::memcpy(filtered.get() + 1, row.get(), std::min(bpp, rowBytes));
            for (std::size_t i = bpp; i < rowBytes; ++i) filtered[1 + i] = std::uint8_t(row[i] - row[i - bpp]);
            strip->adler = std::uint32_t(adler32_z(strip->adler, filtered.get(), rowBytes + 1));
            strip->filteredBytes += rowBytes + 1;
            const int flush = y + 1 < last ? Z_NO_FLUSH : (index + 1 == layout.strips ? Z_FINISH : Z_SYNC_FLUSH);
            strip->failed = !deflateInto(&stream, filtered.get(), rowBytes + 1, flush, &chunk);
        }
        if (index + 1 < layout.strips && !strip->failed) closeChunk(&chunk, 0);
    } catch (const std::bad_alloc&) {
        strip->failed = true;
    }
    deflateEnd(&stream);
}

}  // namespace

bool ImageIOEncodePNGPieces(const ImageIOPixels& pixels, std::vector<ImageIOPNGPiece>* pieces, std::string* error)
{
    pieces->clear();
    if (!pixels.rgba || pixels.width == 0 || pixels.height == 0) {
        if (error) *error = "no pixels to write";
        return false;
    }
    const std::size_t packed = pixels.width * 4;
    if (pixels.width > kMaximumRowBytes / 4 || pixels.height > 0x7FFFFFFF) {
        if (error) *error = "the image is too large";
        return false;
    }
    if (pixels.bytesPerRow != 0 && pixels.bytesPerRow < packed) {
        if (error) *error = "rows overlap";
        return false;
    }
    const std::size_t stride = pixels.bytesPerRow ? pixels.bytesPerRow : packed;
    Layout layout{static_cast<const std::uint8_t*>(pixels.rgba),
                  stride,
                  pixels.width,
                  pixels.height,
                  everyPixelOpaque(pixels, stride) ? std::size_t{3} : std::size_t{4},
                  pixels.alpha == ImageIOAlpha::Premultiplied,
                  0,
                  0};
    layout.stripRows = std::max<std::size_t>(1, kStripBytes / (layout.width * layout.channels + 1));
    layout.strips = (layout.height + layout.stripRows - 1) / layout.stripRows;
    try {
        std::vector<Strip> strips(layout.strips);
        dispatch_apply(layout.strips, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                       [&](std::size_t i) { deflateStrip(layout, i, &strips[i]); });

        ImageIOPNGPiece head;
        const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        append(&head, signature, sizeof signature);
        std::uint8_t header[13] = {0, 0, 0, 0, 0, 0, 0, 0, 8, std::uint8_t(layout.channels == 3 ? 2 : 6), 0, 0, 0};
        putBigEndian(header, std::uint32_t(layout.width));
        putBigEndian(header + 4, std::uint32_t(layout.height));
        putChunk(&head, "IHDR", header, sizeof header);
        const std::uint8_t perceptual = 0;
        putChunk(&head, "sRGB", &perceptual, 1);
        pieces->push_back(std::move(head));

        std::uint32_t adler = 1;
        for (Strip& strip : strips) {
            if (strip.failed) {
                pieces->clear();
                if (error) *error = "out of memory while compressing";
                return false;
            }
            adler = std::uint32_t(adler32_combine(adler, strip.adler, z_off_t(strip.filteredBytes)));
        }
        // The stream's checksum ends the last strip's chunk.
        Strip& last = strips.back();
        std::uint8_t checksum[4];
        putBigEndian(checksum, adler);
        append(&last.chunk, checksum, 4);
        closeChunk(&last.chunk, 0);
        for (Strip& strip : strips) pieces->push_back(std::move(strip.chunk));

        ImageIOPNGPiece tail;
        putChunk(&tail, "IEND", nullptr, 0);
        pieces->push_back(std::move(tail));
    } catch (const std::bad_alloc&) {
        pieces->clear();
        if (error) *error = "out of memory while compressing";
        return false;
    }
    return true;
}
