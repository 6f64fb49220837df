#pragma once
// The editor's pixel buffers and the blocks that work on them. Every buffer is RGBA, 8 bits per
// component, 4 bytes per pixel, rows without gaps, premultiplied alpha last: bytes R, G, B, A in
// memory. Our bitmap contexts keep the caller's buffer in that order whenever no drawing call runs,
// so a Core Graphics block, a QopLite block and a pixel walk can take turns on one buffer.
//
// Blocks are std::functions (an empty one is nil). The stop flag is written by a cancel on another
// thread and read by the blocks without a lock; a block reads it first and returns at once when set.

#include "CoreGraphics/CGContext.h"
#include "QopLite/QopTypes.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

inline constexpr std::size_t kQZBitsPerComponent = 8;
inline constexpr std::size_t kQZBytesPerPixel = 4;
// Premultiplied alpha last, 32-bit big-endian: R, G, B, A in memory.
inline constexpr CGBitmapInfo kQZBitmapInfo = kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big;
static_assert(kQZBitmapInfo == 0x4001);

struct QZPixel {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
    std::uint8_t a;
};
static_assert(sizeof(QZPixel) == kQZBytesPerPixel);

// Where a pixel block is: column, row, and the buffer's width and height. `data` is always null.
struct QZPixelContext {
    std::size_t x;
    std::size_t y;
    std::size_t w;
    std::size_t h;
    void* data;
};

// Draws with Core Graphics on a bitmap context laid over an image server's buffer.
using QZBitmapBlock = std::function<void(CGContextRef context, const std::atomic<bool>* stop)>;
// Calls QopLite on a bitmap: GPU passes when its glData is set, else its pixels change.
using QZQopBitmapBlock = std::function<void(QopBitmap_t* bitmap, const std::atomic<bool>* stop)>;
// May change the pixel in place.
using QZBitmapPixelBlock = std::function<void(QZPixel* pixel, QZPixelContext* context)>;

// A bitmap context over `data` (width x 4 bytes a row), or over a buffer of its own when `data` is
// null; owned by the caller. Null, logged, when the size is unusable (a side of 0, negative, NaN or
// too large).
CGContextRef QZCGContextCreateWithData(void* data, CGSize size);
CGContextRef QZCGContextCreate(CGSize size);
// A context of the same size with its own copy of the pixels; null for null or when it cannot be made.
CGContextRef QZCGContextCreateWithContext(CGContextRef oldContext);

// Calls the block once per pixel in memory order (x fastest). The stop flag (may be null) is read
// before every pixel whose index is a multiple of 1000; once set, the walk ends there.
void QZBitmapRunPixelBlock(CGContextRef context, const std::atomic<bool>* stop, const QZBitmapPixelBlock& block);
// A bitmap block that walks its context with the pixel block; nil for nil.
QZBitmapBlock QZBitmapBlockCreateWithPixelBlock(QZBitmapPixelBlock block);
