// Carets of a line: where the caret for an index stands, and which index a point's x is nearest,
// as a text field places its cursor and answers a tap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CTTestSupport.h"

namespace {

double widthOf(CTLineRef line)
{
    return CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr) - CTLineGetTrailingWhitespaceWidth(line);
}

TEST(CTLineCarets, StandAtCharacterEdgesFromTheLineStartToItsEnd)
{
    HeldFont arial = font("ArialMT", 30);
    struct Case {
        const char* text;
        std::vector<CFIndex> carets;  // UTF-16 indices, in order
    };
    const Case cases[] = {
        {"hello", {0, 1, 2, 3, 4, 5}},
        {"a\U0001F600b", {0, 1, 3, 4}},            // the surrogate pair is one character
        {"ce\u0301x", {0, 1, 3, 4}},               // a letter and its mark
        {"x\U0001F44D\U0001F3FDy", {0, 1, 5, 6}},  // an emoji with its skin tone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        HeldLine line = lineOf(c.text, arial.get());
        double last = -1;
        for (CFIndex caret : c.carets) {
            const CGFloat x = CTLineGetOffsetForStringIndex(line.get(), caret, nullptr);
            EXPECT_GT(x, last) << caret;
            last = x;
            // A point at the caret answers it.
            EXPECT_EQ(CTLineGetStringIndexForPosition(line.get(), CGPointMake(x + 0.5f, 0)), caret);
        }
        EXPECT_NEAR(last, widthOf(line.get()), 0.01);
        // Inside a character the caret before it stands.
        for (std::size_t i = 0; i + 1 < c.carets.size(); ++i)
            for (CFIndex inside = c.carets[i] + 1; inside < c.carets[i + 1]; ++inside)
                EXPECT_EQ(CTLineGetOffsetForStringIndex(line.get(), inside, nullptr),
                          CTLineGetOffsetForStringIndex(line.get(), c.carets[i], nullptr));
        // Outside the line: its ends.
        EXPECT_EQ(CTLineGetStringIndexForPosition(line.get(), CGPointMake(-40, 0)), 0);
        EXPECT_EQ(CTLineGetStringIndexForPosition(line.get(), CGPointMake(1000, 0)), c.carets.back());
        EXPECT_EQ(CTLineGetOffsetForStringIndex(line.get(), 99, nullptr), CGFloat(last));
    }
}

TEST(CTLineCarets, ALineEndingInALineFeedAnswersTheIndexBeforeIt)
{
    HeldFont arial = font("ArialMT", 30);
    HeldString text = attributed("ab\ncde", arial.get());
    HeldFrame frame = frameOf(text.get(), CGRectMake(0, 0, 400, 200));
    const std::vector<CTLineRef>& lines = CTFrameGetLines(frame.get());
    ASSERT_EQ(lines.size(), 2u);
    HeldLine ab = lineOf("ab", arial.get());
    CGFloat secondary = -1;
    EXPECT_NEAR(CTLineGetOffsetForStringIndex(lines[0], 2, &secondary), widthOf(ab.get()), 0.01);
    EXPECT_EQ(secondary, CTLineGetOffsetForStringIndex(lines[0], 2, nullptr));
    EXPECT_EQ(CTLineGetOffsetForStringIndex(lines[0], 3, nullptr), CTLineGetOffsetForStringIndex(lines[0], 2, nullptr));
    EXPECT_EQ(CTLineGetStringIndexForPosition(lines[0], CGPointMake(1000, 0)), 2) << "before the line feed";
    EXPECT_EQ(CTLineGetStringIndexForPosition(lines[1], CGPointMake(1000, 0)), 6) << "the line's end";
    EXPECT_EQ(CTLineGetStringIndexForPosition(lines[1], CGPointMake(-5, 0)), 3) << "the line's first index";
    EXPECT_EQ(CTLineGetOffsetForStringIndex(lines[1], 3, nullptr), 0);

    HeldLine empty = lineOf("", arial.get());
    EXPECT_EQ(CTLineGetStringIndexForPosition(empty.get(), CGPointMake(0, 0)), kCFNotFound);
}

