#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "CoreText/CoreText.h"
#include "UIKitTestSupport.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIStringDrawing.h"
#include "UIKit/UITextLayout.h"

namespace {

constexpr const char* kPangram = "The quick brown fox jumps over the lazy dog";

double ctWidth(const std::string& text, const std::shared_ptr<UIFont>& font)
{
    CFMutableAttributedStringRef s = CFAttributedStringCreateMutable();
    CFAttributedStringReplaceString(s, CFRangeMake(0, 0), text);
    CFAttributedStringSetAttribute(s, CFRangeMake(0, CFAttributedStringGetLength(s)), kCTFontAttributeName,
                                   font->CTFont());
    CTLineRef line = CTLineCreateWithAttributedString(s);
    double w = CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr);
    CFRelease(line);
    CFRelease(s);
    return w;
}

// Ink of an image, top row first.
struct Ink {
    explicit Ink(const std::shared_ptr<UIImage>& image) : cg(image->CGImage()) {}
    size_t width() const { return CGImageGetWidth(cg); }
    size_t height() const { return CGImageGetHeight(cg); }
    uint8_t alpha(size_t x, size_t y) const { return pixelOf(cg, x, y)[3]; }
    long rows(size_t from, size_t to) const
    {
        long sum = 0;
        for (size_t y = from; y < to && y < height(); ++y)
            for (size_t x = 0; x < width(); ++x) sum += alpha(x, y);
        return sum;
    }
    // First and last inked row and column.
    int top() const { return firstRow(true); }
    int bottom() const { return firstRow(false); }
    int left() const { return firstColumn(true); }
    int right() const { return firstColumn(false); }

    CGImageRef cg;

private:
    int firstRow(bool fromTop) const
    {
        for (size_t i = 0; i < height(); ++i) {
            size_t y = fromTop ? i : height() - 1 - i;
            for (size_t x = 0; x < width(); ++x)
                if (alpha(x, y)) return int(y);
        }
        return -1;
    }
    int firstColumn(bool fromLeft) const
    {
        for (size_t i = 0; i < width(); ++i) {
            size_t x = fromLeft ? i : width() - 1 - i;
            for (size_t y = 0; y < height(); ++y)
                if (alpha(x, y)) return int(x);
        }
        return -1;
    }
};

