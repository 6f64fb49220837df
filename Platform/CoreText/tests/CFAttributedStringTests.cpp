#include <gtest/gtest.h>

#include "CTTestSupport.h"
#include "Foundation/NSLogCapture.h"

namespace {

struct Span {
    CFIndex from, to;
    const void* value;
    bool operator==(const Span&) const = default;
};

// The string's runs of one attribute, walked with the effective ranges.
std::vector<Span> spansOf(CFAttributedStringRef s, CFStringRef name)
{
    std::vector<Span> spans;
    for (CFIndex at = 0; at < CFAttributedStringGetLength(s);) {
        CFRange r;
        const void* v = CFAttributedStringGetAttribute(s, at, name, &r);
        spans.push_back({r.location, r.location + r.length, v});
        at = r.location + r.length;
    }
    return spans;
}

TEST(CFAttributedString, AttributesFollowReplacementsAndKeepTheirOwnRanges)
{
    HeldFont a = font("ArialMT", 12), b = font("Impact", 20);
    CGColorRef red = rgbColor(1, 0, 0, 1);
    HeldString s = attributed("hello world", a.get());
    CFAttributedStringSetAttribute(s.get(), CFRangeMake(6, 5), kCTFontAttributeName, b.get());
    CFAttributedStringSetAttribute(s.get(), CFRangeMake(3, 5), kCTForegroundColorAttributeName, red);
    CGColorRelease(red);  // the string holds its own reference
    EXPECT_EQ(spansOf(s.get(), kCTFontAttributeName), (std::vector<Span>{{0, 6, a.get()}, {6, 11, b.get()}}));
    EXPECT_EQ(
        spansOf(s.get(), kCTForegroundColorAttributeName),
        (std::vector<Span>{{0, 3, nullptr},
                           {3, 8, CFAttributedStringGetAttribute(s.get(), 3, kCTForegroundColorAttributeName, nullptr)},
                           {8, 11, nullptr}}));
    EXPECT_NE(CFAttributedStringGetAttribute(s.get(), 3, kCTForegroundColorAttributeName, nullptr), nullptr);

    // Replaced text takes the first replaced character's attributes; inserted text the one before.
    CFAttributedStringReplaceString(s.get(), CFRangeMake(6, 5), "there, all");
    CFAttributedStringReplaceString(s.get(), CFRangeMake(5, 0), "!!");
    CFAttributedStringReplaceString(s.get(), CFRangeMake(0, 0), ">");
    EXPECT_EQ(CFAttributedStringGetString(s.get()), ">hello!! there, all");
    EXPECT_EQ(spansOf(s.get(), kCTFontAttributeName), (std::vector<Span>{{0, 9, a.get()}, {9, 19, b.get()}}));
    // Deleting a whole run leaves its neighbours.
    CFAttributedStringReplaceString(s.get(), CFRangeMake(9, 10), "");
    EXPECT_EQ(spansOf(s.get(), kCTFontAttributeName), (std::vector<Span>{{0, 9, a.get()}}));
}

TEST(CFAttributedString, BadTextAndRangesLoseNothing)
{
    HeldFont a = font("ArialMT", 12), b = font("Impact", 20);
    NSLogCapture log;
    HeldString s = attributed("ab\xff\xfe"
                              "c",
                              a.get());
    EXPECT_EQ(CFAttributedStringGetString(s.get()), "ab\uFFFD\uFFFD"
                                                    "c");  // invalid UTF-8 replaced
    // Each replacement character is one UTF-16 unit.
    EXPECT_EQ(CFAttributedStringGetLength(s.get()), 5);
    CFAttributedStringSetAttribute(s.get(), CFRangeMake(3, 1), kCTFontAttributeName, b.get());
    EXPECT_EQ(spansOf(s.get(), kCTFontAttributeName),
              (std::vector<Span>{{0, 3, a.get()}, {3, 4, b.get()}, {4, 5, a.get()}}));
    // Ranges off the text change nothing and say so.
    for (CFRange r : {CFRangeMake(-1, 2), CFRangeMake(5, 10), CFRangeMake(10, 0), CFRangeMake(2, -1)}) {
        log.clear();
        CFAttributedStringReplaceString(s.get(), r, "x");
        CFAttributedStringSetAttribute(s.get(), r, kCTFontAttributeName, a.get());
        EXPECT_TRUE(log.contains("is outside a string of length 5")) << r.location << "," << r.length;
    }
    EXPECT_EQ(CFAttributedStringGetString(s.get()), "ab\uFFFD\uFFFD"
                                                    "c");
    EXPECT_EQ(spansOf(s.get(), kCTFontAttributeName).size(), 3u);
    EXPECT_EQ(CFAttributedStringGetAttribute(s.get(), 5, kCTFontAttributeName, nullptr), nullptr);
}

}  // namespace
