#pragma once
// Test support for archives: PNG bytes whose size tells images apart, and a PNG that claims more
// than the archive's pixel limit in a few kilobytes.

#include <cstdint>
#include <string>
#include <vector>

#include "CoreGraphics/CGImage.h"
#include "UIKit/UIImage.h"

#include <zlib.h>

namespace qz_archive_test {

// A white square PNG of `side` pixels.
inline std::string squarePNG(std::size_t side)
{
    std::vector<std::uint8_t> pixels(side * side * 4, 255);
    CGImageRef image = CGImageCreateWithRGBABytes(side, side, side * 4, pixels.data());
    auto png = UIImagePNGRepresentation(UIImage::imageWithCGImage(image));
    CGImageRelease(image);
    return png ? std::string(png->begin(), png->end()) : std::string();
}

// A whole, valid one-bit greyscale PNG of width x height, black.
inline std::string blackBitmapPNG(std::uint32_t width, std::uint32_t height)
{
    auto chunk = [](std::string& out, const char* type, const std::string& data) {
        auto be32 = [&](std::uint32_t v) {
            for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xff));
        };
        be32(static_cast<std::uint32_t>(data.size()));
        std::string body = std::string(type) + data;
        out += body;
        be32(static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
    };
    std::string header;
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<char>((v >> shift) & 0xff));
    header += std::string("\x01\x00\x00\x00\x00", 5);  // depth 1, greyscale, deflate, no filter, no interlace
    const std::size_t rowBytes = 1 + (width + 7) / 8;  // filter byte, then the bits
    std::string raw(rowBytes * height, '\0');
    uLongf packedLength = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedLength, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedLength, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    packed.resize(packedLength);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", "");
    return png;
}

}  // namespace qz_archive_test