TEST(CTLineCarets, RightToLeftTextStartsAtTheRightEnd)
{
    HeldFont arial = font("ArialMT", 30);
    HeldLine line = lineOf("\u0645\u0631\u062d\u0628\u0627", arial.get());
    const CGFloat first = CTLineGetOffsetForStringIndex(line.get(), 0, nullptr);
    const CGFloat last = CTLineGetOffsetForStringIndex(line.get(), 5, nullptr);
    EXPECT_NEAR(first, widthOf(line.get()), 0.01);
    EXPECT_NEAR(last, 0, 0.01);
    EXPECT_EQ(CTLineGetStringIndexForPosition(line.get(), CGPointMake(1000, 0)), 0);
    EXPECT_EQ(CTLineGetStringIndexForPosition(line.get(), CGPointMake(-5, 0)), 5);
}

TEST(CTFontUIFont, TheSystemFontIsUIFontsFace)
{
    HeldFont system(CTFontCreateUIFontForLanguage(kCTFontUIFontSystem, 30, ""));
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(CTFontCopyPostScriptName(system.get()), "Helvetica");
    EXPECT_EQ(CTFontCopyFullName(system.get()), "Liberation Sans");
    EXPECT_EQ(CTFontGetSize(system.get()), 30);
    HeldFont bold(CTFontCreateUIFontForLanguage(kCTFontUIFontEmphasizedSystem, 0, "pt"));
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(CTFontCopyFullName(bold.get()), "Liberation Sans Bold");
    EXPECT_EQ(CTFontGetSize(bold.get()), 12);
    EXPECT_EQ(CTFontCreateUIFontForLanguage(CTFontUIFontType(7), 30, ""), nullptr);
}

}  // namespace

// A text of twenty thousand characters, on one line and wrapped into hundreds: every caret is
// there in order, each line's last at its width, and the UTF-16 indices count the emoji's pairs.
// Laid out caret by caret from the text's start this took minutes; each layout walks it once.
TEST(CTLineCarets, ALongTextHasEveryCaretInOrder)
{
    HeldFont arial = font("ArialMT", 30);
    std::string text;
    for (int i = 0; i < 2000; ++i) text += i % 10 == 9 ? "ab \U0001F600 cd\u0301 " : "Wxyz abcd ";
    HeldLine line = lineOf(text, arial.get());
    const CFRange range = CTLineGetStringRange(line.get());
    EXPECT_EQ(range.length, 2000 * 10);  // ten UTF-16 units a group, the emoji's pair counted
    const CGFloat end = CTLineGetOffsetForStringIndex(line.get(), range.length, nullptr);
    EXPECT_NEAR(end, CTLineGetTypographicBounds(line.get(), nullptr, nullptr, nullptr), 0.01);
    CGFloat last = -1;
    for (CFIndex i = 0; i < 40; ++i) {  // "Wxyz abcd " four times: ten carets a word pair
        const CGFloat x = CTLineGetOffsetForStringIndex(line.get(), i, nullptr);
        EXPECT_GT(x, last) << i;
        last = x;
    }
    // The emoji's second unit and the mark share the caret before them.
    auto caret = [&](CFIndex i) { return CTLineGetOffsetForStringIndex(line.get(), i, nullptr); };
    for (CFIndex group : {CFIndex(90), CFIndex(19990)}) {
        const CFIndex emoji = group + 3, d = group + 7;
        EXPECT_EQ(caret(emoji + 1), caret(emoji));
        EXPECT_GT(caret(emoji + 2), caret(emoji));
        EXPECT_EQ(caret(d + 1), caret(d));
        EXPECT_GT(caret(d + 2), caret(d));
    }

    HeldString string = attributed(text, arial.get());
    HeldFrame frame = frameOf(string.get(), CGRectMake(0, 0, 300, 1e6));
    const std::vector<CTLineRef>& lines = CTFrameGetLines(frame.get());
    ASSERT_GT(lines.size(), 500u);
    CFIndex next = 0;
    for (CTLineRef wrapped : lines) {
        const CFRange r = CTLineGetStringRange(wrapped);
        ASSERT_EQ(r.location, next);
        next = r.location + r.length;
        const double visible = CTLineGetTypographicBounds(wrapped, nullptr, nullptr, nullptr) -
                               CTLineGetTrailingWhitespaceWidth(wrapped);
        EXPECT_LE(visible, 300.01);
        EXPECT_EQ(CTLineGetOffsetForStringIndex(wrapped, r.location, nullptr), 0);
        EXPECT_EQ(CTLineGetStringIndexForPosition(wrapped, CGPointMake(1, 0)), r.location);
    }
    EXPECT_EQ(next, range.length);
}
