// The brush and focus tools on the CPU: dabs (smart, free, erase, blemish strength, reach), the
// focus masks and their levels, red-eye and whiten, the tool set-up, preview and full-size blends;
// and the adjustment tools with their combined table.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopConvolution.h"
#include "QopLite/QopMask.h"
#include "QopLite/QopTools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

using namespace qop_test;

namespace {

constexpr QopColor_t kRed{220, 30, 30, 255};
constexpr QopColor_t kGreen{30, 200, 40, 255};

TestBitmap uniform(size_t width, size_t height, QopColor_t color)
{
    TestBitmap image(width, height);
    image.fill(color);
    return image;
}

TestBitmap maskOf(size_t width, size_t height, uint8_t value) { return uniform(width, height, {value, value, value, value}); }

QopToolDrawParams_t dab(QopToolType_t tool, double x, double y, double radius)
{
    QopToolDrawParams_t params;
    QopToolDrawParamsInit(&params);
    params.toolType = tool;
    params.x = x;
    params.y = y;
    params.radius = radius;
    return params;
}

// Where a dab of radius sigmaR stops reaching.
double reach(double sigmaR) { return sigmaR + 0.8599719915971991 * sigmaR / 2.0; }

} // namespace

TEST(ToolParams, DefaultsAreTheDocumentedOnes)
{
    QopToolDrawParams_t params;
    std::memset(&params, 0x5a, sizeof params);
    EXPECT_EQ(QopToolDrawParamsInit(&params), &params);
    EXPECT_EQ(params.toolType, QopToolTypeNone);
    EXPECT_EQ(params.radius, 0.0);
    EXPECT_EQ(params.color.r + params.color.g + params.color.b + params.color.a, 4 * 255);
    EXPECT_TRUE(params.isFirstDraw);
    EXPECT_EQ(params.alpha, 1.0);
    EXPECT_FALSE(params.tiltShiftTestMask);
    EXPECT_EQ(params.scaleX, 1.0);
    EXPECT_EQ(params.scaleY, 1.0);
}

// One dab per row: the tool and mode, the image and the mask it starts from, and the mask value
// expected at the centre and beyond the dab's reach.
TEST(ToolDabs, EachToolAndModePaintsItsMask)
{
    struct Case {
        const char *name;
        QopToolType_t tool;
        QopToolColorSplashBrushMode_t mode;
        QopColor_t image;
        QopColor_t reference;
        uint8_t start;
        double alpha;
        int centre; // expected at the centre
    };
    const Case cases[] = {
        {"smart on its own colour uncovers", QopToolTypeColorSplash, QopToolColorSplashBrushModeSmart, kRed, kRed, 255, 1.0, 0},
        {"smart on another colour leaves the mask", QopToolTypeColorSplash, QopToolColorSplashBrushModeSmart, kGreen, kRed, 255, 1.0, 255},
        {"free uncovers whatever the colour", QopToolTypeColorSplash, QopToolColorSplashBrushModeFree, kGreen, kRed, 255, 1.0, 0},
        {"erase covers again", QopToolTypeColorSplash, QopToolColorSplashBrushModeErase, kGreen, kRed, 0, 1.0, 255},
        {"blemish at half strength", QopToolTypeBlemish, QopToolColorSplashBrushModeNone, kGreen, kRed, 0, 0.5, 128},
        {"red-eye at full strength", QopToolTypeRedEye, QopToolColorSplashBrushModeNone, kGreen, kRed, 0, 1.0, 255},
        {"whiten adds to what is there", QopToolTypeWhiten, QopToolColorSplashBrushModeNone, kGreen, kRed, 100, 0.5, 178},
        {"colour splash without a mode does nothing", QopToolTypeColorSplash, QopToolColorSplashBrushModeNone, kRed, kRed, 255, 1.0, 255},
    };
    const double radius = 6.0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestBitmap image = uniform(40, 40, c.image);
        TestBitmap mask = maskOf(40, 40, c.start);
        QopToolDrawParams_t params = dab(c.tool, 20.0, 20.0, radius);
        params.colorSplashBrushMode = c.mode;
        params.color = c.reference;
        params.alpha = c.alpha;
        QopToolDraw(image.get(), mask.get(), &params);
        EXPECT_EQ(mask.at(20, 20).a, c.centre);
        // Full strength throughout sigmaR, nothing at or beyond R; only alpha is written.
        EXPECT_EQ(mask.at(20 + 5, 20).a, c.centre);
        const int outside = static_cast<int>(std::ceil(reach(radius)));
        EXPECT_EQ(mask.at(20 + outside, 20).a, c.start);
        EXPECT_EQ(mask.at(20, 20 - outside).a, c.start);
        EXPECT_EQ(mask.at(20, 20).r, c.start);
        EXPECT_TRUE(image == uniform(40, 40, c.image));
    }
}

