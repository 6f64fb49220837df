#include <gtest/gtest.h>

#include <string>

#include "CTTestSupport.h"

namespace {

double widthOf(CTLineRef line)
{
    return CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr);
}

// Characters of `text` counted from the front (head) and back (tail), the rest replaced by "…".
std::string kept(const std::string& text, size_t head, size_t tail)
{
    std::string h = text.substr(0, head), t = text.substr(text.size() - tail);
    while (!h.empty() && h.back() == ' ') h.pop_back();
    while (!t.empty() && t.front() == ' ') t.erase(0, 1);
    return h + "\u2026" + t;
}

TEST(CTLine, TruncationKeepsTheMostTextThatFitsWithTheEllipsis)
{
    HeldFont arial = font("ArialMT", 12);
    const std::string text = "The quick brown fox jumps over";
    HeldLine line = lineOf(text, arial.get());
    struct Case {
        CTLineTruncationType type;
        double width;
    } cases[] = {
        {kCTLineTruncationEnd, 80},   {kCTLineTruncationEnd, 33.3},  {kCTLineTruncationStart, 80},
        {kCTLineTruncationStart, 45}, {kCTLineTruncationMiddle, 80}, {kCTLineTruncationMiddle, 120},
    };
    for (const Case& c : cases) {
        HeldLine cut(CTLineCreateTruncatedLine(line.get(), c.width, c.type, nullptr));
        ASSERT_NE(cut, nullptr);
        // By trying every split: the widest arrangement of the kind within the width.
        double best = -1;
        for (size_t n = 0; n <= text.size(); ++n) {
            size_t head = c.type == kCTLineTruncationEnd ? n : c.type == kCTLineTruncationStart ? 0 : (n + 1) / 2;
            double w = widthOf(lineOf(kept(text, head, n - head), arial.get()).get());
            if (w <= c.width) best = std::max(best, w);
        }
        EXPECT_DOUBLE_EQ(widthOf(cut.get()), best) << int(c.type) << " " << c.width;
        EXPECT_LE(widthOf(cut.get()), c.width);
        EXPECT_EQ(CTLineGetStringRange(cut.get()).length, CFIndex(text.size()));
    }
}

TEST(CTLine, TruncationLeavesLinesThatFitAndRefusesWidthsBelowTheToken)
{
    HeldFont arial = font("ArialMT", 12);
    HeldLine line = lineOf("Hello ", arial.get());
    // Its trailing space may hang past the width.
    double visible = widthOf(line.get()) - CTLineGetTrailingWhitespaceWidth(line.get());
    HeldLine same(CTLineCreateTruncatedLine(line.get(), visible, kCTLineTruncationEnd, nullptr));
    EXPECT_EQ(same.get(), line.get());
    HeldLine token = lineOf("...", arial.get());
    EXPECT_EQ(CTLineCreateTruncatedLine(line.get(), widthOf(token.get()) - 0.01, kCTLineTruncationEnd, token.get()),
              nullptr);
    HeldLine withToken(CTLineCreateTruncatedLine(line.get(), 20, kCTLineTruncationEnd, token.get()));
    ASSERT_NE(withToken, nullptr);
    EXPECT_DOUBLE_EQ(widthOf(withToken.get()), widthOf(lineOf("H...", arial.get()).get()));
}

TEST(CTLine, WidthsScaleWithTheSizeUnhinted)
{
    // Hinted metrics would round each advance to whole units at each size.
    const char* text = "Illuminating fill";
    double base = widthOf(lineOf(text, font("ArialMT", 10).get()).get());
    for (CGFloat size : {7.f, 13.3f, 31.f}) {
        double w = widthOf(lineOf(text, font("ArialMT", size).get()).get());
        EXPECT_NEAR(w, base * size / 10, 0.02) << size;  // advances are kept in 1/1024 units
    }
}

TEST(CTLine, PenOffsetForFlushIgnoresTrailingWhiteSpace)
{
    HeldFont arial = font("ArialMT", 12);
    HeldLine plain = lineOf("centre", arial.get()), spaced = lineOf("centre   ", arial.get());
    double w = widthOf(plain.get());
    EXPECT_GT(CTLineGetTrailingWhitespaceWidth(spaced.get()), 5);
    EXPECT_DOUBLE_EQ(widthOf(spaced.get()), w + CTLineGetTrailingWhitespaceWidth(spaced.get()));
    for (CTLineRef line : {plain.get(), spaced.get()}) {
        EXPECT_NEAR(CTLineGetPenOffsetForFlush(line, 0.5f, 100), (100 - w) / 2, 1e-9);
        EXPECT_NEAR(CTLineGetPenOffsetForFlush(line, 1, 100), 100 - w, 1e-9);
        EXPECT_EQ(CTLineGetPenOffsetForFlush(line, 0, 100), 0);
        EXPECT_EQ(CTLineGetPenOffsetForFlush(line, 0.5f, w / 2), 0);
    }
}

TEST(CTLine, LineFeedsTakeNoRoomOnOneLineAndInkSitsOnTheBaseline)
{
    HeldFont arial = font("ArialMT", 20);
    EXPECT_DOUBLE_EQ(widthOf(lineOf("ab\ncd", arial.get()).get()), widthOf(lineOf("abcd", arial.get()).get()));
    HeldLine empty = lineOf("\n", arial.get());
    CGFloat ascent = 0;
    EXPECT_EQ(CTLineGetTypographicBounds(empty.get(), &ascent, nullptr, nullptr), 0);
    EXPECT_EQ(ascent, CTFontGetAscent(arial.get()));  // a line with no glyph keeps its font's height
    EXPECT_TRUE(CGRectIsNull(CTLineGetImageBounds(empty.get(), nullptr)));

    // "x" stands on the baseline up to the x-height; "g" goes below it.
    CGRect x = CTLineGetImageBounds(lineOf("x", arial.get()).get(), nullptr);
    EXPECT_NEAR(x.origin.y, 0, 0.05);
    EXPECT_NEAR(x.origin.y + x.size.height, CTFontGetXHeight(arial.get()), 0.05);
    CGRect g = CTLineGetImageBounds(lineOf("g", arial.get()).get(), nullptr);
    EXPECT_LT(g.origin.y, -3);
}

}  // namespace
