// The PNG writer: opaque images as RGB, translucent ones as RGBA with straight alpha, any size cut
// into strips that join into one valid zlib stream.
#include "ImageIO/ImageIOCodec.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Image {
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<std::uint8_t> rgba;
};

// Photo-like: smooth ramps with some seeded grain, so strips compress to different lengths.
Image photo(std::size_t width, std::size_t height, bool opaque)
{
    Image image{width, height, std::vector<std::uint8_t>(width * height * 4)};
    std::uint32_t seed = 12345;
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) {
            seed = seed * 69069 + 1;
            std::uint8_t* p = &image.rgba[(y * width + x) * 4];
            p[0] = std::uint8_t(x * 7 + (seed >> 29));
            p[1] = std::uint8_t(y * 3 + x / 5);
            p[2] = std::uint8_t((x ^ y) + (seed >> 30));
            p[3] = opaque ? 255 : std::uint8_t(seed >> 24);
        }
    return image;
}

Image decode(const std::vector<std::uint8_t>& png)
{
    Image image;
    std::string error;
    EXPECT_TRUE(ImageIODecode(png.data(), png.size(),
                              [&](std::size_t w, std::size_t h) -> void* {
                                  image = Image{w, h, std::vector<std::uint8_t>(w * h * 4)};
                                  return image.rgba.data();
                              },
                              &error))
        << error;
    return image;
}

std::uint32_t bigEndian(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

struct Chunks {
    std::uint8_t colourType = 0;
    std::vector<std::uint8_t> idat;  // every IDAT's data, joined
    bool crcsHold = true;
};

// Reads the chunks back by hand, checking each CRC.
Chunks chunks(const std::vector<std::uint8_t>& png)
{
    Chunks out;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length = bigEndian(&png[at]);
        const std::uint8_t* type = &png[at + 4];
        const std::uint32_t crc = std::uint32_t(crc32(0, type, uInt(length + 4)));
        out.crcsHold = out.crcsHold && crc == bigEndian(&png[at + 8 + length]);
        if (std::memcmp(type, "IHDR", 4) == 0) out.colourType = type[4 + 9];
        if (std::memcmp(type, "IDAT", 4) == 0) out.idat.insert(out.idat.end(), type + 4, type + 4 + length);
        at += 12 + length;
    }
    return out;
}

TEST(ImageIOPNGWriter, OpaqueImagesAreRGBAndTranslucentOnesKeepStraightAlphaAtEverySize)
{
    struct Case {
        std::size_t width, height;
        bool opaque;
    };
    // 1001 x 777 spans several strips with a last one cut short; 1 x 20000 has strips of many rows,
    // 20000 x 1 one row alone.
    for (const Case& c : {Case{1, 1, true}, Case{1, 1, false}, Case{1, 20000, true}, Case{20000, 1, false},
                          Case{1001, 777, true}, Case{1001, 777, false}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + (c.opaque ? " opaque" : ""));
        const Image image = photo(c.width, c.height, c.opaque);
        std::vector<std::uint8_t> png;
        std::string error;
        ASSERT_TRUE(ImageIOEncodePNG(image.rgba.data(), image.width, image.height, &png, &error)) << error;
        const Image decoded = decode(png);
        EXPECT_EQ(decoded.width, image.width);
        EXPECT_EQ(decoded.height, image.height);
        EXPECT_TRUE(decoded.rgba == image.rgba);

        const Chunks found = chunks(png);
        EXPECT_TRUE(found.crcsHold);
        EXPECT_EQ(found.colourType, c.opaque ? 2 : 6);
        // The joined strips are one zlib stream whose checksum zlib itself accepts.
        const std::size_t rowBytes = c.width * (c.opaque ? 3 : 4) + 1;
        std::vector<std::uint8_t> filtered(rowBytes * c.height);
        uLongf length = uLongf(filtered.size());
        EXPECT_EQ(uncompress(filtered.data(), &length, found.idat.data(), uLong(found.idat.size())), Z_OK);
        EXPECT_EQ(length, filtered.size());

        std::vector<std::uint8_t> again;
        ASSERT_TRUE(ImageIOEncodePNG(image.rgba.data(), image.width, image.height, &again, &error));
        EXPECT_TRUE(again == png) << "the bytes depend on more than the pixels";
    }
}

TEST(ImageIOPNGWriter, PremultipliedRowsAreWrittenStraightFromTheirOwnStride)
{
    // Premultiplied pixels, two rows 12 bytes apart with 4 bytes of padding that must not show.
    const std::vector<std::uint8_t> premultiplied = {
        0,   0,  0,  0,   // transparent
        1,   0,  1,  1,   // alpha 1
        100, 50, 0,  128, // half
        9,   9,  9,  99,  // padding
        255, 3,  4,  255, // opaque, untouched
        60,  30, 90, 60,  // colour equal to alpha
        70,  0,  0,  60,  // colour above alpha (not valid premultiplied): limited to 255
        9,   9,  9,  99,  // padding
    };
    const std::vector<std::uint8_t> straight = {0,   0,  0,   0,   255, 0, 255, 1, 199, 100, 0, 128,
                                                255, 3,  4,   255, 255, 128, 255, 60, 255, 0,   0, 60};
    std::vector<std::uint8_t> png;
    std::string error;
    ASSERT_TRUE(ImageIOEncodePNG(ImageIOPixels{premultiplied.data(), 3, 2, 16, ImageIOAlpha::Premultiplied}, &png,
                                 &error))
        << error;
    EXPECT_EQ(decode(png).rgba, straight);

    EXPECT_FALSE(ImageIOEncodePNG(ImageIOPixels{premultiplied.data(), 3, 2, 8, ImageIOAlpha::Straight}, &png, &error));
    EXPECT_EQ(error, "rows overlap");
}

}  // namespace
