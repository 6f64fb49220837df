// The automatic corrections on the CPU: line smoothing, summed-area tables, auto colours, local
// contrast, the L*a*b* correction and auto-enhance.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopAutoColors.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopEnhance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace qop_test;

namespace {

TestBitmap uniform(size_t width, size_t height, QopColor_t color)
{
    TestBitmap image(width, height);
    image.fill(color);
    return image;
}

double meanOf(const TestBitmap &image, int channel)
{
    double sum = 0.0;
    for (size_t i = 0; i < image.pixelCount(); ++i) {
        const QopColor_t &p = image.data()[i];
        sum += channel == 0 ? p.r : (channel == 1 ? p.g : p.b);
    }
    return sum / static_cast<double>(image.pixelCount());
}

// Largest spread between the channels of any pixel.
int worstColourfulness(const TestBitmap &image)
{
    int worst = 0;
    for (size_t i = 0; i < image.pixelCount(); ++i) {
        const QopColor_t &p = image.data()[i];
        worst = std::max({worst, std::abs(p.r - p.g), std::abs(p.g - p.b), std::abs(p.r - p.b)});
    }
    return worst;
}

} // namespace

TEST(LineSmooth, ConstantLinesStayConstantToTheEnds)
{
    std::vector<float> line(256, 3.25f);
    QopLineSmooth1D(line.data(), 256, 15);
    for (float v : line)
        EXPECT_NEAR(v, 3.25f, 1e-5f);

    // A step is smoothed into a monotone ramp that keeps its two levels far from the edge.
    std::vector<float> step(100);
    for (int i = 0; i < 100; ++i)
        step[i] = i < 50 ? 0.0f : 1.0f;
    QopLineSmooth1D(step.data(), 100, 4);
    EXPECT_NEAR(step[0], 0.0f, 1e-6f);
    EXPECT_NEAR(step[99], 1.0f, 1e-6f);
    EXPECT_NEAR(step[49] + step[50], 1.0f, 1e-5f); // symmetric about the step
    for (int i = 1; i < 100; ++i)
        EXPECT_GE(step[i], step[i - 1]);
    EXPECT_GT(step[47], 0.1f);
}

TEST(IntegralImage, BoxSumsMatchBruteForceForEveryBox)
{
    const TestBitmap photo = makeSeededNoise(17, 13, 9, true);
    const size_t w = 17, h = 13;
    std::vector<uint32_t> r(w * h), g(w * h), b(w * h), grey(w * h);
    QopBuildIntegralImage(photo.get(), r.data(), g.data(), b.data());
    QopBuildIntegralImageGray(photo.get(), grey.data());
    for (int y1 = 0; y1 < 13; ++y1)
        for (int y2 = y1; y2 < 13; ++y2)
            for (int x1 = 0; x1 < 17; ++x1)
                for (int x2 = x1; x2 < 17; ++x2) {
                    uint32_t er = 0, eg = 0, eb = 0, egrey = 0;
                    for (int y = y1; y <= y2; ++y)
                        for (int x = x1; x <= x2; ++x) {
                            const QopColor_t &p = photo.at(x, y);
                            er += p.r;
                            eg += p.g;
                            eb += p.b;
                            egrey += static_cast<uint32_t>(static_cast<float>(0.2 * p.r + 0.7 * p.g + 0.1 * p.b) + 0.5);
                        }
                    ASSERT_EQ(QopSumBoxFromIntegralImage(r.data(), w, h, x1, y1, x2, y2), er);
                    ASSERT_EQ(QopSumBoxFromIntegralImage(g.data(), w, h, x1, y1, x2, y2), eg);
                    ASSERT_EQ(QopSumBoxFromIntegralImage(b.data(), w, h, x1, y1, x2, y2), eb);
                    ASSERT_EQ(QopSumBoxFromIntegralImage(grey.data(), w, h, x1, y1, x2, y2), egrey);
                }
}

TEST(AutoColors, FullRangeImagesAreUnchangedAndNarrowOnesStretched)
{
    // Every level, with a quarter of the pixels black and a quarter white: the 0.5 % and 99.5 %
    // points lie within a tenth of a level of 0 and 255.
    TestBitmap full(256, 16);
    for (size_t y = 0; y < 16; ++y)
        for (size_t x = 0; x < 256; ++x) {
            const uint8_t v = y < 4 ? 0 : (y < 8 ? 255 : uint8_t(x));
            full.at(x, y) = {v, uint8_t(255 - v), v, 255};
        }
    TestBitmap image = full;
    QopAutoColors(image.get());
    EXPECT_TRUE(imagesAgree(full, image, {1, -1, -1}, "autocolors_full"));

    // A ramp over 50..200 spreads to 0..255.
    TestBitmap narrow(151, 4);
    TestBitmap stretched(151, 4);
    for (size_t y = 0; y < 4; ++y)
        for (size_t x = 0; x < 151; ++x) {
            const uint8_t v = static_cast<uint8_t>(50 + x);
            narrow.at(x, y) = {v, v, v, 255};
            const uint8_t e = static_cast<uint8_t>(std::lround((v - 50) * 255.0 / 150.0));
            stretched.at(x, y) = {e, e, e, 255};
        }
    QopAutoColors(narrow.get());
    EXPECT_TRUE(imagesAgree(stretched, narrow, {2, -1, -1}, "autocolors_ramp"));

    // Fade 0 changes nothing.
    TestBitmap faded = makePhotoLike(40, 30);
    const TestBitmap before = faded;
    QopAutoColorsFade(0.0, faded.get());
    EXPECT_TRUE(imagesAgree(before, faded, {1, -1, -1}, "autocolors_fade0"));
}