TEST(ToolDabs, FalloffBetweenSigmaAndReach)
{
    TestBitmap image = uniform(40, 40, kRed);
    TestBitmap mask = maskOf(40, 40, 0);
    // sigmaR 8: h = 4, R = 11.44. At d = 10 the weight is (1 - 2 / 4)^2 = 0.25 -> 64; at d = 11 it
    // is 0.0625 -> 16.
    QopMaskSimilarColors(image.get(), mask.get(), &kRed, 20.0, 20.0, 8.0, 99999999.0, 1.0, 1.0, false, false, true);
    EXPECT_EQ(mask.at(30, 20).a, 64);
    EXPECT_EQ(mask.at(31, 20).a, 16);
    EXPECT_EQ(mask.at(32, 20).a, 0);
    // Symmetric about the centre, in both directions.
    EXPECT_EQ(mask.at(10, 20).a, 64);
    EXPECT_EQ(mask.at(20, 30).a, 64);
}

TEST(ToolDabs, DabsNearTheBorderStayInside)
{
    TestBitmap image = uniform(12, 9, kRed);
    TestBitmap mask = maskOf(12, 9, 0);
    for (double x : {-3.0, 0.0, 11.0, 15.0, -1e300, 1e300})
        QopMaskSimilarColors(image.get(), mask.get(), &kRed, x, x, 5.0, 10.0, 1.0, 1.0, false, false, false);
    EXPECT_EQ(mask.at(0, 0).a, 255);
    EXPECT_EQ(mask.at(11, 8).a, 255);
    // A mask of another size is refused rather than read out of bounds.
    TestBitmap small = maskOf(6, 9, 7);
    QopMaskSimilarColors(image.get(), small.get(), &kRed, 3, 3, 5.0, 10.0, 1.0, 1.0, false, false, true);
    EXPECT_TRUE(small == maskOf(6, 9, 7));
}

// sigmaC 0 would make the Gaussian exp(-0 / 0); it accepts the reference colour alone.
TEST(ToolDabs, ZeroColourSigmaAcceptsOnlyTheReference)
{
    TestBitmap image = uniform(20, 20, kRed);
    image.at(11, 10) = QopColor_t{221, 30, 30, 255};
    TestBitmap mask = maskOf(20, 20, 0);
    QopMaskSimilarColors(image.get(), mask.get(), &kRed, 10.0, 10.0, 4.0, 0.0, 1.0, 1.0, false, false, false);
    EXPECT_EQ(mask.at(10, 10).a, 255);
    EXPECT_EQ(mask.at(11, 10).a, 0);
}

