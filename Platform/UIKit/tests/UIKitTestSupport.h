#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "CoreGraphics/CGImage.h"

using RGBA = std::array<uint8_t, 4>;

inline RGBA pixelOf(CGImageRef image, size_t x, size_t y)
{
    const uint8_t* p = CGImageGetBytes(image) + y * CGImageGetBytesPerRow(image) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

// An opaque image from rows of colours, top row first.
inline CGImageRef makeImage(const std::vector<std::vector<RGBA>>& rows)
{
    std::vector<uint8_t> bytes;
    for (const auto& row : rows)
        for (const RGBA& p : row) bytes.insert(bytes.end(), p.begin(), p.end());
    return CGImageCreateWithRGBABytes(rows[0].size(), rows.size(), rows[0].size() * 4, bytes.data());
}
