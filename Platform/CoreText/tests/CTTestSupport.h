#pragma once
// Owning handles for the counted objects, strings in one font, and a y-up bitmap canvas with ink
// measurements (memory row 0 is the top).

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include "CoreGraphics/CoreGraphics.h"
#include "CoreText/CoreText.h"

template <class Ref>
struct CFReleaser {
    void operator()(Ref p) const { CFRelease(p); }
};
template <class Ref>
using CFHeld = std::unique_ptr<std::remove_pointer_t<Ref>, CFReleaser<Ref>>;

using HeldFont = CFHeld<CTFontRef>;
using HeldString = CFHeld<CFMutableAttributedStringRef>;
using HeldLine = CFHeld<CTLineRef>;
using HeldFrame = CFHeld<CTFrameRef>;
using HeldFramesetter = CFHeld<CTFramesetterRef>;

inline HeldFont font(std::string_view name, CGFloat size)
{
    return HeldFont(CTFontCreateWithName(name, size));
}

inline CGColorRef rgbColor(CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGFloat components[4] = {r, g, b, a};
    CGColorRef color = CGColorCreate(space, components);
    CGColorSpaceRelease(space);
    return color;
}

// The text in one font over its whole length, and in a colour when one is given.
inline HeldString attributed(std::string_view text, CTFontRef font, CGColorRef color = nullptr)
{
    HeldString s(CFAttributedStringCreateMutable());
    CFAttributedStringReplaceString(s.get(), CFRangeMake(0, 0), text);
    CFRange all = CFRangeMake(0, CFAttributedStringGetLength(s.get()));
    CFAttributedStringSetAttribute(s.get(), all, kCTFontAttributeName, font);
    if (color) CFAttributedStringSetAttribute(s.get(), all, kCTForegroundColorAttributeName, color);
    return s;
}

inline HeldLine lineOf(std::string_view text, CTFontRef font)
{
    return HeldLine(CTLineCreateWithAttributedString(attributed(text, font).get()));
}

inline HeldFrame frameOf(CFAttributedStringRef string, CGRect rect)
{
    HeldFramesetter framesetter(CTFramesetterCreateWithAttributedString(string));
    CGPathRef path = CGPathCreateWithRect(rect, nullptr);
    HeldFrame frame(CTFramesetterCreateFrame(framesetter.get(), CFRangeMake(0, 0), path, nullptr));
    CGPathRelease(path);
    return frame;
}

using RGBA = std::array<uint8_t, 4>;

struct InkBox {
    int top = -1, bottom = -1, left = -1, right = -1;  // memory rows and columns, inclusive
    bool empty() const { return top < 0; }
};

struct TextCanvas {
    TextCanvas(size_t w, size_t h) : width(w), height(h), bytes(w * h * 4, 0)
    {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        context = CGBitmapContextCreate(bytes.data(), w, h, 8, w * 4, space, kCGImageAlphaPremultipliedLast);
        CGColorSpaceRelease(space);
    }
    ~TextCanvas() { CGContextRelease(context); }
    TextCanvas(const TextCanvas&) = delete;
    TextCanvas& operator=(const TextCanvas&) = delete;

    RGBA at(size_t x, size_t row) const
    {
        const uint8_t* p = &bytes[(row * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    // Sum of alpha over memory rows [from, to).
    long inkInRows(size_t from, size_t to) const
    {
        long sum = 0;
        for (size_t row = from; row < to && row < height; ++row)
            for (size_t x = 0; x < width; ++x) sum += at(x, row)[3];
        return sum;
    }
    InkBox ink() const
    {
        InkBox box;
        for (size_t row = 0; row < height; ++row)
            for (size_t x = 0; x < width; ++x)
                if (at(x, row)[3] > 0) {
                    if (box.top < 0) box.top = int(row);
                    box.bottom = int(row);
                    box.left = box.left < 0 ? int(x) : std::min(box.left, int(x));
                    box.right = std::max(box.right, int(x));
                }
        return box;
    }

    size_t width, height;
    std::vector<uint8_t> bytes;
    CGContextRef context = nullptr;
};