TEST(FocusMasks, RadialMaskLevelsAndReach)
{
    TestBitmap size(101, 101);
    TestBitmap mask = maskOf(101, 101, 9);
    const double sigma = 10.0;
    QopMaskRadial(size.get(), mask.get(), 50.0, 50.0, sigma);
    std::set<int> allowed{0, 255};
    for (int k = 0; k < 32; ++k)
        allowed.insert(4 + 8 * k);
    std::set<int> seen;
    for (size_t y = 0; y < 101; ++y)
        for (size_t x = 0; x < 101; ++x) {
            const int v = mask.at(x, y).a;
            ASSERT_TRUE(allowed.count(v) == 1) << v << " at " << x << ", " << y;
            seen.insert(v);
            const double d = std::hypot(double(x) - 50.0, double(y) - 50.0);
            if (d > 3.33 * sigma + 0.01) {
                EXPECT_EQ(v, 255) << x << ", " << y;
            }
            EXPECT_EQ(mask.at(x, y).r, 9);
        }
    EXPECT_EQ(mask.at(50, 50).a, 0);
    EXPECT_EQ(seen.size(), 34u) << "every level appears on a mask this large";
    // Levels grow with the distance.
    for (size_t x = 51; x < 101; ++x)
        EXPECT_GE(mask.at(x, 50).a, mask.at(x - 1, 50).a);
}

TEST(FocusMasks, LinearMaskFollowsTheLine)
{
    TestBitmap size(64, 64);
    TestBitmap level = maskOf(64, 64, 0), upright = maskOf(64, 64, 0);
    QopMaskLinear(size.get(), level.get(), 32.0, 32.0, 6.0, 0.0);
    QopMaskLinear(size.get(), upright.get(), 32.0, 32.0, 6.0, M_PI / 2.0);
    for (size_t y = 0; y < 64; ++y)
        for (size_t x = 0; x < 64; ++x) {
            EXPECT_EQ(level.at(x, y).a, level.at(0, y).a) << "angle 0 depends on y alone";
            EXPECT_EQ(upright.at(y, x).a, level.at(x, y).a) << "90 degrees is the transpose";
        }
    EXPECT_EQ(level.at(5, 32).a, 0);
    EXPECT_EQ(level.at(5, 0).a, 255);
    // Through the tool, the angle is in degrees.
    TestBitmap viaTool = maskOf(64, 64, 0);
    QopToolDrawParams_t params = dab(QopToolTypeTiltShift, 32.0, 32.0, 6.0);
    params.tiltShiftMode = QopToolTiltShiftModeLinear;
    params.angle = 90.0;
    QopToolDraw(size.get(), viaTool.get(), &params);
    EXPECT_TRUE(viaTool == upright);
}

TEST(RedEye, ReplacesRedOnlyWhereItOutweighsGreenAndBlue)
{
    struct Case {
        QopColor_t in, out;
    };
    const Case cases[] = {{{100, 60, 50, 255}, {100, 60, 50, 255}},
                          {{200, 40, 30, 255}, {35, 40, 30, 255}},
                          {{110, 60, 50, 255}, {55, 60, 50, 255}},
                          {{255, 255, 0, 7}, {128, 255, 0, 7}},
                          {{0, 0, 0, 255}, {0, 0, 0, 255}}};
    TestBitmap image(5, 1);
    for (size_t i = 0; i < 5; ++i)
        image.at(i, 0) = cases[i].in;
    TestBitmap out = image;
    QopRedEye(out.get(), image.get());
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(out.at(i, 0).r, cases[i].out.r) << i;
        EXPECT_EQ(out.at(i, 0).g, cases[i].out.g) << i;
        EXPECT_EQ(out.at(i, 0).a, cases[i].out.a) << i;
    }
    TestBitmap other(4, 1);
    QopRedEye(other.get(), image.get());
    EXPECT_TRUE(other == TestBitmap(4, 1));
}

// A colour whose L*a*b* bytes are close to the whitening target.
QopColor_t whiteningTarget()
{
    QopColor_t best{0, 0, 0, 255};
    double bestDistance = 1e9;
    for (int r = 100; r < 256; r += 3)
        for (int g = 80; g < 256; g += 3)
            for (int b = 40; b < 256; b += 3) {
                QopColor_t c{uint8_t(r), uint8_t(g), uint8_t(b), 255};
                double l, a, bb;
                QopColorRGB2LABDoublesWithCbrtMapping(&c, &l, &a, &bb);
                const double distance = std::hypot(a - 132.0, bb - 140.0) + std::fabs(l - 180.0) / 100.0;
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = c;
                }
            }
    return best;
}

