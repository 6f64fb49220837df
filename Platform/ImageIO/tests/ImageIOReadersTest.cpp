// What the readers take from a file beyond its pixels: the EXIF orientation (JPEG APP1, PNG eXIf),
// 16-bit PNG samples by value, CMYK JPEGs.
#include "ImageIO/ImageIOCodec.h"

#include "ImageIOFixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

namespace {

using imageio_test::JPEGColour;
using imageio_test::JPEGOptions;

struct Image {
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<std::uint8_t> rgba;

    std::array<int, 3> rgb(std::size_t x, std::size_t y) const
    {
        const std::uint8_t* p = &rgba[(y * width + x) * 4];
        return {p[0], p[1], p[2]};
    }
};

ImageIOPixelAllocator into(Image* image)
{
    return [image](std::size_t width, std::size_t height) -> void* {
        image->width = width;
        image->height = height;
        image->rgba.assign(width * height * 4, 0);
        return image->rgba.data();
    };
}

// A picture of 3 x 2 flat blocks of 8 x 8 pixels, each its own colour: where each block lands
// shows how the picture was turned.
constexpr std::array<std::array<int, 3>, 6> kBlockColours = {
    {{230, 20, 20}, {20, 230, 20}, {20, 20, 230}, {230, 230, 20}, {20, 230, 230}, {230, 20, 230}}};
constexpr std::size_t kBlock = 8, kStoredWidth = 24, kStoredHeight = 16;

std::vector<std::uint8_t> blockSamples()
{
    std::vector<std::uint8_t> rgb;
    for (std::size_t y = 0; y < kStoredHeight; ++y)
        for (std::size_t x = 0; x < kStoredWidth; ++x)
            for (int c : kBlockColours[(y / kBlock) * 3 + x / kBlock]) rgb.push_back(std::uint8_t(c));
    return rgb;
}

std::vector<std::uint8_t> blockPNG()
{
    const std::vector<std::uint8_t> rgb = blockSamples();
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i < rgb.size(); i += 3) rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    std::vector<std::uint8_t> png;
    std::string error;
    EXPECT_TRUE(ImageIOEncodePNG(rgba.data(), kStoredWidth, kStoredHeight, &png, &error)) << error;
    return png;
}

void expectColour(const Image& image, std::size_t x, std::size_t y, const std::array<int, 3>& expected, int tolerance,
                  const char* what)
{
    const std::array<int, 3> got = image.rgb(x, y);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(got[std::size_t(c)], expected[std::size_t(c)], tolerance)
            << what << " at (" << x << ", " << y << ") channel " << c;
}

// EXIF's definition of each value: where the stored picture's first row and first column show.
// As corners of the upright picture: where the stored top-left and top-right blocks land.
enum Corner { TopLeft, TopRight, BottomLeft, BottomRight };
struct OrientationCase {
    int value;
    bool swapsSides;
    Corner storedTopLeft, storedTopRight;
};
constexpr OrientationCase kOrientations[] = {
    {1, false, TopLeft, TopRight},    {2, false, TopRight, TopLeft},  {3, false, BottomRight, BottomLeft},
    {4, false, BottomLeft, BottomRight}, {5, true, TopLeft, BottomLeft}, {6, true, TopRight, BottomRight},
    {7, true, BottomRight, TopRight}, {8, true, BottomLeft, TopLeft},
};

void cornerPixel(const Image& image, Corner corner, std::size_t* x, std::size_t* y)
{
    *x = corner == TopLeft || corner == BottomLeft ? 1 : image.width - 2;
    *y = corner == TopLeft || corner == TopRight ? 1 : image.height - 2;
}

