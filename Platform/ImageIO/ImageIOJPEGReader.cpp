// JPEG through libjpeg(-turbo), straight into RGBA; CMYK samples are converted after each row.
// The orientation comes from the first APP1 Exif segment, which libjpeg keeps for us.
#include "ImageIO/ImageIOExif.h"
#include "ImageIO/ImageIOReaders.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg's memory besides a progressive image's coefficients: tables, a few rows of samples.
constexpr std::size_t kJPEGWorkingMemory = std::size_t{64} << 20;

constexpr int kExifMarker = JPEG_APP0 + 1;
constexpr std::uint8_t kExifSignature[6] = {'E', 'x', 'i', 'f', 0, 0};

// libjpeg reports errors by calling back, and the callback may not return: it jumps back into
// readJPEG. The state lives in the caller's frame, so nothing the jump skips needs destroying and
// nothing it returns to was held in a register.
struct JPEGDecoding {
    jpeg_decompress_struct info;
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegFail(j_common_ptr info)
{
    auto* decoding = static_cast<JPEGDecoding*>(info->client_data);
    const int code = info->err->msg_code;
    if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE)
        std::snprintf(decoding->message, sizeof decoding->message, "%s", kImageIOTooLarge);
    else
        info->err->format_message(info, decoding->message);
    std::longjmp(decoding->jump, 1);
}

// Warnings stay quiet, except a scan's data running out, at the end of the file or at a marker
// (a truncated file ended by EOI): libjpeg would fill the rest of the picture with grey and call
// it a success.
void jpegMessage(j_common_ptr info, int level)
{
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) jpegFail(info);
}

ImageIOOrientation exifOrientation(const jpeg_decompress_struct& info)
{
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker != kExifMarker || marker->data_length < sizeof kExifSignature ||
            std::memcmp(marker->data, kExifSignature, sizeof kExifSignature) != 0)
            continue;
        return ImageIOExifOrientation(marker->data + sizeof kExifSignature,
                                      marker->data_length - sizeof kExifSignature);
    }
    return ImageIOOrientation::Up;
}

// libjpeg hands CMYK (and YCCK, which it turns into CMYK) over as it is stored. Adobe's
// applications store the inks inverted (255: no ink) and mark the file with their APP14 segment;
// other writers store plain amounts of ink. Each pixel becomes R, G, B, A in place.
void convertCMYKRow(std::uint8_t* row, std::size_t width, bool inverted)
{
    for (std::size_t x = 0; x < width; ++x) {
        std::uint8_t* p = row + x * 4;
        const unsigned k = inverted ? p[3] : 255u - p[3];
        for (int i = 0; i < 3; ++i) {
            const unsigned c = inverted ? p[i] : 255u - p[i];
            p[i] = std::uint8_t((c * k + 127) / 255);
        }
        p[3] = 255;
    }
}

bool readJPEG(JPEGDecoding* decoding, const std::uint8_t* bytes, std::size_t length,
              const ImageIOStoredAllocator& allocate)
{
    decoding->info.err = jpeg_std_error(&decoding->manager);
    decoding->manager.error_exit = jpegFail;
    decoding->manager.emit_message = jpegMessage;
    decoding->info.client_data = decoding;
    decoding->message[0] = '\0';
    if (setjmp(decoding->jump)) {
        jpeg_destroy_decompress(&decoding->info);
        return false;
    }
    jpeg_create_decompress(&decoding->info);
    jpeg_mem_src(&decoding->info, bytes, static_cast<unsigned long>(length));
    jpeg_save_markers(&decoding->info, kExifMarker, 0xFFFF);
    jpeg_read_header(&decoding->info, TRUE);
    const J_COLOR_SPACE stored = decoding->info.jpeg_color_space;
    const bool cmyk = stored == JCS_CMYK || stored == JCS_YCCK;
    if (!cmyk && stored != JCS_GRAYSCALE && stored != JCS_RGB && stored != JCS_YCbCr) {
        std::snprintf(decoding->message, sizeof decoding->message,
                      "a JPEG of %d colour components in no known colour space cannot be read",
                      decoding->info.num_components);
        jpeg_destroy_decompress(&decoding->info);
        return false;
    }
    decoding->info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    // The size is asked for before libjpeg starts: a progressive image makes it hold every
    // coefficient of the picture, gigabytes for a few hundred bytes that claim a large size.
    jpeg_calc_output_dimensions(&decoding->info);
    const std::size_t width = decoding->info.output_width;
    const std::size_t height = decoding->info.output_height;
    auto* pixels = static_cast<std::uint8_t*>(
        ImageIOAskForPixels(allocate, width, height, exifOrientation(decoding->info)));
    if (!pixels) {
        std::snprintf(decoding->message, sizeof decoding->message, "%s", kImageIOTooLarge);
        jpeg_destroy_decompress(&decoding->info);
        return false;
    }
    // A size the caller accepts still bounds libjpeg's own memory: a progressive image's
    // coefficients take at most twice its RGBA pixels; past that it fails rather than allocates.
    decoding->info.mem->max_memory_to_use = static_cast<long>(kJPEGWorkingMemory + width * height * 4 * 2);
    jpeg_start_decompress(&decoding->info);
    const bool inverted = decoding->info.saw_Adobe_marker;
    while (decoding->info.output_scanline < decoding->info.output_height) {
        JSAMPROW row = pixels + std::size_t{decoding->info.output_scanline} * width * 4;
        jpeg_read_scanlines(&decoding->info, &row, 1);
        if (cmyk) convertCMYKRow(row, width, inverted);
    }
    jpeg_finish_decompress(&decoding->info);
    jpeg_destroy_decompress(&decoding->info);
    return true;
}

}  // namespace

bool ImageIOReadJPEG(const std::uint8_t* bytes, std::size_t length, const ImageIOStoredAllocator& allocate,
                     std::string* error)
{
    JPEGDecoding decoding;
    if (readJPEG(&decoding, bytes, length, allocate)) return true;
    if (error) *error = decoding.message;
    return false;
}
