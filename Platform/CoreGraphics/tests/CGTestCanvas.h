#pragma once
// A bitmap context over a buffer the test owns, read back by memory row (row 0 is the top).

#include <array>
#include <cstdint>
#include <vector>

#include "CoreGraphics/CoreGraphics.h"

struct CGTestCanvas {
    CGTestCanvas(size_t w, size_t h, size_t rowPadding = 0) : width(w), height(h), bytesPerRow(w * 4 + rowPadding)
    {
        bytes.assign(bytesPerRow * h, 0);
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        context = CGBitmapContextCreate(bytes.data(), w, h, 8, bytesPerRow, space, kCGImageAlphaPremultipliedLast);
        CGColorSpaceRelease(space);
    }
    ~CGTestCanvas() { CGContextRelease(context); }
    CGTestCanvas(const CGTestCanvas&) = delete;
    CGTestCanvas& operator=(const CGTestCanvas&) = delete;

    std::array<uint8_t, 4> at(size_t x, size_t row) const
    {
        const uint8_t* p = &bytes[row * bytesPerRow + x * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    uint8_t alphaAt(size_t x, size_t row) const { return at(x, row)[3]; }

    size_t width, height, bytesPerRow;
    std::vector<uint8_t> bytes;
    CGContextRef context = nullptr;
};

using RGBA = std::array<uint8_t, 4>;
