#pragma once
// Immutable images: 8 bits per component, bytes R, G, B, A per pixel, premultiplied alpha, rows
// top to bottom. Creating one copies the pixels, so later drawing into the source never shows.

#include "CoreGraphics/CGColorSpace.h"
#include "CoreGraphics/CGGeometry.h"

#include <vector>

struct CGImage;
typedef CGImage* CGImageRef;

enum CGImageAlphaInfo : uint32_t {
    kCGImageAlphaNone = 0,
    kCGImageAlphaPremultipliedLast = 1,
    kCGImageAlphaPremultipliedFirst = 2,
    kCGImageAlphaLast = 3,
    kCGImageAlphaFirst = 4,
    kCGImageAlphaNoneSkipLast = 5,
    kCGImageAlphaNoneSkipFirst = 6,
    kCGImageAlphaOnly = 7,
};

typedef uint32_t CGBitmapInfo;
constexpr CGBitmapInfo kCGBitmapAlphaInfoMask = 0x1F;
constexpr CGBitmapInfo kCGBitmapByteOrderMask = 0x7000;
constexpr CGBitmapInfo kCGBitmapByteOrderDefault = 0 << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder16Little = 1 << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder32Little = 2 << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder16Big = 3 << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder32Big = 4 << 12;

// Our entry point for decoders and tests: copies width x height pixels of premultiplied R, G, B,
// A bytes. Null for an empty size, a null buffer or a row stride shorter than the row.
CGImageRef CGImageCreateWithRGBABytes(size_t width, size_t height, size_t bytesPerRow, const uint8_t* bytes);
// Takes the pixels over instead of copying them: `bytes` holds exactly width x height x 4 bytes,
// rows packed (left empty on success). Null, with `bytes` untouched, otherwise.
CGImageRef CGImageCreateWithRGBAVector(size_t width, size_t height, std::vector<uint8_t>&& bytes);
// Releases the image; when that was its last reference, its pixel storage moves into *bytes (a
// buffer for the caller to fill again) instead of being freed. *bytes is emptied otherwise.
void CGImageReleaseReclaimingBytes(CGImageRef image, std::vector<uint8_t>* bytes);
// The part of the image inside `rect` (pixels, top-left origin), clipped to the image; null when
// nothing is left.
CGImageRef CGImageCreateWithImageInRect(CGImageRef image, CGRect rect);
CGImageRef CGImageRetain(CGImageRef image);
void CGImageRelease(CGImageRef image);
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);
size_t CGImageGetBitsPerComponent(CGImageRef image);
size_t CGImageGetBitsPerPixel(CGImageRef image);
size_t CGImageGetBytesPerRow(CGImageRef image);
CGImageAlphaInfo CGImageGetAlphaInfo(CGImageRef image);
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image);
// The pixels (premultiplied R, G, B, A, CGImageGetBytesPerRow apart); read-only.
const uint8_t* CGImageGetBytes(CGImageRef image);
