#include "Foundation/NSStringUTF16.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

// Failures print ranges as the platform writes them.
void PrintTo(const NSRange& range, std::ostream* out)
{
    *out << "{" << range.location << ", " << range.length << "}";
}

namespace {

// Each text with the UTF-16 index where every user-perceived character starts, then its length.
struct TextCase {
    const char* name;
    std::string text;
    std::vector<NSUInteger> boundaries;
};

const std::vector<TextCase>& textCases()
{
    static const std::vector<TextCase> cases = {
        {"empty", "", {0}},
        {"ASCII", "Tessel", {0, 1, 2, 3, 4, 5, 6}},
        {"precomposed accent", "caf\u00E9", {0, 1, 2, 3, 4}},
        {"combining accent", "cafe\u0301", {0, 1, 2, 3, 5}},
        {"two marks on one base", "a\u0301\u0323b", {0, 3, 4}},
        {"CR LF", "a\r\nb", {0, 1, 3, 4}},
        {"CJK", "\u6F22\u5B57", {0, 1, 2}},
        {"CJK outside the BMP", "\U00020BB7\u91CE", {0, 2, 3}},
        {"Hangul jamo", "\u1112\u1161\u11AB", {0, 3}},
        {"emoji with skin tone", "\U0001F44D\U0001F3FD", {0, 4}},
        {"emoji ZWJ family", "\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466", {0, 11}},
        {"two flags", "\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA", {0, 4, 8}},
        {"flag and a lone regional indicator", "\U0001F1EB\U0001F1F7\U0001F1E9", {0, 4, 6}},
        {"variation selector", "\u2764\uFE0F!", {0, 2, 3}},
        {"keycap", "1\uFE0F\u20E3", {0, 3}},
        {"Hebrew with points", "\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD", {0, 3, 4, 6, 7}},
        {"Arabic with vowel marks", "\u0628\u0650\u0633\u0652\u0645\u0650", {0, 2, 4, 6}},
        {"left-to-right and right-to-left", "ab \u05D0\u05D1 12", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"NUL inside", std::string("a\0b", 3), {0, 1, 2, 3}},
        // Ill-formed UTF-8: every maximal ill-formed subpart is one unit, as U+FFFD would be.
        {"stray byte",
         "a\xFF"
         "b",
         {0, 1, 2, 3}},
        {"sequence cut short",
         "\xE2\x82"
         "x",
         {0, 1, 2}},
        {"encoded surrogate", "\xED\xA0\x80", {0, 1, 2, 3}},
        {"overlong slash", "\xC0\xAF", {0, 1, 2}},
        {"four-byte sequence cut at the end", "a\xF0\x9F\x98", {0, 1, 2}},
        {"combining mark on a stray byte", "\x80\u0301", {0, 2}},
    };
    return cases;
}

TEST(NSStringUTF16Test, LengthsAndComposedCharacterSequences)
{
    for (const TextCase& c : textCases()) {
        SCOPED_TRACE(c.name);
        const NSUInteger length = c.boundaries.back();
        EXPECT_EQ(NSStringUTF16Length(c.text), length);
        for (size_t j = 0; j + 1 < c.boundaries.size(); ++j) {
            const NSRange expected = NSMakeRange(c.boundaries[j], c.boundaries[j + 1] - c.boundaries[j]);
            for (NSUInteger i = c.boundaries[j]; i < c.boundaries[j + 1]; ++i)
                EXPECT_EQ(NSStringRangeOfComposedCharacterSequenceAtIndex(c.text, i), expected) << "at " << i;
        }
        for (NSUInteger past : {length, length + 7, std::numeric_limits<NSUInteger>::max()})
            EXPECT_EQ(NSStringRangeOfComposedCharacterSequenceAtIndex(c.text, past), NSMakeRange(length, 0));
    }
}

TEST(NSStringUTF16Test, OffsetsConvertBothWaysAndSplitsJoinBackExactly)
{
    for (const TextCase& c : textCases()) {
        SCOPED_TRACE(c.name);
        const NSUInteger length = c.boundaries.back();
        std::string joined;
        for (size_t j = 0; j + 1 < c.boundaries.size(); ++j) {
            const NSUInteger start = c.boundaries[j];
            const size_t offset = NSStringUTF8OffsetForUTF16Index(c.text, start);
            EXPECT_EQ(NSStringUTF16IndexForUTF8Offset(c.text, offset), start);
            joined += NSStringSubstringWithUTF16Range(c.text, NSMakeRange(start, c.boundaries[j + 1] - start));
        }
        EXPECT_EQ(joined, c.text);
        // Any split point, even inside a surrogate pair or past the end, loses and repeats nothing.
        for (NSUInteger k = 0; k <= length + 2; ++k) {
            const std::string head = NSStringSubstringWithUTF16Range(c.text, NSMakeRange(0, k));
            const std::string tail =
                NSStringSubstringWithUTF16Range(c.text, NSMakeRange(k, std::numeric_limits<NSUInteger>::max()));
            EXPECT_EQ(head + tail, c.text) << "split at " << k;
        }
        EXPECT_EQ(NSStringUTF8OffsetForUTF16Index(c.text, length), c.text.size());
        EXPECT_EQ(NSStringUTF8OffsetForUTF16Index(c.text, length + 1), c.text.size());
        EXPECT_EQ(NSStringUTF16IndexForUTF8Offset(c.text, c.text.size()), length);
        EXPECT_EQ(NSStringUTF16IndexForUTF8Offset(c.text, c.text.size() + 5), length);
    }
}

TEST(NSStringUTF16Test, PositionsInsideACharacterMeanItsStart)
{
    // "a", then U+1F600 (UTF-16 units 1 and 2, bytes 1 to 4), then "b" and U+00E9 (bytes 6, 7).
    const std::string text = "a\U0001F600b\u00E9";
    struct Case {
        NSUInteger index;
        size_t offset;
    };
    for (const Case& c : std::vector<Case>{{0, 0}, {1, 1}, {2, 1}, {3, 5}, {4, 6}, {5, 8}})
        EXPECT_EQ(NSStringUTF8OffsetForUTF16Index(text, c.index), c.offset) << "index " << c.index;
    for (const Case& c : std::vector<Case>{{0, 0}, {1, 1}, {1, 2}, {1, 4}, {3, 5}, {4, 6}, {4, 7}, {5, 8}})
        EXPECT_EQ(NSStringUTF16IndexForUTF8Offset(text, c.offset), c.index) << "offset " << c.offset;

    EXPECT_EQ(NSStringSubstringWithUTF16Range(text, NSMakeRange(0, 2)), "a");
    EXPECT_EQ(NSStringSubstringWithUTF16Range(text, NSMakeRange(2, 2)), "\U0001F600b");
    EXPECT_EQ(NSStringSubstringWithUTF16Range(text, NSMakeRange(3, 100)), "b\u00E9");
    EXPECT_EQ(NSStringSubstringWithUTF16Range(text, NSMakeRange(9, 1)), "");
    EXPECT_EQ(NSStringRangeOfComposedCharacterSequenceAtIndex(text, 2), NSMakeRange(1, 2));
}

}  // namespace
