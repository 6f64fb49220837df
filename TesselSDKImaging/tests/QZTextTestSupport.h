#pragma once
// Test support for the text core: a generated background, drawing a block on the CPU, and the ink
// a text leaves on an image (pixels that differ from it by more than 48 levels in any channel).

#include "TesselSDKImaging/QZBitmap.h"
#include "QopTestBitmap.h"

#include "CoreText/CoreText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace qz_test {

// Opaque and smooth: a diagonal blue-to-orange ramp with faint stripes.
inline qop_test::TestBitmap makeBackground(size_t width, size_t height)
{
    qop_test::TestBitmap bitmap(width, height);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            double t = double(x + y) / double(width + height);
            auto level = [](double v) { return std::uint8_t(std::clamp(v, 0.0, 255.0)); };
            bitmap.at(x, y) = {level(40 + 180 * t), level(70 + 60 * t + ((y / 8) % 2) * 6), level(160 - 120 * t), 255};
        }
    return bitmap;
}

// Runs a bitmap block on a context laid over the bitmap's pixels.
inline void drawOnCPU(const QZBitmapBlock& block, qop_test::TestBitmap& bitmap)
{
    CGContextRef context =
        QZCGContextCreateWithData(bitmap.data(), CGSizeMake(CGFloat(bitmap.width()), CGFloat(bitmap.height())));
    ASSERT_NE(context, nullptr);
    block(context, nullptr);
    CGContextRelease(context);
}

struct Ink {
    long area = 0;
    int left = -1, top = -1, right = -1, bottom = -1;  // inclusive
    double cx = 0, cy = 0;
    bool empty() const { return area == 0; }
};

// The ink of `drawn` over `photo`, within the rows [fromRow, toRow).
inline Ink inkOf(const qop_test::TestBitmap& drawn, const qop_test::TestBitmap& photo, size_t fromRow = 0,
                 size_t toRow = SIZE_MAX)
{
    Ink ink;
    for (size_t y = fromRow; y < std::min(toRow, drawn.height()); ++y)
        for (size_t x = 0; x < drawn.width(); ++x) {
            const QopColor_t &a = drawn.at(x, y), &b = photo.at(x, y);
            if (std::abs(a.r - b.r) <= 48 && std::abs(a.g - b.g) <= 48 && std::abs(a.b - b.b) <= 48) continue;
            if (ink.area++ == 0) ink.left = ink.right = int(x), ink.top = int(y);
            ink.left = std::min(ink.left, int(x));
            ink.right = std::max(ink.right, int(x));
            ink.bottom = int(y);
            ink.cx += double(x);
            ink.cy += double(y);
        }
    if (ink.area) ink.cx /= double(ink.area), ink.cy /= double(ink.area);
    return ink;
}

// The font table the pictures depend on; a test stops with this message when it does not hold.
inline std::string fontTableProblem()
{
    struct Entry {
        const char* name;
        const char* face;
        const char* package;
    } entries[] = {{"ArialMT", "Liberation Sans", "fonts-liberation2"},
                   {"Impact", "DejaVu Sans Condensed Bold", "fonts-dejavu-extra"}};
    for (const Entry& e : entries) {
        CTFontRef font = CTFontCreateWithName(e.name, 30);
        std::string face = CTFontCopyFullName(font);
        CFRelease(font);
        if (face != e.face)
            return std::string(e.name) + " draws in \"" + face + "\", not " + e.face + ": install " + e.package;
    }
    return {};
}

}  // namespace qz_test
