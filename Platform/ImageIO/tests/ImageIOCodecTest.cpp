#include "ImageIO/ImageIOCodec.h"
#include "ImageIOFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Image {
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<std::uint8_t> rgba;
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

// Every byte from a seeded generator: PNG cannot shrink it, so it also makes large files.
Image noise(std::size_t width, std::size_t height, std::uint32_t seed, bool opaque)
{
    Image image{width, height, std::vector<std::uint8_t>(width * height * 4)};
    for (std::size_t i = 0; i < image.rgba.size(); ++i) {
        seed = seed * 69069 + 1;
        image.rgba[i] = opaque && i % 4 == 3 ? 255 : static_cast<std::uint8_t>(seed >> 24);
    }
    return image;
}

// A JPEG of `components` (3: R,G,B; 1: grey) bytes per pixel, with the encoder's usual chroma.
std::vector<std::uint8_t> encodeJPEG(const std::vector<std::uint8_t>& samples, std::size_t width, std::size_t height,
                                     int components, bool progressive = false)
{
    imageio_test::JPEGOptions options;
    options.colour = components == 1 ? imageio_test::JPEGColour::Grey : imageio_test::JPEGColour::RGB;
    options.fullChroma = false;
    options.progressive = progressive;
    return imageio_test::encodeJPEG(samples, width, height, options);
}

// The start of a progressive JPEG's frame header: marker, length, 8 bits per sample.
constexpr std::array<std::uint8_t, 5> kProgressiveFrame = {0xFF, 0xC2, 0x00, 0x0B, 0x08};

std::vector<std::uint8_t> encodePNG(const Image& image)
{
    std::vector<std::uint8_t> png;
    std::string error;
    EXPECT_TRUE(ImageIOEncodePNG(image.rgba.data(), image.width, image.height, &png, &error)) << error;
    return png;
}

class ImageIOFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/imageio_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

TEST(ImageIOCodec, PNGKeepsEveryByteAlphaIncluded)
{
    Image straight{3, 2, {}};
    // Colour under partial and zero alpha must survive: the pixels are not premultiplied.
    straight.rgba = {255, 0, 0, 255, 10, 20, 30, 0, 200, 100, 50, 1, 0, 0, 0, 128, 1, 2, 3, 254, 255, 255, 255, 255};
    for (const Image& image : {Image{1, 1, {7, 8, 9, 255}}, straight, noise(33, 17, 5, false)}) {
        SCOPED_TRACE(std::to_string(image.width) + " x " + std::to_string(image.height));
        const std::vector<std::uint8_t> png = encodePNG(image);
        Image decoded;
        std::string error;
        ASSERT_TRUE(ImageIODecode(png.data(), png.size(), into(&decoded), &error)) << error;
        EXPECT_EQ(decoded.width, image.width);
        EXPECT_EQ(decoded.height, image.height);
        EXPECT_EQ(decoded.rgba, image.rgba);
    }
}

TEST(ImageIOCodec, JPEGDecodesToOpaqueRGBA)
{
    struct Case {
        const char* name;
        int components;
        bool progressive;
        std::vector<std::uint8_t> sample;  // one pixel, repeated over 8 x 8
        std::array<int, 3> rgb;
    };
    const Case cases[] = {
        {"colour", 3, false, {255, 128, 0}, {255, 128, 0}},
        {"grey", 1, false, {90}, {90, 90, 90}},
        {"progressive colour", 3, true, {20, 200, 100}, {20, 200, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> samples;
        for (int i = 0; i < 64; ++i) samples.insert(samples.end(), c.sample.begin(), c.sample.end());
        const std::vector<std::uint8_t> jpeg = encodeJPEG(samples, 8, 8, c.components, c.progressive);
        Image decoded;
        std::string error;
        ASSERT_TRUE(ImageIODecode(jpeg.data(), jpeg.size(), into(&decoded), &error)) << error;
        ASSERT_EQ(decoded.width, 8u);
        ASSERT_EQ(decoded.height, 8u);
        for (std::size_t p = 0; p < 64; ++p) {
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(decoded.rgba[p * 4 + std::size_t(k)], c.rgb[std::size_t(k)], 3);
            EXPECT_EQ(decoded.rgba[p * 4 + 3], 255);
        }
    }
}

TEST(ImageIOCodec, DamagedOrForeignBytesFailWithAReason)
{
    const std::vector<std::uint8_t> png = encodePNG(noise(40, 30, 1, false));
    const Image photo = noise(64, 64, 2, true);
    std::vector<std::uint8_t> rgb;
    for (std::size_t i = 0; i < photo.rgba.size(); ++i)
        if (i % 4 != 3) rgb.push_back(photo.rgba[i]);
    const std::vector<std::uint8_t> jpeg = encodeJPEG(rgb, 64, 64, 3);

    std::vector<std::uint8_t> badHeaderCRC = png;
    badHeaderCRC[20] ^= 0x01;  // a byte of IHDR's width
    std::vector<std::uint8_t> cutAndEnded(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() * 2 / 3));
    cutAndEnded.insert(cutAndEnded.end(), {0xFF, 0xD9});  // the end-of-image marker
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"nothing", {}},
        {"GIF", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
        {"PNG signature alone", std::vector<std::uint8_t>(png.begin(), png.begin() + 8)},
        {"PNG cut in its pixels", std::vector<std::uint8_t>(png.begin(), png.begin() + std::ptrdiff_t(png.size() / 2))},
        {"PNG header with a bad checksum", badHeaderCRC},
        {"JPEG cut in its header", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 100)},
        {"JPEG cut in its pixels",
         std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() * 2 / 3))},
        {"JPEG cut in its pixels and ended", cutAndEnded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image decoded;
        std::string error;
        EXPECT_FALSE(ImageIODecode(c.bytes.data(), c.bytes.size(), into(&decoded), &error));
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_FALSE(ImageIODecode(nullptr, 0, into(nullptr), &error));
    EXPECT_EQ(error, "not a PNG or JPEG image");
}

