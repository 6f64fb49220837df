// Reading: PNG through libpng's simplified interface, JPEG through libjpeg(-turbo) straight into
// RGBA. Writing: ImageIOPNGWriter, into a file beside the target that is renamed into place.
#include "ImageIO/ImageIOCodec.h"

#include "ImageIO/ImageIOPNGWriter.h"

#include "Files/FileContents.h"

#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

namespace {

void setError(std::string* error, const std::string& reason)
{
    if (error) *error = reason;
}

const char kTooLarge[] = "the image is too large";

// libjpeg's memory besides a progressive image's coefficients: tables, a few rows of samples.
constexpr std::size_t kJPEGWorkingMemory = std::size_t{64} << 20;

// An allocator that throws is a refusal: nothing may unwind through the decoders.
void* askForPixels(const ImageIOPixelAllocator& allocate, std::size_t width, std::size_t height) noexcept
{
    try {
        return allocate(width, height);
    } catch (...) {
        return nullptr;
    }
}

bool decodePNG(const std::uint8_t* bytes, std::size_t length, const ImageIOPixelAllocator& allocate, std::string* error)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, length)) {
        setError(error, image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    void* pixels = askForPixels(allocate, image.width, image.height);
    if (!pixels) {
        png_image_free(&image);
        setError(error, kTooLarge);
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, pixels, 0, nullptr)) {
        setError(error, image.message);
        png_image_free(&image);
        return false;
    }
    return true;
}

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
        std::snprintf(decoding->message, sizeof decoding->message, "%s", kTooLarge);
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

bool readJPEG(JPEGDecoding* decoding, const std::uint8_t* bytes, std::size_t length,
              const ImageIOPixelAllocator& allocate)
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
    jpeg_read_header(&decoding->info, TRUE);
    decoding->info.out_color_space = JCS_EXT_RGBA;
    // The size is asked for before libjpeg starts: a progressive image makes it hold every
    // coefficient of the picture, gigabytes for a few hundred bytes that claim a large size.
    jpeg_calc_output_dimensions(&decoding->info);
    const std::size_t width = decoding->info.output_width;
    const std::size_t height = decoding->info.output_height;
    auto* pixels = static_cast<std::uint8_t*>(askForPixels(allocate, width, height));
    if (!pixels) {
        std::snprintf(decoding->message, sizeof decoding->message, "%s", kTooLarge);
        jpeg_destroy_decompress(&decoding->info);
        return false;
    }
    // A size the caller accepts still bounds libjpeg's own memory: a progressive image's
    // coefficients take at most twice its RGBA pixels; past that it fails rather than allocates.
    decoding->info.mem->max_memory_to_use = static_cast<long>(kJPEGWorkingMemory + width * height * 4 * 2);
    jpeg_start_decompress(&decoding->info);
    while (decoding->info.output_scanline < decoding->info.output_height) {
        JSAMPROW row = pixels + std::size_t{decoding->info.output_scanline} * width * 4;
        jpeg_read_scanlines(&decoding->info, &row, 1);
    }
    jpeg_finish_decompress(&decoding->info);
    jpeg_destroy_decompress(&decoding->info);
    return true;
}

bool decodeJPEG(const std::uint8_t* bytes, std::size_t length, const ImageIOPixelAllocator& allocate,
                std::string* error)
{
    JPEGDecoding decoding;
    if (readJPEG(&decoding, bytes, length, allocate)) return true;
    setError(error, decoding.message);
    return false;
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>* contents, std::string* error)
{
    std::string reason;
    if (FileReadContents(path, kImageIOMaximumFileBytes, contents, &reason)) return true;
    setError(error, path + ": " + reason);
    return false;
}

bool writeAll(int fd, const std::uint8_t* bytes, std::size_t length)
{
    while (length > 0) {
        const ssize_t wrote = write(fd, bytes, length);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += wrote;
        length -= static_cast<std::size_t>(wrote);
    }
    return true;
}

// Writes the pieces, one after another, into a fresh file beside `path`, then renames it over `path`.
bool replaceFile(const std::string& path, const std::vector<std::pair<const std::uint8_t*, std::size_t>>& pieces,
                 std::string* error)
{
    static std::atomic<unsigned> sequence{0};
    std::string partial;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        partial = path + ".partial-" + std::to_string(getpid()) + "-" + std::to_string(sequence++);
        fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100)) {
            setError(error, path + ": " + std::strerror(errno));
            return false;
        }
    }
    bool written = true;
    for (const auto& [bytes, length] : pieces)
        if (written) written = writeAll(fd, bytes, length);
    const int writeErrno = errno;
    if (close(fd) != 0 && written) {
        setError(error, path + ": " + std::strerror(errno));
        unlink(partial.c_str());
        return false;
    }
    if (!written || rename(partial.c_str(), path.c_str()) != 0) {
        setError(error, path + ": " + std::strerror(written ? errno : writeErrno));
        unlink(partial.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool ImageIODecode(const void* bytes, std::size_t length, const ImageIOPixelAllocator& allocate, std::string* error)
{
    static const std::uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto* data = static_cast<const std::uint8_t*>(bytes);
    if (data && length >= 8 && std::memcmp(data, pngSignature, 8) == 0) return decodePNG(data, length, allocate, error);
    if (data && length >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return decodeJPEG(data, length, allocate, error);
    setError(error, "not a PNG or JPEG image");
    return false;
}

bool ImageIODecodeFile(const std::string& path, const ImageIOPixelAllocator& allocate, std::string* error)
{
    std::vector<std::uint8_t> contents;
    if (!readWholeFile(path, &contents, error)) return false;
    std::string reason;
    if (ImageIODecode(contents.data(), contents.size(), allocate, &reason)) return true;
    setError(error, path + ": " + reason);
    return false;
}

bool ImageIOEncodePNG(const ImageIOPixels& pixels, std::vector<std::uint8_t>* png, std::string* error)
{
    png->clear();
    std::vector<ImageIOPNGPiece> pieces;
    if (!ImageIOEncodePNGPieces(pixels, &pieces, error)) return false;
    std::size_t length = 0;
    for (const ImageIOPNGPiece& piece : pieces) length += piece.length;
    png->reserve(length);
    for (ImageIOPNGPiece& piece : pieces) {
        png->insert(png->end(), piece.bytes.get(), piece.bytes.get() + piece.length);
        piece = ImageIOPNGPiece();
    }
    return true;
}

bool ImageIOEncodePNG(const void* rgba, std::size_t width, std::size_t height, std::vector<std::uint8_t>* png,
                      std::string* error)
{
    return ImageIOEncodePNG(ImageIOPixels{rgba, width, height, 0, ImageIOAlpha::Straight}, png, error);
}

bool ImageIOWritePNGFile(const std::string& path, const ImageIOPixels& pixels, std::string* error)
{
    std::vector<ImageIOPNGPiece> pieces;
    std::string reason;
    if (!ImageIOEncodePNGPieces(pixels, &pieces, &reason)) {
        setError(error, path + ": " + reason);
        return false;
    }
    std::vector<std::pair<const std::uint8_t*, std::size_t>> order;
    for (const ImageIOPNGPiece& piece : pieces) order.emplace_back(piece.bytes.get(), piece.length);
    return replaceFile(path, order, error);
}

bool ImageIOWritePNGFile(const std::string& path, const void* rgba, std::size_t width, std::size_t height,
                         std::string* error)
{
    return ImageIOWritePNGFile(path, ImageIOPixels{rgba, width, height, 0, ImageIOAlpha::Straight}, error);
}

bool ImageIOWriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error)
{
    return replaceFile(path, {{bytes.data(), bytes.size()}}, error);
}