// Runs `draw` in a fresh UIKit image context of the size at the scale; answers the image.
template <class Draw>
std::shared_ptr<UIImage> drawn(CGSize size, CGFloat scale, Draw draw)
{
    UIGraphicsBeginImageContextWithOptions(size, false, scale);
    CGContextSetRGBFillColor(UIGraphicsGetCurrentContext(), 1, 0, 0, 1);
    draw(UIGraphicsGetCurrentContext());
    std::shared_ptr<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

TEST(UIStringDrawing, OneLineIsItsWidthAndTheLineHeightRoundedUp)
{
    std::shared_ptr<UIFont> font = UIFont::systemFontOfSize(13);
    CGSize size = sizeWithFont(kPangram, font);
    EXPECT_EQ(size.width, std::ceil(ctWidth(kPangram, font)));
    EXPECT_EQ(size.height, std::ceil(font->lineHeight()));
    // The first line only; nothing measures nothing.
    EXPECT_EQ(sizeWithFont("Hello\nthere, world", font).width, std::ceil(ctWidth("Hello", font)));
    EXPECT_EQ(sizeWithFont("", font).width, 0);
    EXPECT_EQ(sizeWithFont("", font).height, 0);
    EXPECT_EQ(sizeWithFont("x", nullptr).height, 0);
}

TEST(UIStringDrawing, NarrowerTextGrowsByWholeLinesWithinTheConstraint)
{
    std::shared_ptr<UIFont> font = UIFont::boldSystemFontOfSize(14);
    double lineHeight = font->lineHeight();
    struct Case {
        CGFloat width, height;
        NSLineBreakMode mode;
        int lines;
    } cases[] = {
        {1000, FLT_MAX, NSLineBreakByWordWrapping, 1},
        {200, FLT_MAX, NSLineBreakByWordWrapping, 2},
        {100, FLT_MAX, NSLineBreakByWordWrapping, 4},
        {100, FLT_MAX, NSLineBreakByCharWrapping, 4},
        {100, FLT_MAX, NSLineBreakByTruncatingTail, 4},  // truncation cuts only a last line
        {100, CGFloat(2.5 * lineHeight), NSLineBreakByWordWrapping, 2},
        {100, CGFloat(2.5 * lineHeight), NSLineBreakByTruncatingMiddle, 2},
        {100, 1, NSLineBreakByWordWrapping, 1},  // one line at least
    };
    for (const Case& c : cases) {
        CGSize size = sizeWithFont(kPangram, font, CGSizeMake(c.width, c.height), c.mode);
        EXPECT_EQ(size.height, std::ceil(c.lines * lineHeight)) << c.width << " " << c.height << " " << c.mode;
        EXPECT_LE(size.width, c.width);
        EXPECT_EQ(size.width, std::floor(size.width));
    }
}

TEST(UIStringDrawing, MeasuringGivesTheBoundsALabelLaysTheSameTextOutIn)
{
    std::shared_ptr<UIFont> font = UIFont::boldSystemFontOfSize(12);
    struct Case {
        const char* text;
        CGFloat width;
        NSInteger numberOfLines;
        NSLineBreakMode mode;
    } cases[] = {
        {kPangram, 90, 0, NSLineBreakByWordWrapping},    {kPangram, 90, 2, NSLineBreakByTruncatingTail},
        {kPangram, 90, 1, NSLineBreakByTruncatingTail},  {kPangram, 33, 0, NSLineBreakByCharWrapping},
        {"Rotate", 400, 1, NSLineBreakByTruncatingTail}, {"two\nparagraphs of text", 70, 0, NSLineBreakByWordWrapping},
    };
    for (const Case& c : cases) {
        UITextLayout measured(c.text, font, CGSizeMake(c.width, FLT_MAX), c.numberOfLines, c.mode,
                              NSTextAlignmentCenter);
        CGRect bounds = CGRectMake(5, 7, c.width, measured.size().height);
        UITextLayout label(c.text, font, bounds.size, c.numberOfLines, c.mode, NSTextAlignmentCenter);
        EXPECT_EQ(label.lines().size(), measured.lines().size()) << c.text << " " << c.width;
        EXPECT_TRUE(CGSizeEqualToSize(label.size(), measured.size())) << c.text << " " << c.width;
        CGRect text = label.labelTextRect(bounds);
        EXPECT_EQ(text.origin.y, bounds.origin.y);
        EXPECT_NEAR(CGRectGetMidX(text), CGRectGetMidX(bounds), 0.5f);
        // A taller label centres the same lines vertically.
        CGRect tall = CGRectMake(5, 7, c.width, measured.size().height + 20);
        EXPECT_EQ(
            UITextLayout(c.text, font, CGSizeMake(c.width, FLT_MAX), c.numberOfLines, c.mode, NSTextAlignmentCenter)
                .labelTextRect(tall)
                .origin.y,
            17);
    }
}

TEST(UIStringDrawing, DrawsUprightFromTheTopOfTheRectangleAligned)
{
    std::shared_ptr<UIFont> font = UIFont::boldSystemFontOfSize(20);
    double width = ctWidth("TTT", font);
    struct Case {
        CGFloat scale;
        NSTextAlignment alignment;
        double left;  // of the ink, in points
    } cases[] = {
        {1, NSTextAlignmentLeft, 0},
        {2, NSTextAlignmentLeft, 0},
        {1, NSTextAlignmentCenter, (100 - width) / 2},
        {2, NSTextAlignmentRight, 100 - width},
    };
    for (const Case& c : cases) {
        std::shared_ptr<UIImage> image = drawn(CGSizeMake(120, 60), c.scale, [&](CGContextRef) {
            CGSize size = drawInRect("TTT", CGRectMake(10, 5, 100, 50), font, NSLineBreakByWordWrapping, c.alignment);
            EXPECT_EQ(size.height, std::ceil(font->lineHeight()));
        });
        Ink ink(image);
        double s = c.scale;
        // Capitals from the baseline (ascender below the rectangle's top) up a capital height.
        EXPECT_NEAR(ink.bottom() + 1, (5 + font->ascender()) * s, 1) << c.scale << " " << c.alignment;
        EXPECT_NEAR(ink.top(), (5 + font->ascender() - font->capHeight()) * s, 1) << c.scale << " " << c.alignment;
        EXPECT_NEAR(ink.left(), (10 + c.left) * s, 2 * s) << c.scale << " " << c.alignment;
        // Upright: the T's bar (top quarter of the ink) outweighs its stems (bottom quarter).
        size_t quarter = size_t(ink.bottom() - ink.top() + 1) / 4;
        EXPECT_GT(ink.rows(size_t(ink.top()), size_t(ink.top()) + quarter),
                  2 * ink.rows(size_t(ink.bottom()) + 1 - quarter, size_t(ink.bottom()) + 1));
        EXPECT_EQ(pixelOf(ink.cg, size_t(ink.left() + 2 * s), size_t(ink.top() + 1))[1], 0);  // red: the fill colour
    }
}

TEST(UIStringDrawing, LastLinesAreCutWithAnEllipsisOrClippedWithinTheWidth)
{
    // Capitals reach the capital height; an ellipsis sits low on the baseline.
    std::shared_ptr<UIFont> font = UIFont::systemFontOfSize(20);
    const std::string text = "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHH";
    struct Case {
        NSLineBreakMode mode;
        bool lowInkAtLeft, lowInkAtRight;
    } cases[] = {
        {NSLineBreakByTruncatingTail, false, true},
        {NSLineBreakByTruncatingHead, true, false},
        {NSLineBreakByTruncatingMiddle, false, false},
        {NSLineBreakByClipping, false, false},
    };
    for (const Case& c : cases) {
        std::shared_ptr<UIImage> image = drawn(CGSizeMake(140, 40), 1, [&](CGContextRef context) {
            UITextLayout layout(text, font, CGSizeMake(100, 40), 1, c.mode, NSTextAlignmentLeft);
            ASSERT_EQ(layout.lines().size(), 1u);
            EXPECT_LE(layout.size().width, 100);
            layout.draw(context, CGPointMake(10, 0), nullptr);
        });
        Ink ink(image);
        ASSERT_GE(ink.left(), 10) << c.mode;
        ASSERT_LE(ink.right(), 109) << c.mode;       // nothing past the width
        EXPECT_GE(ink.right(), 109 - 16) << c.mode;  // and as much as fits: less than an "H" (14.4) is left
        auto tallestIn = [&](int from, int to) {
            int tallest = 0;
            for (int x = from; x <= to; ++x) {
                int top = -1;
                for (size_t y = 0; y < ink.height() && top < 0; ++y)
                    if (ink.alpha(size_t(x), y) > 64) top = int(y);
                if (top >= 0) tallest = std::max(tallest, int(ink.bottom()) - top);
            }
            return tallest;
        };
        int capitals = tallestIn(10, 109);
        EXPECT_EQ(tallestIn(ink.left(), ink.left() + 5) < capitals / 3, c.lowInkAtLeft) << c.mode;
        EXPECT_EQ(tallestIn(ink.right() - 5, ink.right()) < capitals / 3, c.lowInkAtRight) << c.mode;
    }
}

TEST(UIStringDrawing, LabelTextTakesItsColourAndAShadowBelow)
{
    std::shared_ptr<UIFont> font = UIFont::boldSystemFontOfSize(16);
    CGFloat blackComponents[4] = {0, 0, 0, 1}, whiteComponents[4] = {1, 1, 1, 1};
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    CGColorRef shadow = CGColorCreate(rgb, blackComponents), textColor = CGColorCreate(rgb, whiteComponents);
    CGColorSpaceRelease(rgb);
    std::shared_ptr<UIImage> image = drawn(CGSizeMake(100, 40), 2, [&](CGContextRef context) {
        UITextLayout layout("Adjust", font, CGSizeMake(100, 40), 0, NSLineBreakByTruncatingTail, NSTextAlignmentCenter);
        CGRect text = layout.labelTextRect(CGRectMake(0, 0, 100, 40));
        layout.draw(context, CGPointMake(0, text.origin.y), textColor, shadow, CGSizeMake(0, 1));
    });
    CGColorRelease(shadow);
    CGColorRelease(textColor);
    Ink ink(image);
    // White glyphs, and black shadow pixels showing below them (1 point = 2 pixels at scale 2).
    long white = 0, black = 0;
    double whiteRows = 0, blackRows = 0;
    for (size_t y = 0; y < ink.height(); ++y)
        for (size_t x = 0; x < ink.width(); ++x) {
            RGBA p = pixelOf(ink.cg, x, y);
            if (p[3] < 192) continue;
            if (p[0] > 192) {
                ++white;
                whiteRows += double(y);
            } else if (p[0] < 64) {
                ++black;
                blackRows += double(y);
            }
        }
    ASSERT_GT(white, 100);
    ASSERT_GT(black, 20);
    EXPECT_GT(blackRows / double(black), whiteRows / double(white) + 1);
    // Centred vertically: as much room above the ink as below, give or take the descender's.
    EXPECT_NEAR(ink.top(), 80 - 1 - ink.bottom(), 2 * 16 * 434 / 2048.0 + 4);
}

}  // namespace
