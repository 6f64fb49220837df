// The theme record: fallbacks, key-value access, and the defaults file.

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "Model/OverallAppearance.h"
#include "Model/QZCustomizationDefaults.h"
#include "Render/NSLog.h"
#include "Render/QZColorHelpers.h"
#include "support/QZTestFolders.h"

namespace customizer::testing {
namespace {

NSColorPtr rgba(double r, double g, double b, double a = 1)
{
    return NSColor::colorWithCalibratedRed(r, g, b, a);
}

NSColorPtr colorOf(const QZAttributeValue& value)
{
    const auto* color = std::get_if<NSColorPtr>(&value);
    return color ? *color : nullptr;
}

::testing::AssertionResult sameColor(const NSColorPtr& actual, const NSColorPtr& expected)
{
    if (!actual && !expected) return ::testing::AssertionSuccess();
    if (actual && expected && actual->isEqual(*expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << (actual ? actual->description() : "nil") << " instead of "
                                         << (expected ? expected->description() : "nil");
}

// Each attribute that reads through another while unset, and that other.
struct Fallback {
    const char* attribute;
    const char* source;
};
const Fallback kFallbacks[] = {
    {"navBarColor", "bottomBarColor"},
    {"navBarInnerStrokeColor", "bottomBarInnerStrokeColor"},
    {"navBarOuterStrokeColor", "bottomBarOuterStrokeColor"},
    {"applyButtonGradientTopColor", "accentGradientTopColor"},
    {"applyButtonGradientBottomColor", "accentGradientBottomColor"},
    {"cancelButtonColor", "navBarColor"},
    {"highlightedIconGlowColor", "accentGradientTopColor"},
    {"highlightedIconGradientTopColor", "accentGradientTopColor"},
    {"highlightedIconGradientBottomColor", "accentGradientBottomColor"},
    {"highlightedTextColor", "highlightedIconGradientTopColor"},
    {"navigationBarTextColor", "textColor"},
    {"cancelButtonDefaultTextColor", "textColor"},
    {"cancelButtonHighlightedTextColor", "textColor"},
    {"applyButtonDefaultTextColor", "textColor"},
    {"applyButtonHighlightedTextColor", "textColor"},
    {"textShadowColor", "defaultIconDropShadowColor"},
    {"navigationBarTextShadowColor", "textShadowColor"},
    {"cancelButtonDefaultTextShadowColor", "textShadowColor"},
    {"applyButtonDefaultTextShadowColor", "textShadowColor"},
    {"cameraIconGradientTopColor", "defaultIconGradientTopColor"},
    {"cameraIconGradientBottomColor", "defaultIconGradientBottomColor"},
    {"cameraIconInnerStrokeColor", "defaultIconInnerShadowColor"},
    {"cameraIconOuterStrokeColor", "defaultIconStrokeColor"},
    {"galleryAlbumNameTextColor", "textColor"},
    {"galleryAlbumNameTextShadowColor", "textShadowColor"},
};

TEST(OverallAppearance, AnUnsetAttributeReadsThroughItsSourceUntilItIsSet)
{
    ASSERT_EQ(std::size(kFallbacks), 25u);  // with canvasColor, 26
    NSColorPtr source = rgba(0.2, 0.4, 0.6, 0.8), own = rgba(0.9, 0.1, 0.3);
    for (const Fallback& f : kFallbacks) {
        SCOPED_TRACE(f.attribute);
        OverallAppearance theme;
        EXPECT_TRUE(sameColor(colorOf(theme.valueForKey(f.attribute)), nullptr));
        ASSERT_TRUE(theme.setValueForKey(source, f.source));
        EXPECT_TRUE(sameColor(colorOf(theme.valueForKey(f.attribute)), source));
        EXPECT_TRUE(std::holds_alternative<std::monostate>(theme.accessValueForKey(f.attribute, "handleColor")));
        ASSERT_TRUE(theme.setValueForKey(own, f.attribute));
        EXPECT_TRUE(sameColor(colorOf(theme.valueForKey(f.attribute)), own));
    }
    // Not an attribute, and always the text shadow.
    OverallAppearance theme;
    theme.setValueForKey(source, "defaultIconDropShadowColor");
    EXPECT_TRUE(sameColor(theme.highlightedTextShadowColor(), source));
    theme.setValueForKey(own, "textShadowColor");
    EXPECT_TRUE(sameColor(theme.highlightedTextShadowColor(), own));
}

TEST(OverallAppearance, TwoStepChainsAndTheCanvasFollowTheirLastSource)
{
    NSColorPtr end = rgba(0.5, 0.25, 0.75, 0.5);
    struct Chain {
        std::vector<const char*> attributes;
        const char* end;
    } chains[] = {
        {{"cancelButtonColor", "navBarColor"}, "bottomBarColor"},
        {{"highlightedTextColor", "highlightedIconGradientTopColor"}, "accentGradientTopColor"},
        {{"navigationBarTextShadowColor", "cancelButtonDefaultTextShadowColor", "applyButtonDefaultTextShadowColor",
          "galleryAlbumNameTextShadowColor", "textShadowColor"},
         "defaultIconDropShadowColor"},
    };
    for (const Chain& chain : chains) {
        OverallAppearance theme;
        theme.setValueForKey(end, chain.end);
        for (const char* attribute : chain.attributes)
            EXPECT_TRUE(sameColor(colorOf(theme.valueForKey(attribute)), end)) << attribute;
    }

    OverallAppearance theme;
    EXPECT_EQ(theme.canvasColor(), nullptr);
    theme.setValueForKey(end, "bottomBarColor");
    NSColorPtr darker = QZNSColorByShiftingBrightness(end, -0.07);
    EXPECT_TRUE(sameColor(theme.canvasColor(), darker));
    EXPECT_LT(theme.canvasColor()->redComponent(), end->redComponent());
    NSColorPtr nav = rgba(0.1, 0.6, 0.3);
    theme.setValueForKey(nav, "navBarColor");
    EXPECT_TRUE(sameColor(theme.canvasColor(), QZNSColorByShiftingBrightness(nav, -0.07)));
    // Once set, no shift.
    theme.setValueForKey(end, "canvasColor");
    EXPECT_TRUE(sameColor(theme.canvasColor(), end));
}

TEST(OverallAppearance, ColoursWithoutFallbackStayUnsetAndFlagsReadUnsetAsNo)
{
    OverallAppearance everythingElse;
    for (const QZAttributeDescription& d : QZAppearanceAttributes())
        if (d.kind == QZAttributeKind::Color && d.fallback) everythingElse.setValue(d.attribute, rgba(0.3, 0.3, 0.3));
    int withoutFallback = 0;
    for (const QZAttributeDescription& d : QZAppearanceAttributes()) {
        if (d.kind != QZAttributeKind::Color || d.fallback) continue;
        ++withoutFallback;
        EXPECT_EQ(everythingElse.color(d.attribute), nullptr) << d.name;
    }
    EXPECT_EQ(withoutFallback, 28);
    EXPECT_FALSE(everythingElse.useNoise());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(everythingElse.valueForKey("useNoise")));
    everythingElse.setValueForKey(true, "useNoise");
    EXPECT_TRUE(everythingElse.useNoise());
    EXPECT_FALSE(everythingElse.usesBlackTesselLogo());
}

TEST(OverallAppearance, KeyValueAccessRefusesUnknownKeysAndValuesOfTheOtherKind)
{
    OverallAppearance theme;
    NSLogCapture log;
    EXPECT_FALSE(theme.setValueForKey(rgba(1, 0, 0), "navbarColor"));
    EXPECT_FALSE(theme.setValueForKey(true, "navBarColor"));
    EXPECT_FALSE(theme.setValueForKey(rgba(1, 0, 0), "useNoise"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(theme.valueForKey("noSuchKey")));
    EXPECT_EQ(log.lines().size(), 4u);
    EXPECT_TRUE(theme == OverallAppearance());

    // A null colour unsets, like nil.
    theme.setValueForKey(rgba(1, 0, 0), "textColor");
    EXPECT_TRUE(theme.setValueForKey(NSColorPtr(), "textColor"));
    EXPECT_TRUE(theme == OverallAppearance());
}

TEST(QZCustomizationDefaults, EntriesOfTheWrongFormAreSkippedWithALogLine)
{
    QZTemporaryFolder folder;
    writeFile(folder / "defaults.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>textColor</key><dict><key>hex</key><string>#ff8000</string><key>alpha</key><real>0.25</real></dict>
  <key>bottomBarColor</key><dict><key>hex</key><integer>16711680</integer><key>alpha</key><real>1</real></dict>
  <key>navBarColor</key><string>#00ff00</string>
  <key>handleColor</key><dict><key>hex</key><string>no digits</string><key>alpha</key><real>1</real></dict>
  <key>useNoise</key><true/>
  <key>usesBlackTesselLogo</key><string>YES</string>
  <key>notAnAttribute</key><true/>
</dict></plist>)");
    NSLogCapture log;
    std::string error;
    auto defaults = QZCustomizationDefaults::readFromFile(folder / "defaults.plist", &error);
    ASSERT_TRUE(defaults) << error;
    QZHexAndAlpha text = *QZHexAndAlphaDictWithNSColor(colorOf(defaults->defaultFor(QZAttribute::textColor)));
    EXPECT_EQ(text.hex, "#ff8000");
    EXPECT_FLOAT_EQ(float(text.alpha), 0.25f);
    for (QZAttribute skipped : {QZAttribute::bottomBarColor, QZAttribute::navBarColor, QZAttribute::handleColor,
                                QZAttribute::usesBlackTesselLogo})
        EXPECT_TRUE(std::holds_alternative<std::monostate>(defaults->defaultFor(skipped)))
            << QZDescriptionOf(skipped).name;
    EXPECT_EQ(std::get<bool>(defaults->defaultFor(QZAttribute::useNoise)), true);
    EXPECT_EQ(log.lines().size(), 4u);
    EXPECT_TRUE(log.contains("bottomBarColor"));

    for (const char* bad : {"missing.plist", "array.plist"}) {
        if (std::string(bad) == "array.plist") writeFile(folder / bad, "<plist version=\"1.0\"><array/></plist>");
        EXPECT_FALSE(QZCustomizationDefaults::readFromFile(folder / bad, &error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
}

// A binary list may hold a string with a NUL in it (UTF-16 U+0000), which libplist's own string
// reader aborts on: here {textColor: {hex: "\0#f", alpha: 1}}, a colour of the wrong form.
TEST(QZCustomizationDefaults, AStringHoldingANulIsAColourOfTheWrongForm)
{
    const std::string objects[] = {
        "\xD1\x01\x02",
        "\x59textColor",
        "\xD2\x03\x04\x05\x06",
        "\x53hex",
        "\x55" "alpha",
        std::string("\x63\x00\x00\x00#\x00" "f", 7),
        std::string("\x23\x3F\xF0\x00\x00\x00\x00\x00\x00", 9),
    };
    std::string bytes = "bplist00", offsets;
    for (const std::string& object : objects) {
        offsets += char(bytes.size());
        bytes += object;
    }
    std::string trailer(6, '\0');
    trailer += "\x01\x01";
    for (std::uint64_t field : {std::uint64_t(std::size(objects)), std::uint64_t(0), std::uint64_t(bytes.size())})
        for (int shift = 56; shift >= 0; shift -= 8) trailer += char(field >> shift & 0xFF);
    QZTemporaryFolder folder;
    writeFile(folder / "defaults.plist", bytes + offsets + trailer);
    NSLogCapture log;
    std::string error;
    auto defaults = QZCustomizationDefaults::readFromFile(folder / "defaults.plist", &error);
    ASSERT_TRUE(defaults) << error;
    EXPECT_TRUE(std::holds_alternative<std::monostate>(defaults->defaultFor(QZAttribute::textColor)));
    EXPECT_TRUE(log.contains("textColor"));
}

// The shipped defaults give every colour without a fallback and both flags a value, and leave the
// others to their fallbacks: every colour then resolves.
TEST(QZCustomizationDefaults, TheShippedDefaultsResolveEveryColour)
{
    std::string error;
    auto defaults =
        QZCustomizationDefaults::readFromFile(TESSEL_CUSTOMIZER_RESOURCES_DIR "/CustomizationDefaults.plist", &error);
    ASSERT_TRUE(defaults) << error;
    const OverallAppearance& theme = defaults->appearance();
    for (const QZAttributeDescription& d : QZAppearanceAttributes()) {
        SCOPED_TRACE(d.name);
        bool hasDefault = !std::holds_alternative<std::monostate>(theme.primitiveValue(d.attribute));
        EXPECT_EQ(hasDefault, d.kind == QZAttributeKind::Flag || !d.fallback);
        if (d.kind == QZAttributeKind::Color) {
            EXPECT_NE(theme.color(d.attribute), nullptr);
        }
    }
}

}  // namespace
}  // namespace customizer::testing
