#include <gtest/gtest.h>

#include <string>

#include "CTTestSupport.h"
#include "Foundation/NSStringUTF16.h"

namespace {

bool isLowSurrogateStart(const std::string& text, CFIndex utf16)
{
    // A UTF-16 index is inside a pair when turning it into bytes and back does not give it again.
    size_t byte = NSStringUTF8OffsetForUTF16Index(text, NSUInteger(utf16));
    return CFIndex(NSStringUTF16IndexForUTF8Offset(text, byte)) != utf16;
}

TEST(CTIndexes, RangesCountUTF16UnitsAndNeverSplitACharacter)
{
    struct Case {
        const char* name;
        std::string text;
        CFIndex utf16Length;
    } cases[] = {
        {"mark and emoji", "Cafe\u0301 \U0001F600 \u05E9\u05DC\u05D5\u05DD", 13},
        {"arabic", "\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645", 13},
        {"emoji wrapped", "\U0001F600\U0001F600 \U0001F600\U0001F600 \U0001F600\U0001F600 \U0001F600\U0001F600", 19},
        {"invalid",
         "ab\xff\xfe"
         "cd",
         6},
    };
    HeldFont arial = font("ArialMT", 20);
    for (const Case& c : cases) {
        HeldString s = attributed(c.text, arial.get());
        const std::string& stored = CFAttributedStringGetString(s.get());
        EXPECT_EQ(CFAttributedStringGetLength(s.get()), c.utf16Length) << c.name;
        for (CGFloat width : {1000.f, 40.f}) {
            HeldFrame frame = frameOf(s.get(), CGRectMake(0, 0, width, 1000));
            CFRange visible = CTFrameGetVisibleStringRange(frame.get());
            EXPECT_EQ(visible.length, c.utf16Length) << c.name << " " << width;  // all of it fits
            CFIndex next = visible.location;
            for (CTLineRef line : CTFrameGetLines(frame.get())) {
                CFRange r = CTLineGetStringRange(line);
                EXPECT_EQ(r.location, next) << c.name << " " << width;
                EXPECT_FALSE(isLowSurrogateStart(stored, r.location)) << c.name;
                for (const CTGlyphRunInfo& run : CTLineGetGlyphRuns(line)) {
                    EXPECT_FALSE(isLowSurrogateStart(stored, run.range.location)) << c.name;
                    EXPECT_GE(run.range.location, r.location) << c.name;
                    EXPECT_LE(run.range.location + run.range.length, r.location + r.length) << c.name;
                }
                next = r.location + r.length;
            }
            EXPECT_EQ(next, visible.location + visible.length) << c.name << " " << width;
        }
        // The helpers round-trip at every character boundary.
        for (CFIndex i = 0; i <= c.utf16Length; ++i) {
            size_t byte = NSStringUTF8OffsetForUTF16Index(stored, NSUInteger(i));
            if (!isLowSurrogateStart(stored, i)) {
                EXPECT_EQ(CFIndex(NSStringUTF16IndexForUTF8Offset(stored, byte)), i);
            }
        }
    }
}

TEST(CTIndexes, AMarkStaysWithItsBaseWhenLinesWrap)
{
    HeldFont arial = font("ArialMT", 20);
    // Narrower than one character: every line holds one user-perceived character.
    HeldFrame frame = frameOf(attributed("e\u0301e\u0301e\u0301", arial.get()).get(), CGRectMake(0, 0, 5, 1000));
    std::vector<CFIndex> starts;
    for (CTLineRef line : CTFrameGetLines(frame.get())) starts.push_back(CTLineGetStringRange(line).location);
    EXPECT_EQ(starts, (std::vector<CFIndex>{0, 2, 4}));
}

TEST(CTIndexes, AttributesOverAPairsSecondHalfStartAtThePair)
{
    HeldFont arial = font("ArialMT", 20), impact = font("Impact", 20);
    HeldString s = attributed("a\U0001F600b", arial.get());
    ASSERT_EQ(CFAttributedStringGetLength(s.get()), 4);
    CFAttributedStringSetAttribute(s.get(), CFRangeMake(2, 2), kCTFontAttributeName, impact.get());
    CFRange r;
    EXPECT_EQ(CFAttributedStringGetAttribute(s.get(), 1, kCTFontAttributeName, &r), impact.get());
    EXPECT_EQ(r.location, 1);
    EXPECT_EQ(r.length, 3);
}

}  // namespace
