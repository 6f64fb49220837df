#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Foundation/PlatformSettings.h"
#include "ImageIO/ImageIOCodec.h"
#include "ImageIOFixtures.h"
#include "UIKitTestSupport.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageResourceFile.h"

namespace {

const RGBA kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kWhite{255, 255, 255, 255};

// Draws the image at its size into a UIKit image context of scale 1 and returns the result.
std::shared_ptr<UIImage> render(const std::shared_ptr<UIImage>& image, CGSize canvas)
{
    UIGraphicsBeginImageContextWithOptions(canvas, false, 1);
    image->drawInRect(CGRectMake(0, 0, canvas.width, canvas.height));
    auto result = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return result;
}

TEST(UIImage, DrawsUprightInAFlippedContextInAllEightOrientations)
{
    // Stored 3 x 2: the top-left pixel red, the top-right green, the rest grey.
    const RGBA grey{128, 128, 128, 255};
    CGImageRef stored = makeImage({{kRed, grey, kGreen}, {grey, grey, grey}});
    // Where the stored top-left and top-right pixels show, in the displayed picture (y down).
    struct Case {
        UIImageOrientation orientation;
        size_t redX, redY, greenX, greenY;
    } cases[] = {
        {UIImageOrientationUp, 0, 0, 2, 0},           {UIImageOrientationDown, 2, 1, 0, 1},
        {UIImageOrientationLeft, 0, 2, 0, 0},         {UIImageOrientationRight, 1, 0, 1, 2},
        {UIImageOrientationUpMirrored, 2, 0, 0, 0},   {UIImageOrientationDownMirrored, 0, 1, 2, 1},
        {UIImageOrientationLeftMirrored, 0, 0, 0, 2}, {UIImageOrientationRightMirrored, 1, 2, 1, 0},
    };
    for (const Case& c : cases) {
        auto image = UIImage::imageWithCGImage(stored, 1, c.orientation);
        CGSize size = image->size();
        bool turned = c.orientation == UIImageOrientationLeft || c.orientation == UIImageOrientationRight ||
                      c.orientation == UIImageOrientationLeftMirrored || c.orientation == UIImageOrientationRightMirrored;
        EXPECT_EQ(size.width, turned ? 2 : 3) << c.orientation;
        auto drawn = render(image, size);
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(pixelOf(drawn->CGImage(), c.redX, c.redY), kRed) << "orientation " << c.orientation;
        EXPECT_EQ(pixelOf(drawn->CGImage(), c.greenX, c.greenY), kGreen) << "orientation " << c.orientation;
    }
    CGImageRelease(stored);
}

TEST(UIImage, ResizableImageKeepsItsCapsWhenStretched)
{
    // 5 x 5: 2-pixel red corners, green edges, a blue centre pixel.
    std::vector<std::vector<RGBA>> rows(5, std::vector<RGBA>(5));
    for (size_t y = 0; y < 5; ++y)
        for (size_t x = 0; x < 5; ++x) {
            bool midX = x == 2, midY = y == 2;
            rows[y][x] = midX && midY ? kBlue : (midX || midY ? kGreen : kRed);
        }
    CGImageRef stored = makeImage(rows);
    auto image = UIImage::imageWithCGImage(stored)->resizableImageWithCapInsets(UIEdgeInsetsMake(2, 2, 2, 2));
    auto drawn = render(image, CGSizeMake(11, 9));
    ASSERT_NE(drawn, nullptr);
    CGImageRef out = drawn->CGImage();
    for (size_t y = 0; y < 9; ++y)
        for (size_t x = 0; x < 11; ++x) {
            bool capX = x < 2 || x >= 9, capY = y < 2 || y >= 7;
            RGBA expected = capX && capY ? kRed : (capX || capY ? kGreen : kBlue);
            EXPECT_EQ(pixelOf(out, x, y), expected) << x << "," << y;
        }
    // The one-point centre of the stretchable form.
    auto stretchable = UIImage::imageWithCGImage(stored)->stretchableImageWithLeftCapWidth(2, 0);
    EXPECT_FLOAT_EQ(stretchable->capInsets().right, 2);
    EXPECT_FLOAT_EQ(stretchable->capInsets().top, 0);
    CGImageRelease(stored);
}

TEST(UIImage, ImageContextsMeasureInPointsFromTheTopLeft)
{
    PlatformSettings::setScreenScale(2);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(3, 2), false, 0);
    CGContextSetRGBFillColor(UIGraphicsGetCurrentContext(), 1, 0, 0, 1);
    UIRectFill(CGRectMake(0, 0, 1, 1));
    // The stack is per thread: a work queue drawing meanwhile sees no context of ours.
    CGContextRef elsewhere = reinterpret_cast<CGContextRef>(1);
    std::thread([&] { elsewhere = UIGraphicsGetCurrentContext(); }).join();
    EXPECT_EQ(elsewhere, nullptr);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    PlatformSettings::reset();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CGImageGetWidth(image->CGImage()), 6u);
    EXPECT_FLOAT_EQ(image->scale(), 2);
    EXPECT_FLOAT_EQ(image->size().width, 3);
    EXPECT_EQ(pixelOf(image->CGImage(), 1, 1), kRed);
    EXPECT_EQ(pixelOf(image->CGImage(), 2, 1)[3], 0);
    EXPECT_EQ(pixelOf(image->CGImage(), 1, 2)[3], 0);
}

class UIImageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() / ("uiimage-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        PlatformSettings::setMainBundlePath(dir.string());
    }
    void TearDown() override
    {
        PlatformSettings::reset();
        std::filesystem::remove_all(dir);
    }
    void writePNG(const std::string& name, size_t side, RGBA color)
    {
        CGImageRef image = makeImage(std::vector<std::vector<RGBA>>(side, std::vector<RGBA>(side, color)));
        auto png = UIImagePNGRepresentation(UIImage::imageWithCGImage(image));
        CGImageRelease(image);
        ASSERT_TRUE(png.has_value());
        std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(png->data()), std::streamsize(png->size()));
    }
    std::filesystem::path dir;
};

TEST_F(UIImageFiles, ChoosesTheRetinaVariantAtScaleTwo)
{
    writePNG("knob.png", 2, kRed);
    writePNG("knob@2x.png", 4, kBlue);
    writePNG("plain.png", 2, kGreen);

    PlatformSettings::setScreenScale(1);
    auto normal = UIImage::imageWithContentsOfFile((dir / "knob.png").string());
    ASSERT_NE(normal, nullptr);
    EXPECT_FLOAT_EQ(normal->scale(), 1);
    EXPECT_EQ(pixelOf(normal->CGImage(), 0, 0), kRed);

    PlatformSettings::setScreenScale(2);
    auto retina = UIImage::imageNamed("knob");
    ASSERT_NE(retina, nullptr);
    EXPECT_FLOAT_EQ(retina->scale(), 2);
    EXPECT_FLOAT_EQ(retina->size().width, 2);
    EXPECT_EQ(pixelOf(retina->CGImage(), 0, 0), kBlue);
    EXPECT_EQ(UIImage::imageNamed("knob"), retina);  // cached
    // Without a variant the 1x file serves at scale 1.
    auto plain = UIImage::imageNamed("plain.png");
    ASSERT_NE(plain, nullptr);
    EXPECT_FLOAT_EQ(plain->scale(), 1);
    EXPECT_EQ(UIImage::imageNamed("missing"), nullptr);
}

// A file named by a person is read as named, whatever lies beside it; only a resource takes its
// retina variant.
TEST_F(UIImageFiles, AFileIsReadAsNamedAndOnlyAResourceTakesItsRetinaVariant)
{
    writePNG("photo.png", 2, kRed);
    writePNG("photo@2x.png", 4, kBlue);
    PlatformSettings::setScreenScale(2);
    auto named = UIImage::imageWithContentsOfFile((dir / "photo.png").string());
    ASSERT_NE(named, nullptr);
    EXPECT_FLOAT_EQ(named->scale(), 1);
    EXPECT_EQ(pixelOf(named->CGImage(), 0, 0), kRed);
    auto variant = UIImage::imageWithContentsOfFile((dir / "photo@2x.png").string());
    ASSERT_NE(variant, nullptr);
    EXPECT_FLOAT_EQ(variant->scale(), 2);
    EXPECT_EQ(pixelOf(variant->CGImage(), 0, 0), kBlue);

    auto resource = UIImageWithContentsOfResourceFile((dir / "photo.png").string());
    ASSERT_NE(resource, nullptr);
    EXPECT_FLOAT_EQ(resource->scale(), 2);
    EXPECT_EQ(pixelOf(resource->CGImage(), 0, 0), kBlue);
    PlatformSettings::setScreenScale(1);
    resource = UIImageWithContentsOfResourceFile((dir / "photo.png").string());
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(pixelOf(resource->CGImage(), 0, 0), kRed);
}

