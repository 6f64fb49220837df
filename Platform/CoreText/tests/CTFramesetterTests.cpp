#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "CTTestSupport.h"

namespace {

constexpr const char* kPangram = "The quick brown fox jumps over the lazy dog";

std::string textOf(CTLineRef line, const std::string& whole)
{
    CFRange r = CTLineGetStringRange(line);
    return whole.substr(size_t(r.location), size_t(r.length));
}

TEST(CTFramesetter, NarrowerConstraintsGrowTheTextByWholeLinesThatItsFrameHolds)
{
    HeldFont arial = font("ArialMT", 12);
    HeldString string = attributed(kPangram, arial.get());
    HeldFramesetter framesetter(CTFramesetterCreateWithAttributedString(string.get()));
    double lineHeight = double(CTFontGetAscent(arial.get())) + CTFontGetDescent(arial.get());
    CGSize single = CTFramesetterSuggestFrameSizeWithConstraints(framesetter.get(), CFRangeMake(0, 0), nullptr,
                                                                 CGSizeMake(FLT_MAX, FLT_MAX), nullptr);
    EXPECT_NEAR(single.height, lineHeight, 1e-3);
    EXPECT_GT(single.width, 200);

    int previousLines = 1;
    for (CGFloat width : {single.width, single.width / 2, single.width / 3, 60.f, 40.f}) {
        CFRange fit;
        CGSize size = CTFramesetterSuggestFrameSizeWithConstraints(framesetter.get(), CFRangeMake(0, 0), nullptr,
                                                                   CGSizeMake(width, FLT_MAX), &fit);
        double lines = size.height / lineHeight;
        EXPECT_NEAR(lines, std::round(lines), 1e-3) << width;
        EXPECT_GE(int(std::round(lines)), previousLines) << width;
        EXPECT_LE(size.width, width) << width;
        EXPECT_EQ(fit.length, CFIndex(std::string(kPangram).size())) << width;
        previousLines = int(std::round(lines));

        // A frame of the suggested size holds those lines, top down, one line height apart.
        HeldFrame frame = frameOf(string.get(), CGRectMake(0, 0, width, std::ceil(size.height)));
        const std::vector<CTLineRef>& frameLines = CTFrameGetLines(frame.get());
        ASSERT_EQ(int(frameLines.size()), previousLines) << width;
        std::vector<CGPoint> origins(frameLines.size());
        CTFrameGetLineOrigins(frame.get(), CFRangeMake(0, 0), origins.data());
        EXPECT_NEAR(origins[0].y, std::ceil(size.height) - CTFontGetAscent(arial.get()), 1e-3);
        std::string joined;
        for (size_t i = 0; i < frameLines.size(); ++i) {
            EXPECT_EQ(origins[i].x, 0);
            if (i > 0) {
                EXPECT_NEAR(origins[i - 1].y - origins[i].y, lineHeight, 1e-3);
            }
            joined += textOf(frameLines[i], kPangram);
        }
        EXPECT_EQ(joined, kPangram);
    }
    EXPECT_GE(previousLines, 6);
}

TEST(CTFramesetter, FramesHoldOnlyWholeLinesAndLineFeedsEndLines)
{
    HeldFont arial = font("ArialMT", 12);
    double lineHeight = double(CTFontGetAscent(arial.get())) + CTFontGetDescent(arial.get());
    double inked = double(CTFontGetAscent(arial.get())) + CTFontGetDescent(arial.get());
    struct Case {
        const char* text;
        double height;
        std::vector<std::string> lines;
    } cases[] = {
        {"ab\ncd\nef", 100, {"ab\n", "cd\n", "ef"}},
        {"ab\ncd\nef", lineHeight + inked, {"ab\n", "cd\n"}},
        {"ab\ncd\nef", lineHeight + inked - 0.1, {"ab\n"}},
        {"ab\ncd\nef", inked - 0.1, {}},
        // A final line feed opens no line of its own; a line feed alone is one empty line.
        {"ab\n", 100, {"ab\n"}},
        {"\n", 100, {"\n"}},
        {"ab\n\ncd", 100, {"ab\n", "\n", "cd"}},
        {"", 100, {}},
    };
    for (const Case& c : cases) {
        HeldFrame frame = frameOf(attributed(c.text, arial.get()).get(), CGRectMake(10, 20, 200, CGFloat(c.height)));
        std::vector<std::string> lines;
        for (CTLineRef line : CTFrameGetLines(frame.get())) lines.push_back(textOf(line, c.text));
        EXPECT_EQ(lines, c.lines) << c.text << " in " << c.height;
    }
}

TEST(CTFramesetter, RightToLeftParagraphsStartAtTheRightEdge)
{
    HeldFont arial = font("ArialMT", 16);
    HeldFrame frame = frameOf(attributed("\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD\nLatin", arial.get()).get(),
                              CGRectMake(0, 0, 200, 100));
    const std::vector<CTLineRef>& lines = CTFrameGetLines(frame.get());
    ASSERT_EQ(lines.size(), 2u);
    CGPoint origins[2];
    CTFrameGetLineOrigins(frame.get(), CFRangeMake(0, 0), origins);
    double hebrew = CTLineGetTypographicBounds(lines[0], nullptr, nullptr, nullptr);
    EXPECT_GT(hebrew, 40);
    EXPECT_NEAR(origins[0].x + hebrew, 200, 1e-3);
    EXPECT_EQ(origins[1].x, 0);
    // The Hebrew has ink: some face of ours has its letters.
    EXPECT_FALSE(CGRectIsNull(CTLineGetImageBounds(lines[0], nullptr)));
}

TEST(CTFramesetter, LineBreakModesOfTheParagraphStyle)
{
    HeldFont arial = font("ArialMT", 12);
    // Digits: one advance each and no kerning, so a part measures the same inside the line.
    const std::string text = "12345 67890";
    double sevenDigits = CTLineGetTypographicBounds(lineOf("12345 67", arial.get()).get(), nullptr, nullptr, nullptr);
    double fiveDigits = CTLineGetTypographicBounds(lineOf("12345", arial.get()).get(), nullptr, nullptr, nullptr);
    struct Case {
        CTLineBreakMode mode;
        double width;
        std::vector<std::string> lines;
    } cases[] = {
        {kCTLineBreakByWordWrapping, sevenDigits + 0.5, {"12345 ", "67890"}},
        {kCTLineBreakByCharWrapping, sevenDigits + 0.5, {"12345 67", "890"}},
        // A word longer than the line breaks between characters when wrapping by words.
        {kCTLineBreakByWordWrapping, fiveDigits - 1, {"1234", "5 ", "6789", "0"}},
        {kCTLineBreakByClipping, fiveDigits - 1, {"12345 67890"}},
    };
    for (const Case& c : cases) {
        HeldString string = attributed(text, arial.get());
        CTParagraphStyleSetting setting{kCTParagraphStyleSpecifierLineBreakMode, sizeof(CTLineBreakMode), &c.mode};
        CTParagraphStyleRef style = CTParagraphStyleCreate(&setting, 1);
        CFAttributedStringSetAttribute(string.get(), CFRangeMake(0, CFIndex(text.size())),
                                       kCTParagraphStyleAttributeName, style);
        CFRelease(style);
        HeldFrame frame = frameOf(string.get(), CGRectMake(0, 0, CGFloat(c.width), 200));
        std::vector<std::string> lines;
        for (CTLineRef line : CTFrameGetLines(frame.get())) {
            lines.push_back(textOf(line, text));
            // Nothing is added where a word breaks (no hyphen).
            HeldLine alone = lineOf(lines.back(), arial.get());
            EXPECT_DOUBLE_EQ(CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr) -
                                 CTLineGetTrailingWhitespaceWidth(line),
                             CTLineGetTypographicBounds(alone.get(), nullptr, nullptr, nullptr) -
                                 CTLineGetTrailingWhitespaceWidth(alone.get()));
        }
        EXPECT_EQ(lines, c.lines) << int(c.mode);
    }
}