TEST(Whiten, LightensTheTargetAndKeepsNeutralsNeutral)
{
    const QopColor_t target = whiteningTarget();
    TestBitmap image(3, 1);
    image.at(0, 0) = target;
    image.at(1, 0) = QopColor_t{128, 128, 128, 200};
    image.at(2, 0) = QopColor_t{20, 60, 220, 255}; // blue: far from the target
    QopWhiten(image.get());
    const QopColor_t t = image.at(0, 0), grey = image.at(1, 0), blue = image.at(2, 0);
    double l0, a0, b0, l1, a1, b1;
    QopColorRGB2LABDoublesWithCbrtMapping(&target, &l0, &a0, &b0);
    QopColorRGB2LABDoublesWithCbrtMapping(&t, &l1, &a1, &b1);
    EXPECT_GT(l1, l0 + 10.0) << "lightened";
    EXPECT_LT(b1, b0 - 5.0) << "less yellow";
    // Grey stays grey (lighter, but with no cast) and keeps its alpha.
    EXPECT_LE(std::abs(grey.r - grey.g), 1);
    EXPECT_LE(std::abs(grey.g - grey.b), 1);
    EXPECT_GT(grey.r, 128);
    EXPECT_EQ(grey.a, 200);
    // Far from the target (blue) whitening is only the byte round trip through L*a*b*.
    QopColor_t roundTrip{20, 60, 220, 255};
    QopColorRGB2LAB(&roundTrip);
    QopColorLAB2RGB(&roundTrip);
    EXPECT_LE(std::abs(blue.r - roundTrip.r), 1);
    EXPECT_LE(std::abs(blue.g - roundTrip.g), 1);
    EXPECT_LE(std::abs(blue.b - roundTrip.b), 1);
}

TEST(ToolInit, EachToolPreparesItsCopyAndMask)
{
    const TestBitmap photo = makePhotoLike(48, 32);
    struct Case {
        QopToolType_t tool;
        uint8_t mask;
    };
    for (const Case &c : {Case{QopToolTypeColorSplash, 255}, Case{QopToolTypeWhiten, 0}, Case{QopToolTypeRedEye, 0},
                          Case{QopToolTypeBlemish, 0}}) {
        SCOPED_TRACE(c.tool);
        TestBitmap image = photo, copy(48, 32), mask = maskOf(48, 32, 77);
        QopToolDrawParams_t params = dab(c.tool, 0, 0, 1);
        QopToolInit(image.get(), copy.get(), mask.get(), &params);
        EXPECT_TRUE(image == photo);
        EXPECT_TRUE(mask == maskOf(48, 32, c.mask));
        TestBitmap expected = photo;
        if (c.tool == QopToolTypeColorSplash) {
            for (size_t i = 0; i < copy.pixelCount(); ++i) {
                EXPECT_LE(std::abs(copy.data()[i].r - copy.data()[i].g), 1);
                EXPECT_LE(std::abs(copy.data()[i].g - copy.data()[i].b), 1);
            }
            continue;
        }
        if (c.tool == QopToolTypeWhiten)
            QopWhiten(expected.get());
        else if (c.tool == QopToolTypeRedEye)
            QopRedEye(expected.get(), const_cast<QopBitmap_t *>(photo.get()));
        else
            QopConvolutionEffectJoeSharpen(expected.get(), -100.0f);
        EXPECT_TRUE(copy == expected);
    }
    // The tilt-shift test mask shows pure red.
    TestBitmap image = photo, copy(48, 32), mask = maskOf(48, 32, 1);
    QopToolDrawParams_t params = dab(QopToolTypeTiltShift, 0, 0, 1);
    params.tiltShiftTestMask = true;
    QopToolInit(image.get(), copy.get(), mask.get(), &params);
    EXPECT_TRUE(copy == uniform(48, 32, {255, 0, 0, 255}));
    // A copy that cannot be made (wrong size) stops before the mask is touched.
    TestBitmap wrong(10, 10), untouched = maskOf(48, 32, 1);
    QopToolInit(image.get(), wrong.get(), untouched.get(), &params);
    EXPECT_TRUE(untouched == maskOf(48, 32, 1));
}

