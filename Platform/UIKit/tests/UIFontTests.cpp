#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "UIKit/UIFont.h"

namespace {

TEST(UIFont, MadeByNameOnlyFromTheMappingTable)
{
    struct Case {
        std::shared_ptr<UIFont> font;
        const char* name;  // null: no font
        CGFloat size;
    } cases[] = {
        {UIFont::systemFontOfSize(14), "Helvetica", 14},
        {UIFont::boldSystemFontOfSize(11), "Helvetica-Bold", 11},
        {UIFont::fontWithName("ArialMT", 30), "ArialMT", 30},
        {UIFont::fontWithName("Arial-BoldMT", 9.5f), "Arial-BoldMT", 9.5f},
        {UIFont::fontWithName("Impact", 100), "Impact", 100},
        {UIFont::fontWithName("Impact", 100)->fontWithSize(20), "Impact", 20},
        {UIFont::fontWithName("Arial", 12), nullptr, 0},
        {UIFont::fontWithName("helvetica", 12), nullptr, 0},
        {UIFont::fontWithName("", 12), nullptr, 0},
        {UIFont::fontWithName("ArialMT", 0), nullptr, 0},
        {UIFont::systemFontOfSize(-1), nullptr, 0},
        {UIFont::boldSystemFontOfSize(std::numeric_limits<CGFloat>::quiet_NaN()), nullptr, 0},
        {UIFont::systemFontOfSize(12)->fontWithSize(0), nullptr, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        if (!c.name) {
            EXPECT_EQ(c.font, nullptr) << i;
            continue;
        }
        ASSERT_NE(c.font, nullptr) << i;
        EXPECT_EQ(c.font->fontName(), c.name);
        EXPECT_EQ(c.font->pointSize(), c.size);
    }
}

TEST(UIFont, MetricsInPointsWithTheDescenderBelowZero)
{
    std::shared_ptr<UIFont> font = UIFont::systemFontOfSize(20);
    // Liberation Sans: 1854 up and 434 down of 2048 units, line gap 67.
    EXPECT_NEAR(font->ascender(), 20 * 1854 / 2048.0, 1e-3);
    EXPECT_NEAR(font->descender(), -20 * 434 / 2048.0, 1e-3);
    EXPECT_NEAR(font->lineHeight(), 20 * (1854 + 434 + 67) / 2048.0, 1e-3);
    EXPECT_NEAR(font->capHeight(), 20 * 1409 / 2048.0, 1e-3);
    EXPECT_NEAR(font->xHeight(), 20 * 1082 / 2048.0, 1e-3);
    std::shared_ptr<UIFont> bigger = font->fontWithSize(40);
    EXPECT_NEAR(bigger->lineHeight(), 2 * font->lineHeight(), 1e-3);
}

}  // namespace
