// The procedural generators: bars, canvas and the drawn meme field, and the slider fill's
// gradient band.

#include <gtest/gtest.h>

#include "Generators/QZThemedImages.h"
#include "Render/QZColorHelpers.h"
#include "support/QZProbeMasks.h"
#include "support/QZTestImages.h"

namespace customizer::testing {
namespace {

NSColorPtr ns(CGColor c) { return NSColor::colorWithCalibratedRed(c.red, c.green, c.blue, c.alpha); }
CGColor shifted(CGColor c, double delta) { return QZNSColorByShiftingBrightness(ns(c), delta)->CGColor(); }
CGColor mix(CGColor from, CGColor to, double t)
{
    auto m = [&](double a, double b) { return a + (b - a) * t; };
    return {m(from.red, to.red), m(from.green, to.green), m(from.blue, to.blue), m(from.alpha, to.alpha)};
}

const CGColor kMid{0.5, 0.5, 0.5, 1};

// Noise of plain white, so any pixel it reaches changes.
class QZProceduralImages : public ::testing::Test {
protected:
    std::shared_ptr<QZProbeMasks> masks = std::make_shared<QZProbeMasks>();
    ScopedImageProvider provider{masks};
    void SetUp() override
    {
        masks->setImage("uniform_noise_strong250x250.png", makeImage(250, 250, [](int, int) { return kWhite; }));
    }
};

TEST_F(QZProceduralImages, ToolBarIsAVerticalGradientUnderTwoLinesInItsTopRows)
{
    for (int s : {1, 2}) {
        NSImagePtr bar = stretchableToolBarWithMidColorAndSize(ns(kMid), ns(kRed), ns(kGreen), false, s);
        int h = 100 * s;
        ASSERT_EQ(bar->size(), CGSizeMake(h, h));
        const CGColor top = shifted(kMid, 0.06), bottom = shifted(kMid, -0.06);
        for (int row = 0; row < h; ++row) {
            CGColor expected = row < s ? kRed : row < 2 * s ? kGreen : mix(bottom, top, (h - row - 0.5) / h);
            for (int x : {0, h / 2, h - 1})
                ASSERT_TRUE(colorNear(pixelAt(bar, x, row), expected)) << "s " << s << " row " << row << " x " << x;
        }
    }
    NSImagePtr camera = stretchableCameraBarWithMidColorAndSize(ns(kMid), ns(kRed), ns(kGreen), false, 1, 104);
    EXPECT_EQ(camera->size(), CGSizeMake(104, 104));
    EXPECT_TRUE(colorNear(pixelAt(camera, 50, 1), kGreen));
}

TEST_F(QZProceduralImages, HomeBarLinesSitAtTheTopAndAtTheDivider)
{
    NSImagePtr bar = stretchableHomeBottomBarWithMidColorStrokesSizeAndScale(ns(kMid), ns(kRed), ns(kGreen), false, 2);
    ASSERT_EQ(bar->size(), CGSizeMake(250, 250));
    const CGColor flat = shifted(kMid, -0.06), top = shifted(kMid, 0.06);
    // The body is flat below a fifth of the height and brightens above it.
    auto body = [&](int row) {
        double f = (250 - row - 0.5) / 250;
        return f <= 0.2 ? flat : mix(flat, top, (f - 0.2) / 0.8);
    };
    // Rows from the top of a 250-row image: y (from the bottom) 91 is the line between rows 158
    // and 159, y 89 between rows 160 and 161.
    struct Probe {
        int row;
        CGColor expected;
    } probes[] = {
        {0, kRed}, {1, kRed}, {2, kGreen}, {3, kGreen},
        {158, kRed}, {159, kRed}, {160, mix(body(160), kGreen, 0.5)}, {161, mix(body(161), kGreen, 0.5)},
        {204, flat}, {249, flat},
    };
    for (const Probe& p : probes) EXPECT_TRUE(colorNear(pixelAt(bar, 125, p.row), p.expected)) << "row " << p.row;
    // Above the divider the body brightens towards the top.
    EXPECT_GT(pixelAt(bar, 125, 10).red, pixelAt(bar, 125, 150).red);
}

TEST_F(QZProceduralImages, NavigationBarShowsItsInnerStrokeLineAtTheTop)
{
    for (int s : {1, 2}) {
        NSImagePtr bar = stretchableNavigationBarImageWithColorAndScale(ns(kMid), ns(kRed), ns(kGreen), false, s);
        int h = 44 * s;
        ASSERT_EQ(bar->size(), CGSizeMake(h, h));
        EXPECT_TRUE(colorNear(pixelAt(bar, 10, 0), kGreen)) << s;
        EXPECT_TRUE(colorNear(pixelAt(bar, 10, s - 1), kGreen)) << s;
        EXPECT_TRUE(colorNear(pixelAt(bar, 10, h - 1), kRed)) << s;
        EXPECT_TRUE(colorNear(pixelAt(bar, 10, s), kMid, 0.01)) << s;
        EXPECT_TRUE(colorNear(pixelAt(bar, 10, h - s - 1), shifted(kMid, -0.01), 0.01)) << s;
    }
}

TEST_F(QZProceduralImages, NoiseChangesOnlyTheSquareAtTheOrigin)
{
    NSImagePtr plainCanvas = tileableCanvasImageWithColor(ns(kMid), false, 2);
    NSImagePtr noisyCanvas = tileableCanvasImageWithColor(ns(kMid), true, 2);
    ASSERT_EQ(noisyCanvas->size(), CGSizeMake(200, 200));
    for (auto [x, y] : {std::pair{0, 0}, {199, 199}, {100, 100}})
        EXPECT_FALSE(colorNear(pixelAt(noisyCanvas, x, y), pixelAt(plainCanvas, x, y), 2.0 / 255)) << x << "," << y;
    EXPECT_TRUE(colorNear(pixelAt(plainCanvas, 7, 7), kMid));

    // A 400-point bar: the square is its bottom-left 250 x 250, lines at the top untouched.
    NSImagePtr plain = stretchableCameraBarWithMidColorAndSize(ns(kMid), ns(kRed), ns(kGreen), false, 2, 200);
    NSImagePtr noisy = stretchableCameraBarWithMidColorAndSize(ns(kMid), ns(kRed), ns(kGreen), true, 2, 200);
    ASSERT_EQ(noisy->size(), CGSizeMake(400, 400));
    for (int y = 0; y < 400; y += 3)
        for (int x = 0; x < 400; x += 3) {
            bool inside = x < 250 && y >= 150;
            EXPECT_EQ(!colorNear(pixelAt(noisy, x, y), pixelAt(plain, x, y), 0.5 / 255), inside) << x << "," << y;
        }
}

TEST_F(QZProceduralImages, DrawnMemeFieldHasItsShadowOneScaleBelowItsBody)
{
    const CGColor fill{0.6, 0.6, 0.6, 1}, shadow{0, 0, 1, 1};
    NSImagePtr field = memeFieldStretchableImageWithColorsAndScale(ns(fill), ns(kRed), ns(shadow), 2);
    ASSERT_EQ(field->size(), CGSizeMake(82, 72));
    // The body spans y 2..70 (from the bottom), the shadow y 0..68.
    EXPECT_TRUE(colorNear(pixelAt(field, 41, 71), shadow));
    EXPECT_TRUE(colorNear(pixelAt(field, 41, 36), shifted(fill, -0.06)));
    EXPECT_TRUE(colorNear(pixelAt(field, 41, 0), kClear));
    EXPECT_TRUE(colorNear(pixelAt(field, 0, 36), kClear));
}

TEST_F(QZProceduralImages, GradientImageRunsFromTopColourToBottomColour)
{
    NSImagePtr gradient = stretchableGradientWithColorsAndSize(ns(kRed), ns(kBlue), 30, 50);
    ASSERT_EQ(gradient->size(), CGSizeMake(30, 50));
    EXPECT_TRUE(colorNear(pixelAt(gradient, 15, 0), mix(kBlue, kRed, 49.5 / 50)));
    EXPECT_TRUE(colorNear(pixelAt(gradient, 15, 49), mix(kBlue, kRed, 0.5 / 50)));
}

TEST_F(QZProceduralImages, SliderFillGradientChangesOnlyBetweenFortyPointsFromEachEnd)
{
    // The glow mask sets a 96 x 120 image; the core's stripe shows the gradient.
    masks->setSize("goo_glow_l.png", 96, 120);
    NSImagePtr fill = sliderLeftActiveCoreWithColorsAndState(ns(kRed), ns(kBlue), ns(kGreen), false);
    ASSERT_EQ(fill->size(), CGSizeMake(96, 120));
    int x = QZProbeMasks::stripeCentre(masks->stripeOf("goo_core_l.png"));
    EXPECT_TRUE(colorNear(pixelAt(fill, x, 0), kRed));
    EXPECT_TRUE(colorNear(pixelAt(fill, x, 39), kRed));
    EXPECT_TRUE(colorNear(pixelAt(fill, x, 60), mix(kBlue, kRed, 0.5), 0.03));
    EXPECT_TRUE(colorNear(pixelAt(fill, x, 80), kBlue));
    EXPECT_TRUE(colorNear(pixelAt(fill, x, 119), kBlue));
    EXPECT_TRUE(colorNear(pixelAt(fill, QZProbeMasks::stripeCentre(masks->stripeOf("goo_glow_l.png")), 60), kClear));
}

}  // namespace
}  // namespace customizer::testing