// A small solid orange JPEG.
std::vector<uint8_t> orangeJPEG()
{
    std::vector<uint8_t> rgb(8 * 8 * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 255, rgb[i + 1] = 128, rgb[i + 2] = 0;
    imageio_test::JPEGOptions options;
    options.fullChroma = false;
    return imageio_test::encodeJPEG(rgb, 8, 8, options);
}

TEST_F(UIImageFiles, DecodesJPEGAndRefusesOtherBytes)
{
    std::vector<uint8_t> jpeg = orangeJPEG();
    auto image = UIImage::imageWithData(jpeg);
    ASSERT_NE(image, nullptr);
    RGBA p = pixelOf(image->CGImage(), 4, 4);
    EXPECT_NEAR(p[0], 255, 3);
    EXPECT_NEAR(p[1], 128, 3);
    EXPECT_NEAR(p[2], 0, 3);
    EXPECT_EQ(p[3], 255);

    jpeg.resize(jpeg.size() / 2);  // truncated: decodes what is there or fails, never crashes
    UIImage::imageWithData(jpeg);
    EXPECT_EQ(UIImage::imageWithData({1, 2, 3, 4, 5, 6, 7, 8, 9}), nullptr);
    EXPECT_EQ(UIImage::imageWithContentsOfFile((dir / "absent.png").string()), nullptr);
}

// A phone's portrait photo: stored 24 x 16 sideways with EXIF orientation 6, its stored top-left
// block red. Read from a JPEG or a PNG (eXIf), the image keeps the stored pixels and shows them
// turned; the PNG written of it holds the picture upright, 16 x 24 with the red block at the top
// right.
TEST_F(UIImageFiles, AnEXIFOrientationIsTheImagesAndItsPNGIsUpright)
{
    std::vector<uint8_t> rgb(24 * 16 * 3, 40);
    for (size_t y = 0; y < 8; ++y)
        for (size_t x = 0; x < 8; ++x) rgb[(y * 24 + x) * 3] = 240;
    imageio_test::JPEGOptions options;
    options.exif = imageio_test::exifWithOrientation(6, false);
    std::vector<uint8_t> rgba;
    for (size_t i = 0; i < rgb.size(); i += 3) rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    std::vector<uint8_t> png;
    ASSERT_TRUE(ImageIOEncodePNG(rgba.data(), 24, 16, &png));
    const std::vector<uint8_t> files[] = {imageio_test::encodeJPEG(rgb, 24, 16, options),
                                          imageio_test::withChunkAfterHeader(png, "eXIf", options.exif)};
    for (const std::vector<uint8_t>& file : files) {
        const std::string path = (dir / "portrait").string();
        ASSERT_TRUE(imageio_test::writeFile(path, file));
        PlatformSettings::setScreenScale(1);
        auto image = UIImage::imageWithContentsOfFile(path);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->imageOrientation(), UIImageOrientationRight);
        EXPECT_EQ(CGImageGetWidth(image->CGImage()), 24u);
        EXPECT_FLOAT_EQ(image->size().width, 16);
        EXPECT_FLOAT_EQ(image->size().height, 24);

        const std::string written = (dir / "upright.png").string();
        ASSERT_TRUE(UIImageWritePNGToFile(image, written));
        auto upright = UIImage::imageWithContentsOfFile(written);
        ASSERT_NE(upright, nullptr);
        EXPECT_EQ(upright->imageOrientation(), UIImageOrientationUp);
        ASSERT_EQ(CGImageGetWidth(upright->CGImage()), 16u);
        ASSERT_EQ(CGImageGetHeight(upright->CGImage()), 24u);
        EXPECT_GT(pixelOf(upright->CGImage(), 12, 4)[0], 200);
        EXPECT_LT(pixelOf(upright->CGImage(), 4, 4)[0], 80);
        auto represented = UIImage::imageWithData(*UIImagePNGRepresentation(image));
        ASSERT_NE(represented, nullptr);
        EXPECT_EQ(CGImageGetWidth(represented->CGImage()), 16u);
    }
}

TEST_F(UIImageFiles, ACallerMayLowerThePixelLimit)
{
    const std::vector<uint8_t> jpeg = orangeJPEG();
    auto image = UIImage::imageWithData(jpeg);
    ASSERT_NE(image, nullptr);
    const std::size_t pixels = std::size_t(image->size().width * image->size().height);
    EXPECT_NE(UIImage::imageWithData(jpeg, 1, pixels), nullptr);
    EXPECT_EQ(UIImage::imageWithData(jpeg, 1, pixels - 1), nullptr);
}

// The same JPEG with a header claiming 20000 x 20000 pixels (1.6 GB of them): refused before any
// is set aside, as a child that tries it shows in its peak memory.
TEST(UIImage, AnImageClaimingTooManyPixelsIsRefusedUnread)
{
    std::vector<uint8_t> jpeg = orangeJPEG();
    const uint8_t frame[] = {0xFF, 0xC0, 0x00, 0x11, 0x08};  // baseline frame, 3 components
    const auto at = std::search(jpeg.begin(), jpeg.end(), std::begin(frame), std::end(frame));
    ASSERT_NE(at, jpeg.end());
    for (std::ptrdiff_t field : {5, 7}) {  // height, then width, big-endian
        at[field] = 20000 >> 8;
        at[field + 1] = 20000 & 0xFF;
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(UIImage::imageWithData(jpeg) == nullptr ? 0 : 1);
    int status = 0;
    rusage usage{};
    ASSERT_EQ(wait4(child, &status, 0, &usage), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_LT(usage.ru_maxrss, 512 * 1024) << "peak kilobytes";
}

}  // namespace
