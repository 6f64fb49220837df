// Hexadecimal colours, the colour entry of "Colors.plist", brightness shifts and measures.

#include <gtest/gtest.h>

#include <cmath>

#include "Render/QZColorHelpers.h"
#include "support/QZTestImages.h"

namespace customizer::testing {
namespace {

NSColorPtr rgba(double r, double g, double b, double a = 1) { return NSColor::colorWithCalibratedRed(r, g, b, a); }

CGColor of(const NSColorPtr& color) { return color ? color->CGColor() : CGColor{-1, -1, -1, -1}; }

TEST(QZColorHelpers, HexStringsReadAsTheThemeStoreWritesThem)
{
    const CGColor orange{1, 128 / 255.0, 0, 1};
    struct Case {
        std::optional<std::string> text;
        std::optional<CGColor> expected;
    } cases[] = {
        {"#ff8000", orange},
        {"0xff8000", orange},
        {"ff8000", orange},
        {"xff8000", orange},
        {"0xffff8000", orange},  // an alpha byte first is ignored
        {"#FF8000", orange},
        {"0xff8000zz", orange},  // reading stops at the first non-digit
        {"#0", CGColor{0, 0, 0, 1}},
        {std::nullopt, std::nullopt},
        {"", std::nullopt},
        {"#", std::nullopt},
        {"zzz", std::nullopt},
        {" ff8000", std::nullopt},
    };
    for (const Case& c : cases) {
        NSColorPtr color = QZNSColorWithHexString(c.text);
        std::string label = c.text ? "\"" + *c.text + "\"" : "nil";
        if (!c.expected) {
            EXPECT_EQ(color, nullptr) << label;
            continue;
        }
        ASSERT_NE(color, nullptr) << label;
        EXPECT_TRUE(colorNear(color->CGColor(), *c.expected, 1e-6)) << label;
    }
    // Components go through single precision, as the theme files were written.
    EXPECT_EQ(QZNSColorWithHexString("#800000")->redComponent(), double(128.0f / 255.0f));
}

TEST(QZColorHelpers, ColourEntriesAreAHashAndSixLowercaseDigitsWithTheAlpha)
{
    struct Case {
        NSColorPtr color;
        std::string hex;
        double alpha;
    } cases[] = {
        {NSColor::colorWithCalibratedWhite(1, 0.5), "#ffffff", 0.5},
        {rgba(1, 0.5, 0, 0.25), "#ff8000", 0.25},  // 0.5 x 255 + 0.5 = 128
        {rgba(0.1, 0.2, 0.3), "#1a334d", 1},
        {rgba(-0.07, 1.2, 0.5), "#00ff80", 1},  // out of range components are clamped when made
        {QZNSColorByShiftingBrightness(NSColor::blackColor(), -0.07), "#000000", 1},
    };
    for (const Case& c : cases) {
        std::optional<QZHexAndAlpha> entry = QZHexAndAlphaDictWithNSColor(c.color);
        ASSERT_TRUE(entry) << c.hex;
        EXPECT_EQ(entry->hex, c.hex);
        EXPECT_DOUBLE_EQ(entry->alpha, c.alpha) << c.hex;
    }
    EXPECT_FALSE(QZHexAndAlphaDictWithNSColor(nullptr));
    EXPECT_EQ(QZCGColorFromNSColor(nullptr), std::nullopt);
    EXPECT_EQ(QZCGColorFromNSColor(rgba(0.1, 0.2, 0.3, 0.4)), (CGColor{0.1, 0.2, 0.3, 0.4}));
}

TEST(QZColorHelpers, BrightnessShiftsAndMeasures)
{
    // HSB brightness 0.98 shifted by +0.06 gives 1.04, which the colour clamps to 1.
    NSColorPtr nearWhiteRed = NSColor::colorWithDeviceHue(0, 0.5, 0.98, 0.7);
    CGFloat h, s, b, a;
    QZNSColorByShiftingBrightness(nearWhiteRed, 0.06)->getHue(&h, &s, &b, &a);
    EXPECT_NEAR(h, 0, 1e-9);
    EXPECT_NEAR(s, 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(b, 1);
    EXPECT_DOUBLE_EQ(a, 0.7);
    QZNSColorByShiftingBrightness(rgba(0.2, 0.4, 0.8), -0.1)->getHue(&h, &s, &b, &a);
    EXPECT_NEAR(b, 0.7, 1e-9);
    EXPECT_NEAR(s, 0.75, 1e-9);
    EXPECT_TRUE(colorNear(of(QZNSColorByShiftingBrightness(NSColor::blackColor(), -0.07)), kBlack, 0));
    EXPECT_EQ(QZNSColorByShiftingBrightness(nullptr, 0.06), nullptr);

    EXPECT_DOUBLE_EQ(QZNSColorGetBrightness(rgba(0, 0, 1)), double(std::sqrt(0.68f)));
    EXPECT_NEAR(QZNSColorGetBrightness(NSColor::whiteColor()), std::sqrt(0.241 + 0.691 + 0.68), 1e-6);
    EXPECT_EQ(QZNSColorGetBrightness(nullptr), 0);
}

TEST(QZColorHelpers, DarkeningLighteningAndContrast)
{
    struct Case {
        const char* name;
        NSColorPtr result;
        CGColor expected;
    } cases[] = {
        {"darken by 0.25", QZNSColorByDarkeningColor(rgba(0.8, 0.4, 0.2, 0.5), 0.25), {0.6, 0.3, 0.15, 0.5}},
        {"darken by more than 1", QZNSColorByDarkeningColor(rgba(0.8, 0.4, 0.2), 3), {0, 0, 0, 1}},
        {"darken by less than 0", QZNSColorByDarkeningColor(rgba(0.8, 0.4, 0.2), -1), {0.8, 0.4, 0.2, 1}},
        {"lighten by 0.5", QZNSColorByLighteningColor(rgba(0.4, 0.2, 0.8), 0.5), {0.6, 0.3, 1, 1}},
        {"lighten by more than 1", QZNSColorByLighteningColor(rgba(0.4, 0.2, 0.1), 5), {0.8, 0.4, 0.2, 1}},
    };
    for (const Case& c : cases) EXPECT_TRUE(colorNear(of(c.result), c.expected, 1e-9)) << c.name;
    EXPECT_EQ(QZNSColorByDarkeningColor(nullptr, 0.5), nullptr);
    EXPECT_EQ(QZNSColorByLighteningColor(nullptr, 0.5), nullptr);

    NSColorPtr dark = NSColor::blackColor(), light = NSColor::whiteColor();
    EXPECT_EQ(QZNSColorGetContrastingColor(rgba(0.2, 0.2, 0.2), dark, light), light);
    EXPECT_EQ(QZNSColorGetContrastingColor(rgba(0.8, 0.8, 0.8), dark, light), dark);
    EXPECT_EQ(QZNSColorGetContrastingColor(rgba(0, 0.6, 0), dark, light), light);  // sqrt(0.691) x 0.6 = 0.499
    EXPECT_EQ(QZNSColorGetContrastingColor(rgba(0, 0.61, 0), dark, light), dark);
}

}  // namespace
}  // namespace customizer::testing