TEST(AutoColors, WarmWhitePointCapsTheStretch)
{
    // With maxColor brighter than the image's top, each channel stretches only up to 255 x top /
    // maxColor: the top of a 0..200 ramp reaches 255 x 200 / 251 in red, not 255.
    TestBitmap ramp(201, 2);
    for (size_t y = 0; y < 2; ++y)
        for (size_t x = 0; x < 201; ++x)
            ramp.at(x, y) = {uint8_t(x), uint8_t(x), uint8_t(x), 255};
    const QopColor_t warm = {251, 233, 194, 255};
    QopAutoColorsFadeMaxColor(ramp.get(), 1.0, &warm);
    EXPECT_NEAR(ramp.at(200, 0).r, 255.0 * 200 / 251, 2.0);
    EXPECT_NEAR(ramp.at(200, 0).g, 255.0 * 200 / 233, 2.0);
    EXPECT_GE(ramp.at(200, 0).b, 254); // 194 is below the ramp's top: the top itself reaches 255
}

TEST(LocalContrast, UniformGreyStaysGreyAndAlphaBecomesOpaque)
{
    for (uint8_t level : {uint8_t(30), uint8_t(128), uint8_t(230)}) {
        TestBitmap grey = uniform(64, 48, {level, level, level, 100});
        QopLocalContrastEnhanceProcessor(grey.get());
        EXPECT_LE(worstColourfulness(grey), 1) << int(level);
        EXPECT_EQ(grey.at(10, 10).a, 255);
        // Every pixel alike: a flat image has no local contrast to make.
        EXPECT_TRUE(imagesAgree(uniform(64, 48, grey.at(0, 0)), grey, {1, -1, -1}, "local_contrast_flat", true));
    }
}

TEST(LocalContrast, LiftsDarkAreasOfAPhoto)
{
    TestBitmap photo = makePhotoLike(160, 120);
    for (size_t i = 0; i < photo.pixelCount(); ++i) {
        QopColor_t &p = photo.data()[i];
        p = {uint8_t(p.r / 3), uint8_t(p.g / 3), uint8_t(p.b / 3), 255};
    }
    const double before = meanOf(photo, 1);
    QopLocalContrastEnhance(photo.get());
    EXPECT_GT(meanOf(photo, 1), before + 5.0);
}

TEST(LabCorrect, NeutralImagesStayNeutralAndCastsArePulledTowardNeutral)
{
    TestBitmap grey = uniform(40, 30, {120, 120, 120, 255});
    QopLabCorrect(grey.get());
    EXPECT_LE(worstColourfulness(grey), 1);
    EXPECT_NEAR(grey.at(3, 3).g, 120, 1);

    // A blue cast over a photo: after correction its mean b* is closer to neutral.
    TestBitmap cast = makePhotoLike(80, 60);
    for (size_t i = 0; i < cast.pixelCount(); ++i) {
        QopColor_t &p = cast.data()[i];
        p.r = static_cast<uint8_t>(p.r * 0.7);
        p.b = static_cast<uint8_t>(std::min(255, p.b + 50));
    }
    auto meanBStar = [](const TestBitmap &image) {
        TestBitmap lab = image;
        for (size_t i = 0; i < lab.pixelCount(); ++i)
            QopColorRGB2LAB(lab.data() + i);
        return meanOf(lab, 2);
    };
    const double castB = meanBStar(cast);
    ASSERT_LT(castB, 117.0);
    QopLabCorrect(cast.get());
    EXPECT_GT(meanBStar(cast), castB + 3.0);
}

// Every mode brightens a dark photo's shadows and leaves alpha alone.
TEST(AutoEnhance, EveryModeBrightensADarkPhoto)
{
    TestBitmap dark = makePhotoLike(120, 90);
    for (size_t i = 0; i < dark.pixelCount(); ++i) {
        QopColor_t &p = dark.data()[i];
        p = {uint8_t(p.r / 3), uint8_t(p.g / 3), uint8_t(p.b / 3), uint8_t(i % 256)};
    }
    for (QopAutoEnhanceMode mode : {QopAutoEnhanceModeClarity, QopAutoEnhanceModeAuto, QopAutoEnhanceModeNight,
                                    QopAutoEnhanceModeBacklight}) {
        TestBitmap image = dark;
        QopAutoEnhance(image.get(), mode);
        EXPECT_GT(meanOf(image, 1), meanOf(dark, 1) + 5.0) << mode;
        for (size_t i = 0; i < image.pixelCount(); ++i)
            ASSERT_EQ(image.data()[i].a, dark.data()[i].a) << mode;
    }
    TestBitmap empty;
    QopAutoEnhance(empty.get(), QopAutoEnhanceModeAuto); // nothing to do, nothing read
}
