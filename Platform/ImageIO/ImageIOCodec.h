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

// How the stored pixels are turned to show the picture upright, numbered as EXIF's Orientation
// tag is (a JPEG's APP1 Exif segment, a PNG's eXIf chunk). Phones store portrait photographs
// sideways with a tag. No tag, or one that cannot be read, is Up.
enum class ImageIOOrientation : int {
    Up = 1,
    UpMirrored = 2,     // flipped left to right
    Down = 3,           // half a turn
    DownMirrored = 4,   // flipped top to bottom
    LeftMirrored = 5,   // transposed
    Right = 6,          // a quarter turn clockwise
    RightMirrored = 7,  // transposed across the other diagonal
    Left = 8,           // a quarter turn counterclockwise
};

// Decodes a whole PNG or JPEG held in memory, upright: a picture stored turned is turned as its
// orientation says, and the allocator is asked for the upright size. A file cut short or with a
// damaged header fails rather than giving an image partly made up. 16-bit PNG samples without
// colour information (gAMA, sRGB) are taken as sRGB and reduce by value (v x 255 / 65535,
// rounded); a CMYK JPEG (Adobe's inverted samples or plain ones) becomes RGB.
bool ImageIODecode(const void* bytes, std::size_t length, const ImageIOPixelAllocator& allocate,
                   std::string* error = nullptr);
// A directory, a device, a FIFO or a file above kImageIOMaximumFileBytes is refused unread.
bool ImageIODecodeFile(const std::string& path, const ImageIOPixelAllocator& allocate, std::string* error = nullptr);
// The pixels as stored, the allocator asked for the stored size, and in *orientation how to turn
// them: for a caller that turns the picture as it draws it.
bool ImageIODecodeStored(const void* bytes, std::size_t length, const ImageIOPixelAllocator& allocate,
                         ImageIOOrientation* orientation, std::string* error = nullptr);

// True for the quarter turns, whose upright picture exchanges width and height.
bool ImageIOOrientationSwapsSides(ImageIOOrientation orientation);
// Copies 4-byte pixels stored width x height, `bytesPerRow` apart (0: packed), upright into
// `upright` (packed, at the upright size).
void ImageIOTurnPixels(const void* stored, std::size_t width, std::size_t height, std::size_t bytesPerRow,
                       ImageIOOrientation orientation, void* upright);

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