TEST(ImageIOCodec, ARefusedSizeStopsTheDecode)
{
    const std::vector<std::uint8_t> png = encodePNG(noise(4, 3, 1, false));
    const std::vector<std::uint8_t> jpeg = encodeJPEG(std::vector<std::uint8_t>(4 * 3 * 3, 77), 4, 3, 3);
    const ImageIOPixelAllocator refuse = [](std::size_t width, std::size_t height) -> void* {
        EXPECT_EQ(width, 4u);
        EXPECT_EQ(height, 3u);
        return nullptr;
    };
    const ImageIOPixelAllocator outOfMemory = [](std::size_t, std::size_t) -> void* { throw std::bad_alloc(); };
    for (const std::vector<std::uint8_t>* bytes : {&png, &jpeg}) {
        for (const ImageIOPixelAllocator* allocate : {&refuse, &outOfMemory}) {
            std::string error;
            EXPECT_FALSE(ImageIODecode(bytes->data(), bytes->size(), *allocate, &error));
            EXPECT_EQ(error, "the image is too large");
        }
    }
}

TEST(ImageIOCodec, ASizeIsRefusedBeforeTheDecoderAllocatesForIt)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit leaves AddressSanitizer no room for its shadow memory";
#endif
    // 262 bytes of progressive JPEG whose header claims 60000 x 60000 grey pixels: libjpeg would
    // set aside 7 GB for the coefficients of a picture that size before reading any of them.
    std::vector<std::uint8_t> jpeg = encodeJPEG(std::vector<std::uint8_t>(64, 90), 8, 8, 1, true);
    const auto frame = std::search(jpeg.begin(), jpeg.end(), kProgressiveFrame.begin(), kProgressiveFrame.end());
    ASSERT_NE(frame, jpeg.end());
    for (std::ptrdiff_t at : {5, 7}) {  // height, then width, big-endian
        frame[at] = 60000 >> 8;
        frame[at + 1] = 60000 & 0xFF;
    }
    // In a child whose address space stops at 1 GiB, the caller's refusal must be what fails the
    // decode, not the decoder running out of memory first.
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{rlim_t{1} << 30, rlim_t{1} << 30};
        setrlimit(RLIMIT_AS, &limit);
        std::size_t askedWidth = 0, askedHeight = 0;
        const ImageIOPixelAllocator refuse = [&](std::size_t width, std::size_t height) -> void* {
            askedWidth = width;
            askedHeight = height;
            return nullptr;
        };
        std::string error;
        const bool decoded = ImageIODecode(jpeg.data(), jpeg.size(), refuse, &error);
        _exit(!decoded && error == "the image is too large" && askedWidth == 60000 && askedHeight == 60000 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(ImageIOFiles, FilesRoundTripAndErrorsNameThePath)
{
    const Image image = noise(20, 10, 3, false);
    const std::string path = (dir_ / "out.png").string();
    std::string error;
    ASSERT_TRUE(ImageIOWritePNGFile(path, image.rgba.data(), image.width, image.height, &error)) << error;
    Image decoded;
    ASSERT_TRUE(ImageIODecodeFile(path, into(&decoded), &error)) << error;
    EXPECT_EQ(decoded.rgba, image.rgba);

    struct Case {
        std::string path;
        std::string reason;
    };
    std::ofstream((dir_ / "notes.txt").string()) << "plain text";
    for (const Case& c :
         {Case{(dir_ / "absent.png").string(), "No such file or directory"}, Case{dir_.string(), "is a directory"},
          Case{(dir_ / "notes.txt").string(), "not a PNG or JPEG image"}}) {
        EXPECT_FALSE(ImageIODecodeFile(c.path, into(&decoded), &error));
        EXPECT_EQ(error, c.path + ": " + c.reason);
    }
    const std::string nowhere = (dir_ / "missing" / "out.png").string();
    EXPECT_FALSE(ImageIOWritePNGFile(nowhere, image.rgba.data(), image.width, image.height, &error));
    EXPECT_EQ(error, nowhere + ": No such file or directory");
    EXPECT_FALSE(ImageIOWritePNGFile(path, nullptr, 0, 0, &error));
    EXPECT_EQ(error, path + ": no pixels to write");
}

TEST_F(ImageIOFiles, AWriteCutShortLeavesTheOldFileAndNoPartialOne)
{
    const std::string path = (dir_ / "photo.png").string();
    const std::string old = "the photo written before";
    std::ofstream(path) << old;
    const Image large = noise(128, 128, 9, false);  // about 64 KiB of PNG

    // The child may write at most 4 KiB per file; the kernel then refuses with EFBIG.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        const bool written = ImageIOWritePNGFile(path, large.rgba.data(), large.width, large.height, &error);
        _exit(!written && error == path + ": File too large" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail as expected";

    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
