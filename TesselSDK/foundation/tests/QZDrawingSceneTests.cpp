// A small scene drawn with the shared drawing functions, compared with a reviewed golden image.
// Regenerate after an intended change with TESSEL_UPDATE_GOLDEN=1 and look at the new image.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "Foundation/PlatformSettings.h"
#include "TesselSDK/foundation/QZDrawing.h"
#include "TesselSDK/foundation/tests/QZDrawingTestSupport.h"
#include "TesselSDK/foundation/QZDrawingUtils.h"

namespace {

const char* const kGolden = TESSEL_FOUNDATION_GOLDEN_DIR "/drawing_scene.png";

// 96 x 64 points at scale 2: a sky gradient, a card with a horizontal gradient and an inner
// shadow, a glowing disc, all cut by a rounded mask with different corner radii.
std::shared_ptr<UIImage> drawScene()
{
    return drawImage(CGSizeMake(96, 64), 2, [](CGContextRef context) {
        QZCGContextDoWithTransparencyLayer(context, [&] {
            CGGradientRef sky = QZCreateGradientWithColors({QZUIColorWithHexString("#16324F"), QZUIColorWithHexString("#6FA8DC")});
            QZDrawLinearGradientInRect(sky, CGRectMake(0, 0, 96, 64), QZLinearGradientDirectionVertical);
            CGGradientRelease(sky);

            auto card = UIBezierPath::bezierPathWithRoundedRect(CGRectMake(10, 12, 52, 40), 8);
            const CGFloat stops[] = {0, 0.6f, 1};
            CGGradientRef warm = QZCreateGradientWithColorsAtLocations(
                {UIColor::orangeColor(), UIColor::yellowColor(), QZUIColorByLighteningColor(UIColor::yellowColor(), 0.2f)}, stops);
            QZDrawLinearGradientInPath(warm, card->CGPath(), false, QZLinearGradientDirectionHorizontal);
            CGGradientRelease(warm);
            QZDrawInnerShadowInPathWithColor(card->CGPath(), UIColor::colorWithWhite(0, 0.7f), CGSizeMake(0, 2), 4);

            auto disc = UIBezierPath::bezierPathWithOvalInRect(CGRectMake(66, 22, 22, 22));
            QZDrawingUtils::drawLinearGradientInPath(*disc, {QZDrawingUtils::standardHighlightColor(), UIColor::blackColor()}, {},
                                                     CGPointMake(66, 22), CGPointMake(88, 44), 0);
            QZDrawingUtils::drawInnerGlowWithShape(*disc, UIColor::whiteColor(), 5);

            auto mask = QZContextCreateRoundedMask(CGRectMake(0, 0, 192, 128), 40, 12, 12, 40);
            mask->drawInRect(CGRectMake(0, 0, 96, 64), kCGBlendModeDestinationIn, 1);
        });
    });
}

struct Difference {
    int max = 0;
    int p999 = 0;
    double mean = 0;
};

Difference compare(CGImageRef a, CGImageRef b, std::vector<uint8_t>& diffImage)
{
    size_t n = CGImageGetWidth(a) * CGImageGetHeight(a) * 4;
    const uint8_t *pa = CGImageGetBytes(a), *pb = CGImageGetBytes(b);
    std::vector<int> d(n);
    diffImage.assign(n, 255);
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        d[i] = std::abs(int(pa[i]) - int(pb[i]));
        sum += d[i];
        if (i % 4 != 3) diffImage[i] = uint8_t(std::min(255, d[i] * 8));
    }
    Difference result;
    result.mean = sum / double(n);
    std::vector<int> sorted = d;
    std::sort(sorted.begin(), sorted.end());
    result.max = sorted.back();
    result.p999 = sorted[std::min(n - 1, size_t(double(n) * 0.999))];
    return result;
}

void writePNG(const std::string& path, CGImageRef image)
{
    auto png = UIImagePNGRepresentation(UIImage::imageWithCGImage(image));
    ASSERT_TRUE(png.has_value());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png->data()), std::streamsize(png->size()));
}

TEST(QZDrawingScene, MatchesTheReviewedGoldenImage)
{
    PlatformSettings::setScreenScale(1);  // read the golden file as it is, not an @2x variant
    auto scene = drawScene();
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(CGImageGetWidth(scene->CGImage()), 192u);
    if (std::getenv("TESSEL_UPDATE_GOLDEN")) {
        writePNG(kGolden, scene->CGImage());
        GTEST_SKIP() << "wrote " << kGolden << ": review it before committing";
    }
    auto golden = UIImage::imageWithContentsOfFile(kGolden);
    ASSERT_NE(golden, nullptr) << "missing " << kGolden;
    ASSERT_EQ(CGImageGetWidth(golden->CGImage()), CGImageGetWidth(scene->CGImage()));
    ASSERT_EQ(CGImageGetHeight(golden->CGImage()), CGImageGetHeight(scene->CGImage()));

    std::vector<uint8_t> diff;
    Difference d = compare(scene->CGImage(), golden->CGImage(), diff);
    bool same = d.max <= 24 && d.p999 <= 4 && d.mean <= 0.25;
    if (!same) {
        std::string dir = ::testing::TempDir();
        writePNG(dir + "drawing_scene.actual.png", scene->CGImage());
        CGImageRef diffImage = CGImageCreateWithRGBABytes(192, 128, 192 * 4, diff.data());
        writePNG(dir + "drawing_scene.diff.png", diffImage);
        CGImageRelease(diffImage);
        ADD_FAILURE() << "scene differs from the golden image: max " << d.max << ", 99.9th percentile " << d.p999
                      << ", mean " << d.mean << "; see " << dir << "drawing_scene.actual.png and .diff.png";
    }
    PlatformSettings::reset();
}

}  // namespace
