#pragma once
// The one PNG and JPEG codec: PNG or JPEG in (chosen by content), PNG out. UIKit's images and
// the imaging library's example programs, tests and benchmarks all read and write through it.
// Reading goes through libpng and libjpeg; writing through ImageIOPNGWriter (zlib in strips of
// rows, on every core).
//
// Pixels are 8-bit R, G, B, A with straight (not premultiplied) alpha, rows packed top to bottom
// with no gap. Every function answers false on failure and puts a reason into *error when given;
// functions that take a path start the reason with it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Asked once the decoder knows the size: answers width * height * 4 writable bytes, or null to
// refuse that size. The caller owns the pixels either way; after a failed decode their content
// is unspecified.
using ImageIOPixelAllocator = std::function<void*(std::size_t width, std::size_t height)>;

// The largest image file read: the biggest image UIKit decodes (2^27 pixels) stored without any
// compression, with room left for PNG's row filters and chunks. Anything larger is refused unread.
inline constexpr std::size_t kImageIOMaximumFileBytes = (std::size_t{1} << 29) + (std::size_t{64} << 20);

// Decodes a whole PNG or JPEG held in memory. A file cut short or with a damaged header fails
// rather than giving an image partly made up.
bool ImageIODecode(const void* bytes, std::size_t length, const ImageIOPixelAllocator& allocate,
                   std::string* error = nullptr);
// A directory, a device, a FIFO or a file above kImageIOMaximumFileBytes is refused unread.
bool ImageIODecodeFile(const std::string& path, const ImageIOPixelAllocator& allocate, std::string* error = nullptr);

// Pixels handed to the PNG writer: rows of width x 4 bytes R, G, B, A, `bytesPerRow` apart
// (0: packed), with straight or premultiplied alpha. Premultiplied pixels are written straight,
// each colour c of alpha a as min(255, (c x 255 + a / 2) / a), 0 where a is 0.
enum class ImageIOAlpha { Straight, Premultiplied };
struct ImageIOPixels {
    const void* rgba = nullptr;
    std::size_t width = 0;
    std::size_t height = 0;
    std::size_t bytesPerRow = 0;
    ImageIOAlpha alpha = ImageIOAlpha::Straight;
};

// Encodes the pixels as an 8-bit PNG into *png (replaced): RGB when every pixel is opaque, RGBA
// otherwise. The bytes depend on the pixels alone (not on the machine's cores).
bool ImageIOEncodePNG(const ImageIOPixels& pixels, std::vector<std::uint8_t>* png, std::string* error = nullptr);
// Straight-alpha pixels, rows packed.
bool ImageIOEncodePNG(const void* rgba, std::size_t width, std::size_t height, std::vector<std::uint8_t>* png,
                      std::string* error = nullptr);
// Writes the PNG beside `path` and renames it into place, so a failed write leaves whatever was
// at `path` untouched and no partial file behind.
bool ImageIOWritePNGFile(const std::string& path, const ImageIOPixels& pixels, std::string* error = nullptr);
bool ImageIOWritePNGFile(const std::string& path, const void* rgba, std::size_t width, std::size_t height,
                         std::string* error = nullptr);
// Writes encoded bytes (a PNG already made) the same way.
bool ImageIOWriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error = nullptr);
