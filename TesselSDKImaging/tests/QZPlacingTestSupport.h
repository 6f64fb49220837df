#pragma once
// Runs a processor's blocks straight on a test bitmap, as a CPU server would.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "QopTestBitmap.h"

#include <atomic>

namespace qz_test {

inline qop_test::TestBitmap runCG(const QZBitmapBlock& block, const qop_test::TestBitmap& input, bool stop = false)
{
    qop_test::TestBitmap bitmap = input;
    CGContextRef context =
        QZCGContextCreateWithData(bitmap.data(), CGSizeMake(CGFloat(bitmap.width()), CGFloat(bitmap.height())));
    const std::atomic<bool> flag{stop};
    if (context && block) block(context, &flag);
    CGContextRelease(context);
    return bitmap;
}

inline qop_test::TestBitmap runQop(const QZQopBitmapBlock& block, const qop_test::TestBitmap& input)
{
    qop_test::TestBitmap bitmap = input;
    const std::atomic<bool> stop{false};
    if (block) block(bitmap.get(), &stop);
    return bitmap;
}

// 2 x 2 squares of black and white: a blur changes every pixel of it.
inline qop_test::TestBitmap makeChecks(std::size_t width, std::size_t height)
{
    qop_test::TestBitmap bitmap(width, height);
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t v = ((x / 2 + y / 2) % 2) ? 255 : 0;
            bitmap.at(x, y) = {v, v, v, 255};
        }
    }
    return bitmap;
}

inline int maxDifference(const QopColor_t& a, const QopColor_t& b)
{
    const auto d = [](int p, int q) { return p > q ? p - q : q - p; };
    return std::max({d(a.r, b.r), d(a.g, b.g), d(a.b, b.b), d(a.a, b.a)});
}

}  // namespace qz_test
