#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CTTestSupport.h"

namespace {

constexpr const char* kParagraph =
    "Lines break at words and wrap inside the rectangle until the text runs out or the height does";

struct Laid {
    HeldFrame frame;
    std::vector<CGPoint> origins;
    const std::vector<CTLineRef>& lines() const { return CTFrameGetLines(frame.get()); }
};

Laid layOut(std::string_view text, CTFontRef f, CGRect rect)
{
    Laid laid{frameOf(attributed(text, f).get(), rect), {}};
    laid.origins.resize(laid.lines().size());
    CTFrameGetLineOrigins(laid.frame.get(), CFRangeMake(0, 0), laid.origins.data());
    return laid;
}

TEST(CTFrameGeometry, OnlyWholeLinesBelongAndOriginsStepByTheLineHeight)
{
    HeldFont arial = font("ArialMT", 20);
    const double lineHeight = double(CTFontGetAscent(arial.get())) + CTFontGetDescent(arial.get());
    struct Case {
        double heightInLines;
        size_t lines;
    } cases[] = {{3.5, 3}, {3.0, 3}, {2.99, 2}, {0.9, 0}, {100, 5}};
    for (const Case& c : cases) {
        CGRect rect = CGRectMake(7, 11, 200, CGFloat(c.heightInLines * lineHeight));
        Laid laid = layOut(kParagraph, arial.get(), rect);
        ASSERT_EQ(laid.lines().size(), c.lines) << c.heightInLines;
        CFRange visible = CTFrameGetVisibleStringRange(laid.frame.get());
        EXPECT_EQ(visible.location, 0);
        if (c.lines == 0) {
            EXPECT_EQ(visible.length, 0);
            continue;
        }
        CFRange last = CTLineGetStringRange(laid.lines().back());
        EXPECT_EQ(visible.length, last.location + last.length) << c.heightInLines;
        // From the rectangle's lower left, y up: the first baseline an ascent below the top.
        EXPECT_NEAR(laid.origins[0].y, rect.size.height - CTFontGetAscent(arial.get()), 1e-3);
        for (size_t i = 1; i < laid.origins.size(); ++i)
            EXPECT_NEAR(laid.origins[i - 1].y - laid.origins[i].y, lineHeight, 1e-3);
    }
}

TEST(CTFrameGeometry, CentredPenOffsetsPutEveryLineOnTheCentre)
{
    HeldFont arial = font("ArialMT", 17);
    CGRect rect = CGRectMake(30, 40, 180, 400);
    Laid laid = layOut(std::string(kParagraph) + "   \nshort\n", arial.get(), rect);
    ASSERT_GE(laid.lines().size(), 4u);
    for (size_t i = 0; i < laid.lines().size(); ++i) {
        CTLineRef line = laid.lines()[i];
        double visible =
            CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr) - CTLineGetTrailingWhitespaceWidth(line);
        double x = laid.origins[i].x + CTLineGetPenOffsetForFlush(line, 0.5f, rect.size.width);
        EXPECT_NEAR(x + visible / 2, rect.size.width / 2, 0.5) << i;
    }
    // A line wider than the rectangle gets no negative offset.
    HeldLine wide = lineOf(kParagraph, arial.get());
    EXPECT_EQ(CTLineGetPenOffsetForFlush(wide.get(), 0.5f, 50), 0);
}

TEST(CTFrameGeometry, ATrailingLineFeedOpensNoLineAndBelongsToTheLastOne)
{
    HeldFont arial = font("ArialMT", 20);
    for (const char* text : {"one\ntwo\n", "one\ntwo"}) {
        Laid laid = layOut(text, arial.get(), CGRectMake(0, 0, 300, 300));
        ASSERT_EQ(laid.lines().size(), 2u) << text;
        CFRange last = CTLineGetStringRange(laid.lines()[1]);
        EXPECT_EQ(last.location + last.length, CFIndex(std::string(text).size())) << text;
    }
}

TEST(CTFrameGeometry, RightToLeftLinesSitFlushRightAndTheMultiplierCentresThem)
{
    HeldFont arial = font("ArialMT", 20);
    CGRect rect = CGRectMake(0, 0, 300, 200);
    Laid laid = layOut("\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD", arial.get(), rect);
    ASSERT_EQ(laid.lines().size(), 1u);
    CTLineRef line = laid.lines()[0];
    double width = CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr);
    EXPECT_NEAR(laid.origins[0].x, rect.size.width - width, 1e-3);
    double x = laid.origins[0].x - CTLineGetPenOffsetForFlush(line, 0.5f, rect.size.width);
    EXPECT_NEAR(x + width / 2, rect.size.width / 2, 0.5);
}

}  // namespace