TEST(ImageIOOrientation, EveryEXIFOrientationIsReadAndTurnedUpright)
{
    const std::vector<std::uint8_t> png = blockPNG();
    for (const OrientationCase& c : kOrientations) {
        for (bool bigEndian : {false, true}) {
            for (bool jpeg : {true, false}) {
                SCOPED_TRACE(std::string(jpeg ? "JPEG" : "PNG") + " orientation " + std::to_string(c.value) +
                             (bigEndian ? " MM" : " II"));
                const std::vector<std::uint8_t> exif = imageio_test::exifWithOrientation(c.value, bigEndian);
                JPEGOptions options;
                options.exif = exif;
                const std::vector<std::uint8_t> file =
                    jpeg ? imageio_test::encodeJPEG(blockSamples(), kStoredWidth, kStoredHeight, options)
                         : imageio_test::withChunkAfterHeader(png, "eXIf", exif);
                const int tolerance = jpeg ? 4 : 0;

                Image stored;
                ImageIOOrientation orientation = ImageIOOrientation::Up;
                std::string error;
                ASSERT_TRUE(ImageIODecodeStored(file.data(), file.size(), into(&stored), &orientation, &error))
                    << error;
                EXPECT_EQ(int(orientation), c.value);
                EXPECT_EQ(stored.width, kStoredWidth);
                EXPECT_EQ(stored.height, kStoredHeight);

                Image upright;
                ASSERT_TRUE(ImageIODecode(file.data(), file.size(), into(&upright), &error)) << error;
                EXPECT_EQ(upright.width, c.swapsSides ? kStoredHeight : kStoredWidth);
                EXPECT_EQ(upright.height, c.swapsSides ? kStoredWidth : kStoredHeight);
                std::size_t x = 0, y = 0;
                cornerPixel(upright, c.storedTopLeft, &x, &y);
                expectColour(upright, x, y, kBlockColours[0], tolerance, "stored top-left");
                cornerPixel(upright, c.storedTopRight, &x, &y);
                expectColour(upright, x, y, kBlockColours[2], tolerance, "stored top-right");
            }
        }
    }
}

// A sideways phone photo: 300 x 200 stored, tagged 6, about 2 KB, read as 200 x 300 with the
// stored top-left corner at the top right.
TEST(ImageIOOrientation, ASidewaysPhonePhotoIsReadPortrait)
{
    std::vector<std::uint8_t> rgb(300 * 200 * 3, 128);
    for (std::size_t y = 0; y < 16; ++y)
        for (std::size_t x = 0; x < 16; ++x) rgb[(y * 300 + x) * 3] = 250;
    JPEGOptions options;
    options.exif = imageio_test::exifWithOrientation(6, true);
    options.quality = 50;
    const std::vector<std::uint8_t> jpeg = imageio_test::encodeJPEG(rgb, 300, 200, options);
    EXPECT_LT(jpeg.size(), 4096u);
    Image upright;
    std::string error;
    ASSERT_TRUE(ImageIODecode(jpeg.data(), jpeg.size(), into(&upright), &error)) << error;
    ASSERT_EQ(upright.width, 200u);
    ASSERT_EQ(upright.height, 300u);
    EXPECT_GT(upright.rgb(192, 8)[0], 200);
    EXPECT_LT(upright.rgb(8, 8)[0], 160);
    // The allocator is asked for the upright size, and its refusal still stops the decode.
    std::size_t askedWidth = 0, askedHeight = 0;
    EXPECT_FALSE(ImageIODecode(
        jpeg.data(), jpeg.size(),
        [&](std::size_t w, std::size_t h) -> void* {
            askedWidth = w;
            askedHeight = h;
            return nullptr;
        },
        &error));
    EXPECT_EQ(error, "the image is too large");
    EXPECT_EQ(askedWidth, 200u);
    EXPECT_EQ(askedHeight, 300u);
}

