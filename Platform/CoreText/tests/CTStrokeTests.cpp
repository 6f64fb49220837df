#include <gtest/gtest.h>

#include "CTTestSupport.h"

namespace {

// Counts of pixels by what covers them, along the row through the middle of a 100-point "I".
struct RowPaint {
    int fill = 0;     // opaque fill colour
    int outline = 0;  // opaque outline colour
    int firstOutline = -1, lastOutline = -1, firstFill = -1, lastFill = -1;
};

RowPaint drawI(CGFloat strokeWidth)
{
    TextCanvas canvas(120, 140);
    HeldFont arial = font("ArialMT", 100);
    CGColorRef red = rgbColor(1, 0, 0, 1), blue = rgbColor(0, 0, 1, 1);
    HeldString s = attributed("I", arial.get(), red);
    CFNumberRef width = CFNumberCreate(nullptr, kCFNumberCGFloatType, &strokeWidth);
    CFAttributedStringSetAttribute(s.get(), CFRangeMake(0, 1), kCTStrokeWidthAttributeName, width);
    CFAttributedStringSetAttribute(s.get(), CFRangeMake(0, 1), kCTStrokeColorAttributeName, blue);
    CFRelease(width);
    CGColorRelease(red);
    CGColorRelease(blue);
    HeldLine line(CTLineCreateWithAttributedString(s.get()));
    CGContextSetTextPosition(canvas.context, 40, 30);
    CTLineDraw(line.get(), canvas.context);
    RowPaint paint;
    size_t row = 140 - 30 - 35;  // a third of the way up the stem
    for (size_t x = 0; x < canvas.width; ++x) {
        RGBA p = canvas.at(x, row);
        if (p[3] < 250) continue;
        if (p[0] > 250 && p[2] < 5) {
            ++paint.fill;
            if (paint.firstFill < 0) paint.firstFill = int(x);
            paint.lastFill = int(x);
        }
        if (p[2] > 250 && p[0] < 5) {
            ++paint.outline;
            if (paint.firstOutline < 0) paint.firstOutline = int(x);
            paint.lastOutline = int(x);
        }
    }
    return paint;
}

TEST(CTStroke, TheWidthsSignChoosesFillOutlineOrBoth)
{
    RowPaint fillOnly = drawI(0), both = drawI(-3), outlineOnly = drawI(3);
    // Liberation Sans' "I" stem is about 9.3 points wide.
    EXPECT_NEAR(fillOnly.fill, 9, 1);
    EXPECT_EQ(fillOnly.outline, 0);

    // 3 % of 100 points: 3 pixels, half on each side of the edge, on both edges of the stem.
    EXPECT_NEAR(both.outline, 2 * 3, 2);
    EXPECT_GT(both.fill, 0);
    EXPECT_LT(both.fill, fillOnly.fill);
    EXPECT_NEAR(both.firstOutline, fillOnly.firstFill - 1.5, 1.5);
    EXPECT_NEAR(both.lastOutline, fillOnly.lastFill + 1.5, 1.5);

    EXPECT_EQ(outlineOnly.fill, 0);
    EXPECT_NEAR(outlineOnly.outline, 2 * 3, 2);
    EXPECT_EQ(outlineOnly.firstOutline, both.firstOutline);
    EXPECT_EQ(outlineOnly.lastOutline, both.lastOutline);
}

}  // namespace
