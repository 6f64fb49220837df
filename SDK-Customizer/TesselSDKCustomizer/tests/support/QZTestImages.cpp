#include "QZTestImages.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace customizer::testing {

NSImagePtr makeImage(int width, int height, const std::function<CGColor(int x, int y)>& color)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            CGColor c = color(x, y);
            auto level = [&](double v) { return uint32_t(std::lround(v * c.alpha * 255)); };
            row[x] = uint32_t(std::lround(c.alpha * 255)) << 24 | level(c.red) << 16 | level(c.green) << 8 | level(c.blue);
        }
    }
    cairo_surface_mark_dirty(surface);
    return NSImage::imageWithCGImage(CGImage::imageWithSurface(surface));
}

CGColor pixelAt(const NSImagePtr& image, int x, int y)
{
    if (!image) return kClear;
    return image->CGImage()->colorAt(x, y);
}

std::string describe(const CGColor& c)
{
    char text[80];
    std::snprintf(text, sizeof text, "(%.3f %.3f %.3f a %.3f)", c.red, c.green, c.blue, c.alpha);
    return text;
}

::testing::AssertionResult colorNear(const CGColor& actual, const CGColor& expected, double tolerance)
{
    bool near = std::fabs(actual.alpha - expected.alpha) <= tolerance;
    // Colour channels of a transparent pixel mean nothing.
    if (expected.alpha > 0)
        near = near && std::fabs(actual.red - expected.red) <= tolerance && std::fabs(actual.green - expected.green) <= tolerance &&
               std::fabs(actual.blue - expected.blue) <= tolerance;
    if (near) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << describe(actual) << ", expected " << describe(expected);
}

}  // namespace customizer::testing