// A damaged EXIF block never stops the picture: it is read as stored, upright.
TEST(ImageIOOrientation, ADamagedOrForeignTagIsIgnored)
{
    std::vector<std::uint8_t> good = imageio_test::exifWithOrientation(6, false);
    auto changed = [&](std::size_t at, std::vector<std::uint8_t> bytes) {
        std::vector<std::uint8_t> copy = good;
        for (std::size_t i = 0; i < bytes.size(); ++i) copy[at + i] = bytes[i];
        return copy;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> exif;
    };
    const Case cases[] = {
        {"byte order mark only", {'I', 'I'}},
        {"unknown byte order", changed(0, {'I', 'M'})},
        {"not TIFF's 42", changed(2, {43})},
        {"directory past the end", changed(4, {0xF0, 0xFF, 0xFF, 0x7F})},
        {"directory at the last byte", changed(4, {std::uint8_t(good.size() - 1), 0, 0, 0})},
        {"entry count past the end", changed(8, {0xFF, 0xFF})},
        {"cut inside the orientation entry", std::vector<std::uint8_t>(good.begin(), good.begin() + 28)},
        {"value 0", changed(30, {0, 0})},
        {"value 9", changed(30, {9, 0})},
        {"value 0x0600 (the wrong byte order)", changed(30, {0, 6})},
        {"a LONG, not a SHORT", changed(24, {4, 0})},
        {"a count of 0", changed(26, {0, 0, 0, 0})},
    };
    const std::vector<std::uint8_t> png = blockPNG();
    for (const Case& c : cases) {
        for (bool jpeg : {true, false}) {
            SCOPED_TRACE(std::string(jpeg ? "JPEG: " : "PNG: ") + c.name);
            JPEGOptions options;
            options.exif = c.exif;
            const std::vector<std::uint8_t> file =
                jpeg ? imageio_test::encodeJPEG(blockSamples(), kStoredWidth, kStoredHeight, options)
                     : imageio_test::withChunkAfterHeader(png, "eXIf", c.exif);
            Image image;
            ImageIOOrientation orientation = ImageIOOrientation::Right;
            std::string error;
            ASSERT_TRUE(ImageIODecodeStored(file.data(), file.size(), into(&image), &orientation, &error)) << error;
            EXPECT_EQ(orientation, ImageIOOrientation::Up);
            EXPECT_EQ(image.width, kStoredWidth);
        }
    }
    // A PNG's eXIf chunk whose checksum fails is dropped (as libpng drops it).
    const std::vector<std::uint8_t> damaged = imageio_test::withChunkAfterHeader(png, "eXIf", good, true);
    Image image;
    ImageIOOrientation orientation = ImageIOOrientation::Right;
    std::string error;
    ASSERT_TRUE(ImageIODecodeStored(damaged.data(), damaged.size(), into(&image), &orientation, &error)) << error;
    EXPECT_EQ(orientation, ImageIOOrientation::Up);
    // An APP1 segment of another kind (XMP) says nothing about orientation.
    JPEGOptions options;
    std::vector<std::uint8_t> rgb = blockSamples();
    std::vector<std::uint8_t> jpeg = imageio_test::encodeJPEG(rgb, kStoredWidth, kStoredHeight, options);
    const std::string xmp = "http://ns.adobe.com/xap/1.0/";
    std::vector<std::uint8_t> segment = {0xFF, 0xE1, 0, std::uint8_t(xmp.size() + 3)};
    segment.insert(segment.end(), xmp.begin(), xmp.end());
    segment.push_back(0);
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    ASSERT_TRUE(ImageIODecodeStored(jpeg.data(), jpeg.size(), into(&image), &orientation, &error)) << error;
    EXPECT_EQ(orientation, ImageIOOrientation::Up);
}

