// PNG through libpng. Its simplified interface reads every PNG but one kind: it takes 16-bit
// samples without colour information (no gAMA, no sRGB) for linear light and brightens them, where
// every viewer shows such a file as sRGB. Those go through libpng's full interface, which reduces
// the samples by value. The orientation comes from an eXIf chunk, found by walking the chunks.
#include "ImageIO/ImageIOExif.h"
#include "ImageIO/ImageIOReaders.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <png.h>
#include <zlib.h>

namespace {

// What the codec needs of a PNG before decoding it, read from the chunks' headers.
struct PNGChunks {
    int bitDepth = 0;
    bool colourInformation = false;
    ImageIOOrientation orientation = ImageIOOrientation::Up;
};

std::uint32_t bigEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Walks the chunks after the signature until IEND or the first that does not fit. Nothing here
// fails a file: what is damaged is left to libpng to report, or (an eXIf chunk) ignored.
PNGChunks scanChunks(const std::uint8_t* bytes, std::size_t length)
{
    PNGChunks chunks;
    bool sawExif = false;
    for (std::size_t at = 8; at + 12 <= length;) {
        const std::size_t size = bigEndian32(bytes + at);
        const std::uint8_t* type = bytes + at + 4;
        if (size > length - at - 12) break;
        const std::uint8_t* data = type + 4;
        if (std::memcmp(type, "IHDR", 4) == 0 && size >= 13)
            chunks.bitDepth = data[8];
        else if (std::memcmp(type, "gAMA", 4) == 0 || std::memcmp(type, "sRGB", 4) == 0)
            chunks.colourInformation = true;
        else if (std::memcmp(type, "eXIf", 4) == 0 && !sawExif) {
            // Only the first counts, and only when its checksum holds (libpng drops it otherwise).
            sawExif = true;
            const uLong crc = crc32(crc32(0L, Z_NULL, 0), type, uInt(size + 4));
            if (crc == bigEndian32(data + size)) chunks.orientation = ImageIOExifOrientation(data, size);
        } else if (std::memcmp(type, "IEND", 4) == 0)
            break;
        at += size + 12;
    }
    return chunks;
}

bool readSimplified(const std::uint8_t* bytes, std::size_t length, const ImageIOStoredAllocator& allocate,
                    ImageIOOrientation orientation, std::string* error)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, length)) {
        if (error) *error = image.message;
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    void* pixels = ImageIOAskForPixels(allocate, image.width, image.height, orientation);
    if (!pixels) {
        png_image_free(&image);
        if (error) *error = kImageIOTooLarge;
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, pixels, 0, nullptr)) {
        if (error) *error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

// libpng's full interface reports errors by calling back and jumping out, as libjpeg does: the
// state lives in the caller's frame.
struct PNGDecoding {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;
    std::size_t offset = 0;
    std::vector<png_bytep> rows;
    char message[200] = {};
};

[[noreturn]] void pngFail(png_structp png, png_const_charp message)
{
    auto* decoding = static_cast<PNGDecoding*>(png_get_error_ptr(png));
    std::snprintf(decoding->message, sizeof decoding->message, "%s", message);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep into, png_size_t count)
{
    auto* decoding = static_cast<PNGDecoding*>(png_get_io_ptr(png));
    if (count > decoding->length - decoding->offset) png_error(png, "the file is cut short");
    std::memcpy(into, decoding->bytes + decoding->offset, count);
    decoding->offset += count;
}

bool readByValue(PNGDecoding* decoding, const ImageIOStoredAllocator& allocate, ImageIOOrientation orientation)
{
    decoding->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, decoding, pngFail, pngWarning);
    if (decoding->png) decoding->info = png_create_info_struct(decoding->png);
    if (!decoding->info) {
        png_destroy_read_struct(&decoding->png, nullptr, nullptr);
        std::snprintf(decoding->message, sizeof decoding->message, "%s", kImageIOTooLarge);
        return false;
    }
    if (setjmp(png_jmpbuf(decoding->png))) {
        png_destroy_read_struct(&decoding->png, &decoding->info, nullptr);
        return false;
    }
    // The signature was checked by the caller.
    decoding->offset = 8;
    png_set_read_fn(decoding->png, decoding, pngRead);
    png_set_sig_bytes(decoding->png, 8);
    png_read_info(decoding->png, decoding->info);
    const int colourType = png_get_color_type(decoding->png, decoding->info);
    png_set_scale_16(decoding->png);
    png_set_expand(decoding->png);
    if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(decoding->png);
    if (!(colourType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(decoding->png, decoding->info, PNG_INFO_tRNS))
        png_set_add_alpha(decoding->png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(decoding->png);
    png_read_update_info(decoding->png, decoding->info);
    const std::size_t width = png_get_image_width(decoding->png, decoding->info);
    const std::size_t height = png_get_image_height(decoding->png, decoding->info);
    if (png_get_rowbytes(decoding->png, decoding->info) != width * 4) png_error(decoding->png, "unexpected row layout");
    auto* pixels = static_cast<std::uint8_t*>(ImageIOAskForPixels(allocate, width, height, orientation));
    if (!pixels) {
        std::snprintf(decoding->message, sizeof decoding->message, "%s", kImageIOTooLarge);
        png_destroy_read_struct(&decoding->png, &decoding->info, nullptr);
        return false;
    }
    decoding->rows.resize(height);
    for (std::size_t y = 0; y < height; ++y) decoding->rows[y] = pixels + y * width * 4;
    png_read_image(decoding->png, decoding->rows.data());
    png_read_end(decoding->png, nullptr);
    png_destroy_read_struct(&decoding->png, &decoding->info, nullptr);
    return true;
}

}  // namespace

bool ImageIOReadPNG(const std::uint8_t* bytes, std::size_t length, const ImageIOStoredAllocator& allocate,
                    std::string* error)
{
    const PNGChunks chunks = scanChunks(bytes, length);
    if (chunks.bitDepth != 16 || chunks.colourInformation)
        return readSimplified(bytes, length, allocate, chunks.orientation, error);
    PNGDecoding decoding;
    decoding.bytes = bytes;
    decoding.length = length;
    if (readByValue(&decoding, allocate, chunks.orientation)) return true;
    if (error) *error = decoding.message;
    return false;
}