TEST(ToolRender, PreviewBlendsThroughTheMaskInsideTheBox)
{
    TestBitmap src = uniform(8, 6, {200, 100, 0, 255}), tmp = uniform(8, 6, {0, 50, 255, 255});
    TestBitmap mask = maskOf(8, 6, 0);
    mask.at(1, 1).a = 255;
    mask.at(2, 1).a = 128;
    TestBitmap preview = uniform(8, 6, {9, 9, 9, 33});
    QopToolRenderPreviewBox(preview.get(), src.get(), tmp.get(), mask.get(), 4, 3, 1, 1); // corners reversed
    // (tmp m + src (255 - m) + 127) >> 8
    EXPECT_EQ(preview.at(1, 1).r, (0 * 255 + 200 * 0 + 127) >> 8);
    EXPECT_EQ(preview.at(1, 1).b, (255 * 255 + 127) >> 8);
    EXPECT_EQ(preview.at(2, 1).g, (50 * 128 + 100 * 127 + 127) >> 8);
    EXPECT_EQ(preview.at(4, 3).r, (200 * 255 + 127) >> 8);
    EXPECT_EQ(preview.at(1, 1).a, 33);
    EXPECT_EQ(preview.at(5, 3).r, 9) << "outside the box";
    EXPECT_EQ(preview.at(1, 4).r, 9) << "outside the box";
    // The whole image; a bitmap of another size stops it.
    QopToolRenderPreview(preview.get(), src.get(), tmp.get(), mask.get());
    EXPECT_EQ(preview.at(7, 5).r, (200 * 255 + 127) >> 8);
    TestBitmap small = maskOf(4, 6, 255), before = preview;
    QopToolRenderPreview(preview.get(), src.get(), tmp.get(), small.get());
    EXPECT_TRUE(preview == before);
}

// The full-size render is the processed copy over the image through the mask - the same thing
// put together by hand from the pieces.
TEST(ToolRender, HiResBlemishIsTheBlurredCopyThroughTheMask)
{
    const TestBitmap photo = makePhotoLike(64, 48);
    TestBitmap mask = maskOf(64, 48, 0);
    QopToolDrawParams_t params = dab(QopToolTypeBlemish, 30.0, 20.0, 9.0);
    params.alpha = 0.8;
    TestBitmap image = photo;
    QopToolDraw(image.get(), mask.get(), &params);
    QopToolRenderHiRes(image.get(), mask.get(), &params);

    TestBitmap blurred = photo, expected = photo;
    QopConvolutionEffectJoeSharpen(blurred.get(), -100.0f);
    QopBitmapBlendBitmapMask(expected.get(), expected.get(), blurred.get(), mask.get(), QopBlendModeNormal);
    EXPECT_TRUE(imagesAgree(expected, image, {0}, "hires_blemish"));
    EXPECT_FALSE(image == photo) << "the dab changed something";
    EXPECT_TRUE(image.at(0, 47).r == photo.at(0, 47).r) << "nothing outside the dab";
}

TEST(Adjustments, WarmthTables)
{
    struct Case {
        double value;
        QopColor_t white;
    };
    const Case cases[] = {{100, {255, 231, 115, 255}}, {-100, {100, 255, 255, 255}}, {0, {255, 255, 255, 255}},
                          {50, {255, 248, 214, 255}},  {-50, {210, 255, 255, 255}}};
    for (const Case &c : cases) {
        TestBitmap image = uniform(2, 2, {255, 255, 255, 255});
        QopToolWarmth(image.get(), c.value);
        EXPECT_EQ(image.at(1, 1).r, c.white.r) << c.value;
        EXPECT_EQ(image.at(1, 1).g, c.white.g) << c.value;
        EXPECT_EQ(image.at(1, 1).b, c.white.b) << c.value;
    }
    const TestBitmap ramp = makeRamp(256, 4);
    TestBitmap neutral = ramp;
    QopToolWarmth(neutral.get(), 0.0);
    EXPECT_TRUE(neutral == ramp);
}