// Without gAMA or sRGB a 16-bit sample is sRGB like any other and reduces by value; with them the
// file's own gamma still counts; 8-bit files are untouched by this (ImageIOCodec's tests).
TEST(ImageIOPNG, SixteenBitSamplesReduceByValueUnlessTheFileSaysOtherwise)
{
    struct Case {
        const char* name;
        imageio_test::PNG16Options options;
        std::vector<std::uint16_t> pixel;  // one pixel, repeated over 5 x 3
        std::array<int, 4> rgba;
        int tolerance;
    };
    const Case cases[] = {
        {"grey 0x8080", {1}, {0x8080}, {128, 128, 128, 255}, 0},
        {"grey 0x4040", {1}, {0x4040}, {64, 64, 64, 255}, 0},
        {"grey 0x0000", {1}, {0x0000}, {0, 0, 0, 255}, 0},
        {"grey 0xFFFF", {1}, {0xFFFF}, {255, 255, 255, 255}, 0},
        {"grey 0x0080 rounds down", {1}, {0x0080}, {0, 0, 0, 255}, 0},
        {"grey 0x0081 rounds up", {1}, {0x0081}, {1, 1, 1, 255}, 0},
        {"grey 0xFF00 (not its high byte)", {1}, {0xFF00}, {254, 254, 254, 255}, 0},
        {"grey and alpha", {2}, {0x4040, 0x8080}, {64, 64, 64, 128}, 0},
        {"RGB", {3}, {0x8080, 0x4040, 0xFFFF}, {128, 64, 255, 255}, 0},
        {"RGBA", {4}, {0x4040, 0x8080, 0x0000, 0xC0C0}, {64, 128, 0, 192}, 0},
        {"interlaced grey", {1, true}, {0x8080}, {128, 128, 128, 255}, 0},
        {"sRGB chunk", {3, false, 0, true}, {0x8080, 0x4040, 0x8080}, {128, 64, 128, 255}, 1},
        {"gAMA of linear light", {1, false, 1.0}, {0x8080}, {188, 188, 188, 255}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint16_t> samples;
        for (int i = 0; i < 15; ++i) samples.insert(samples.end(), c.pixel.begin(), c.pixel.end());
        const std::vector<std::uint8_t> png = imageio_test::encodePNG16(samples, 5, 3, c.options);
        Image image;
        std::string error;
        ASSERT_TRUE(ImageIODecode(png.data(), png.size(), into(&image), &error)) << error;
        ASSERT_EQ(image.width, 5u);
        ASSERT_EQ(image.height, 3u);
        for (std::size_t p = 0; p < 15; ++p)
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_NEAR(image.rgba[p * 4 + k], c.rgba[k], c.tolerance) << "pixel " << p << " channel " << k;
    }
}

TEST(ImageIOPNG, ASixteenBitFileCutShortFails)
{
    std::vector<std::uint16_t> samples(64 * 64);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = std::uint16_t(i * 2654435761u >> 16);
    const std::vector<std::uint8_t> png = imageio_test::encodePNG16(samples, 64, 64, {1});
    for (std::size_t cut : {std::size_t(40), png.size() / 2, png.size() - 12}) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        Image image;
        std::string error;
        EXPECT_FALSE(ImageIODecode(png.data(), cut, into(&image), &error));
        EXPECT_FALSE(error.empty());
    }
}

// Inks of four colours, each one block: none, full cyan, half black, full magenta and yellow.
TEST(ImageIOJPEG, CMYKFilesAreReadAsRGB)
{
    const std::array<std::array<std::uint8_t, 4>, 4> inks = {
        {{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 0, 0, 128}, {0, 255, 255, 0}}};
    const std::array<std::array<int, 3>, 4> colours = {{{255, 255, 255}, {0, 255, 255}, {127, 127, 127}, {255, 0, 0}}};
    std::vector<std::uint8_t> samples;
    for (std::size_t y = 0; y < 8; ++y)
        for (std::size_t x = 0; x < 32; ++x) samples.insert(samples.end(), inks[x / 8].begin(), inks[x / 8].end());
    for (JPEGColour colour : {JPEGColour::AdobeCMYK, JPEGColour::CMYK, JPEGColour::YCCK}) {
        SCOPED_TRACE(colour == JPEGColour::AdobeCMYK ? "Adobe CMYK" : colour == JPEGColour::CMYK ? "plain CMYK" : "YCCK");
        JPEGOptions options;
        options.colour = colour;
        const std::vector<std::uint8_t> jpeg = imageio_test::encodeJPEG(samples, 32, 8, options);
        Image image;
        std::string error;
        ASSERT_TRUE(ImageIODecode(jpeg.data(), jpeg.size(), into(&image), &error)) << error;
        ASSERT_EQ(image.width, 32u);
        ASSERT_EQ(image.height, 8u);
        for (std::size_t block = 0; block < 4; ++block) {
            expectColour(image, block * 8 + 4, 4, colours[block], 4, "ink block");
            EXPECT_EQ(image.rgba[(4 * 32 + block * 8 + 4) * 4 + 3], 255);
        }
    }
}

}  // namespace