TEST(CTFramesetter, TruncatingParagraphsKeepOneLineCutToTheWidth)
{
    HeldFont arial = font("ArialMT", 12);
    HeldString string = attributed("The quick brown fox\njumps over the lazy dog", arial.get());
    CTLineBreakMode mode = kCTLineBreakByTruncatingTail;
    CTParagraphStyleSetting setting{kCTParagraphStyleSpecifierLineBreakMode, sizeof mode, &mode};
    CTParagraphStyleRef style = CTParagraphStyleCreate(&setting, 1);
    CFAttributedStringSetAttribute(string.get(), CFRangeMake(0, CFAttributedStringGetLength(string.get())),
                                   kCTParagraphStyleAttributeName, style);
    CFRelease(style);
    HeldFrame frame = frameOf(string.get(), CGRectMake(0, 0, 70, 200));
    ASSERT_EQ(CTFrameGetLines(frame.get()).size(), 2u);
    for (CTLineRef line : CTFrameGetLines(frame.get())) {
        double width = CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr);
        EXPECT_LE(width, 70);
        EXPECT_GT(width, 50);
    }
}

TEST(CTFramesetter, LinesTakeTheTallestFontAndFramesCopyTheirString)
{
    HeldFont small = font("ArialMT", 12), big = font("Impact", 30);
    HeldString string = attributed("small BIG", small.get());
    CFAttributedStringSetAttribute(string.get(), CFRangeMake(6, 3), kCTFontAttributeName, big.get());
    HeldFramesetter framesetter(CTFramesetterCreateWithAttributedString(string.get()));
    // Later changes to the string do not reach the framesetter.
    CFAttributedStringReplaceString(string.get(), CFRangeMake(0, 9), "x");
    CGPathRef path = CGPathCreateWithRect(CGRectMake(0, 0, 300, 100), nullptr);
    HeldFrame frame(CTFramesetterCreateFrame(framesetter.get(), CFRangeMake(0, 0), path, nullptr));
    CGPathRelease(path);
    ASSERT_EQ(CTFrameGetLines(frame.get()).size(), 1u);
    CTLineRef line = CTFrameGetLines(frame.get())[0];
    CGFloat ascent, descent, leading;
    CTLineGetTypographicBounds(line, &ascent, &descent, &leading);
    EXPECT_EQ(ascent, CTFontGetAscent(big.get()));
    EXPECT_EQ(descent, CTFontGetDescent(big.get()));
    EXPECT_EQ(leading, 0);
    EXPECT_EQ(CTLineGetStringRange(line).length, 9);
}

}  // namespace
