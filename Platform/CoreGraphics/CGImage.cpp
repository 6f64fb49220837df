#include "CoreGraphics/CGImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "CGInternal.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "cairo's ARGB32 is B, G, R, A in memory only on little-endian hosts");

void CGSwapRedBlue(uint8_t* data, size_t width, size_t height, size_t bytesPerRow)
{
    // Whole pixels as words (rows are 4-byte aligned), so the loop vectorises.
    for (size_t y = 0; y < height; ++y) {
        uint8_t* row = data + y * bytesPerRow;
        for (size_t x = 0; x < width; ++x) {
            uint32_t v;
            std::memcpy(&v, row + x * 4, 4);
            v = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
            std::memcpy(row + x * 4, &v, 4);
        }
    }
}

cairo_surface_t* CGCreateCairoSurfaceFromRGBA(const uint8_t* bytes, size_t width, size_t height, size_t bytesPerRow)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(width), int(height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return surface;
    cairo_surface_flush(surface);
    uint8_t* dst = cairo_image_surface_get_data(surface);
    size_t stride = size_t(cairo_image_surface_get_stride(surface));
    for (size_t y = 0; y < height; ++y) std::memcpy(dst + y * stride, bytes + y * bytesPerRow, width * 4);
    CGSwapRedBlue(dst, width, height, stride);
    cairo_surface_mark_dirty(surface);
    return surface;
}

CGImage::~CGImage()
{
    if (surface_) cairo_surface_destroy(surface_);
}

cairo_surface_t* CGImage::cairoSurface()
{
    std::call_once(surfaceOnce_, [this] { surface_ = CGCreateCairoSurfaceFromRGBA(bytes.data(), width, height, width * 4); });
    return surface_;
}

CGImageRef CGImageCreateWithRGBABytes(size_t width, size_t height, size_t bytesPerRow, const uint8_t* bytes)
{
    // Cairo addresses rows with int strides: larger images cannot be drawn.
    if (!bytes || width == 0 || height == 0 || width > 32767 || height > 32767 || bytesPerRow < width * 4) return nullptr;
    auto* image = new CGImage;
    image->width = width;
    image->height = height;
    image->bytes.resize(width * height * 4);
    for (size_t y = 0; y < height; ++y) std::memcpy(&image->bytes[y * width * 4], bytes + y * bytesPerRow, width * 4);
    return image;
}

CGImageRef CGImageCreateWithRGBAVector(size_t width, size_t height, std::vector<uint8_t>&& bytes)
{
    if (width == 0 || height == 0 || width > 32767 || height > 32767 || bytes.size() != width * height * 4) return nullptr;
    auto* image = new CGImage;
    image->width = width;
    image->height = height;
    image->bytes = std::move(bytes);
    bytes.clear();
    return image;
}

void CGImageReleaseReclaimingBytes(CGImageRef image, std::vector<uint8_t>* bytes)
{
    bytes->clear();
    if (!image) return;
    // Only the caller's reference is left, so nobody can see the pixels go.
    if (image->isUniquelyReferenced()) *bytes = std::move(image->bytes);
    image->release();
}

CGImageRef CGImageCreateWithImageInRect(CGImageRef image, CGRect rect)
{
    if (!image) return nullptr;
    CGRect r = CGRectIntersection(CGRectIntegral(rect), CGRectMake(0, 0, CGFloat(image->width), CGFloat(image->height)));
    if (CGRectIsEmpty(r)) return nullptr;
    size_t x = size_t(r.origin.x), y = size_t(r.origin.y);
    return CGImageCreateWithRGBABytes(size_t(r.size.width), size_t(r.size.height), image->width * 4,
                                      &image->bytes[(y * image->width + x) * 4]);
}

CGImageRef CGImageRetain(CGImageRef image)
{
    if (image) image->retain();
    return image;
}

void CGImageRelease(CGImageRef image)
{
    if (image) image->release();
}

size_t CGImageGetWidth(CGImageRef image) { return image ? image->width : 0; }
size_t CGImageGetHeight(CGImageRef image) { return image ? image->height : 0; }
size_t CGImageGetBitsPerComponent(CGImageRef image) { return image ? 8 : 0; }
size_t CGImageGetBitsPerPixel(CGImageRef image) { return image ? 32 : 0; }
size_t CGImageGetBytesPerRow(CGImageRef image) { return image ? image->width * 4 : 0; }
CGImageAlphaInfo CGImageGetAlphaInfo(CGImageRef image) { return image ? kCGImageAlphaPremultipliedLast : kCGImageAlphaNone; }
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image) { return image ? CGBitmapInfo(kCGImageAlphaPremultipliedLast) : 0; }
const uint8_t* CGImageGetBytes(CGImageRef image) { return image ? image->bytes.data() : nullptr; }