TEST(Adjustments, ClampsAndBranches)
{
    const TestBitmap photo = makePhotoLike(40, 30);
    auto run = [&](void (*tool)(QopBitmap_t *, double), double value) {
        TestBitmap image = photo;
        tool(image.get(), value);
        return image;
    };
    EXPECT_TRUE(run(QopToolBrightness, 150) == run(QopToolBrightness, 100));
    EXPECT_TRUE(run(QopToolContrast, -300) == run(QopToolContrast, -100));
    EXPECT_TRUE(run(QopToolSaturation, 101) == run(QopToolSaturation, 100));
    EXPECT_TRUE(run(QopToolBrightness, NAN) == photo);
    TestBitmap gamma = photo;
    QopBitmapGamma(gamma.get(), 2.0f);
    EXPECT_TRUE(run(QopToolBrightness, -100) == gamma);
    EXPECT_FALSE(run(QopToolBrightness, 40) == photo);
    const TestBitmap grey = run(QopToolSaturation, -100);
    for (size_t i = 0; i < grey.pixelCount(); ++i) {
        EXPECT_LE(std::abs(grey.data()[i].r - grey.data()[i].g), 1);
        EXPECT_LE(std::abs(grey.data()[i].b - grey.data()[i].g), 1);
    }
}

// The combined adjustment composes lookup tables of integers, so it must equal the single tools
// run one after another, byte for byte; an order slip in the composition shows at once.
TEST(Adjustments, CombinedEqualsTheFourInOrder)
{
    const TestBitmap photo = makePhotoLike(64, 48);
    struct Case {
        double brightness, contrast, warmth, saturation;
    };
    const Case cases[] = {{0, 0, 0, 0},     {40, 25, 60, -30},   {-60, -40, -80, 50},
                          {100, 100, 100, 100}, {-100, -100, -100, -100}, {150, -250, 130, 0}};
    for (const Case &c : cases) {
        TestBitmap combined = photo, sequential = photo;
        QopToolAdjustBrightnessContrastWarmthSaturation(combined.get(), c.brightness, c.contrast, c.warmth,
                                                        c.saturation);
        QopToolBrightness(sequential.get(), c.brightness);
        QopToolContrast(sequential.get(), c.contrast);
        QopToolWarmth(sequential.get(), c.warmth);
        QopToolSaturation(sequential.get(), c.saturation);
        EXPECT_TRUE(imagesAgree(sequential, combined, {0}, "combined_adjustment")) << c.brightness << " " << c.contrast;
    }
    // Even all zero changes the image: the contrast curve maps 255 to 254.
    TestBitmap white = uniform(2, 2, {255, 255, 255, 255});
    QopToolAdjustBrightnessContrastWarmthSaturation(white.get(), 0, 0, 0, 0);
    EXPECT_EQ(white.at(0, 0).r, 254);
}

TEST(Adjustments, SharpnessSteepensAnEdgeAndSofteningFlattensIt)
{
    // 400 x 200: the blur is sigma = 600 x 60 / 40000 = 0.9 pixels wide.
    TestBitmap edge(400, 200);
    for (size_t y = 0; y < 200; ++y)
        for (size_t x = 0; x < 400; ++x)
            edge.at(x, y) = x < 200 ? QopColor_t{60, 60, 60, 255} : QopColor_t{190, 190, 190, 255};
    TestBitmap sharp = edge, soft = edge;
    QopToolSharpness(sharp.get(), 60.0);
    QopToolSharpness(soft.get(), -60.0);
    EXPECT_LT(sharp.at(199, 100).g, 60) << "the dark side darkens";
    EXPECT_GT(sharp.at(200, 100).g, 190) << "the bright side brightens";
    EXPECT_GT(soft.at(199, 100).g, 60);
    EXPECT_LT(soft.at(200, 100).g, 190);
}
