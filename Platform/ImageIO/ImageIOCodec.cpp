// Reading: the PNG and JPEG readers (ImageIOReaders.h), turning the picture upright for callers
// that take it so. Writing: ImageIOPNGWriter, into a file beside the target that is renamed into
// place.
#include "ImageIO/ImageIOCodec.h"

#include "ImageIO/ImageIOPNGWriter.h"
#include "ImageIO/ImageIOReaders.h"

#include "Files/FileContents.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void setError(std::string* error, const std::string& reason)
{
    if (error) *error = reason;
}

bool decodeStored(const std::uint8_t* bytes, std::size_t length, const ImageIOStoredAllocator& allocate,
                  std::string* error)
{
    static const std::uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes && length >= 8 && std::memcmp(bytes, pngSignature, 8) == 0)
        return ImageIOReadPNG(bytes, length, allocate, error);
    if (bytes && length >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return ImageIOReadJPEG(bytes, length, allocate, error);
    setError(error, "not a PNG or JPEG image");
    return false;
}

// The picture upright in the caller's pixels: an upright picture is decoded straight into them,
// a turned one into pixels of its own first and then turned into them.
bool decodeUpright(const std::uint8_t* bytes, std::size_t length, const ImageIOPixelAllocator& allocate,
                   std::string* error)
{
    std::uint8_t* upright = nullptr;
    std::vector<std::uint8_t> stored;
    std::size_t storedWidth = 0, storedHeight = 0;
    ImageIOOrientation turn = ImageIOOrientation::Up;
    const ImageIOStoredAllocator askUpright = [&](std::size_t width, std::size_t height,
                                                  ImageIOOrientation orientation) -> void* {
        const bool swaps = ImageIOOrientationSwapsSides(orientation);
        upright = static_cast<std::uint8_t*>(allocate(swaps ? height : width, swaps ? width : height));
        if (!upright || orientation == ImageIOOrientation::Up) return upright;
        stored.resize(width * height * 4);
        storedWidth = width;
        storedHeight = height;
        turn = orientation;
        return stored.data();
    };
    if (!decodeStored(bytes, length, askUpright, error)) return false;
    if (turn != ImageIOOrientation::Up) ImageIOTurnPixels(stored.data(), storedWidth, storedHeight, 0, turn, upright);
    return true;
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

void* ImageIOAskForPixels(const ImageIOStoredAllocator& allocate, std::size_t width, std::size_t height,
                          ImageIOOrientation orientation) noexcept
{
    try {
        return allocate(width, height, orientation);
    } catch (...) {
        return nullptr;
    }
}

bool ImageIODecode(const void* bytes, std::size_t length, const ImageIOPixelAllocator& allocate, std::string* error)
{
    return decodeUpright(static_cast<const std::uint8_t*>(bytes), length, allocate, error);
}

bool ImageIODecodeStored(const void* bytes, std::size_t length, const ImageIOPixelAllocator& allocate,
                         ImageIOOrientation* orientation, std::string* error)
{
    ImageIOOrientation found = ImageIOOrientation::Up;
    const ImageIOStoredAllocator askStored = [&](std::size_t width, std::size_t height,
                                                 ImageIOOrientation stored) -> void* {
        found = stored;
        return allocate(width, height);
    };
    const bool decoded = decodeStored(static_cast<const std::uint8_t*>(bytes), length, askStored, error);
    if (orientation) *orientation = decoded ? found : ImageIOOrientation::Up;
    return decoded;
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
