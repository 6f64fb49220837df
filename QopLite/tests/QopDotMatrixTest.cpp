// Dot-matrix text, soft dots and anti-aliased lines on the CPU: the glyph table, clipping at the
// edges, and the line's coverage rule including a segment of length 0.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopDotMatrix.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using qop_test::TestBitmap;

namespace {

TestBitmap grey(size_t w, size_t h, uint8_t v = 100)
{
    TestBitmap b(w, h);
    b.fill({v, v, v, 255});
    return b;
}

size_t changedPixels(const TestBitmap &a, const TestBitmap &b)
{
    size_t n = 0;
    for (size_t i = 0; i < a.pixelCount(); ++i)
        n += std::memcmp(&a.data()[i], &b.data()[i], sizeof(QopColor_t)) != 0;
    return n;
}

// Columns that hold at least one changed pixel.
std::vector<size_t> changedColumns(const TestBitmap &a, const TestBitmap &b)
{
    std::vector<size_t> columns;
    for (size_t x = 0; x < a.width(); ++x) {
        for (size_t y = 0; y < a.height(); ++y) {
            if (std::memcmp(&a.at(x, y), &b.at(x, y), sizeof(QopColor_t)) != 0) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

const QopColor_t kRed = {255, 0, 0, 255};

TEST(QopDotMatrixGlyphs, EveryGlyphHasItsNumberOfDots)
{
    // Dots per glyph in key order, counted by hand from the glyph drawings.
    const int expected[56] = {0,  21, 35, 27, 34, 20, 22, 16, 16, 2,  5,  9,  4,  5,  8,  9,  7,  21, 18,
                              20, 13, 18, 18, 14, 16, 17, 11, 11, 14, 11, 17, 17, 16, 16, 19, 18, 15, 11,
                              15, 13, 17, 13, 11, 15, 10, 11, 8,  19, 18, 14, 19, 21, 11, 23, 21, 19};
    ASSERT_EQ(std::strlen(QopDotMatrixKeys), 56u);
    EXPECT_EQ(static_cast<unsigned char>(QopDotMatrixKeys[14]), 0xB0u) << "the degree sign is one byte";
    for (int k = 0; k < 56; ++k) {
        int dots = 0;
        for (int row = 0; row < 7; ++row) {
            ASSERT_EQ(std::strlen(QopDotMatrixGlyphs[k][row]), 7u) << k;
            for (int column = 0; column < 7; ++column)
                dots += QopDotMatrixGlyphs[k][row][column] == '#';
        }
        EXPECT_EQ(dots, expected[k]) << "glyph " << k << " ('" << QopDotMatrixKeys[k] << "')";
    }
}

// Dots far apart (spacing 4 radii): each drawn column of dots is a separate run of changed columns.
TEST(QopDotMatrixText, BarIsThreeDotsWideAndUnknownCharactersOnlyAdvance)
{
    const size_t W = 400, H = 120;
    const float dr = 2.0f / W; // one pixel (units of half the width)
    auto draw = [&](const char *text) {
        TestBitmap b = grey(W, H);
        QopDotMatrix(b.get(), text, static_cast<int>(std::strlen(text)), &kRed, dr, -0.9f, 0.0f, 0.0f, 6.0f, 0.0f);
        return b;
    };
    const TestBitmap blank = grey(W, H);
    // Runs of adjacent changed columns.
    auto runs = [&](const TestBitmap &b) {
        std::vector<size_t> columns = changedColumns(blank, b);
        std::vector<std::pair<size_t, size_t>> out;
        for (size_t c : columns) {
            if (out.empty() || c != out.back().second + 1)
                out.push_back({c, c});
            else
                out.back().second = c;
        }
        return out;
    };
    const auto bar = runs(draw("@"));
    ASSERT_EQ(bar.size(), 3u) << "'@' is three dot columns";
    const auto lower = runs(draw("x@"));
    ASSERT_EQ(lower.size(), 3u) << "'x' draws nothing";
    const size_t cell = 7 * 6; // seven dot steps of 6 radii (6 pixels)
    EXPECT_EQ(lower[0].first, bar[0].first + cell) << "but takes one character cell";
    EXPECT_TRUE(draw("x") == blank);
    EXPECT_TRUE(draw("   ") == blank);
}

TEST(QopDotMatrixText, ClipsDotByDotAtTheEdges)
{
    // Text running off every edge: only the in-image parts of dots change (ASan checks the rest).
    const float dr = 0.05f;
    for (float anchorX : {-1.2f, 0.95f}) {
        for (float anchorY : {-1.1f, 0.98f}) {
            TestBitmap b = grey(23, 17);
            const TestBitmap before = b;
            QopDotMatrix(b.get(), "88888", 5, &kRed, dr, anchorX, anchorY, 0.0f, 1.3f, 0.3f);
            EXPECT_LT(changedPixels(before, b), b.pixelCount());
        }
    }
    TestBitmap b = grey(23, 17);
    const TestBitmap before = b;
    QopDotMatrixDot(b.get(), &kRed, 0.02f, 40.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f);
    QopDotMatrixDot(b.get(), &kRed, 0.02f, 0.0f, -40.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_TRUE(b == before) << "a dot wholly outside does nothing";
    TestBitmap one = grey(1, 1);
    QopDotMatrixDot(one.get(), &kRed, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_GT(one.at(0, 0).r, 100) << "a dot over the only pixel paints it";
}

TEST(QopDotMatrixDot, CentreTakesTheColourAndTheRimFades)
{
    TestBitmap b = grey(41, 41, 0);
    const QopColor_t white = {255, 255, 255, 255};
    QopDotMatrixDot(b.get(), &white, 4.0f / 20.5f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_GE(b.at(20, 20).r, 254);
    EXPECT_GT(b.at(24, 20).r, 0);
    EXPECT_LT(b.at(24, 20).r, b.at(22, 20).r);
    EXPECT_EQ(b.at(0, 0).r, 0) << "beyond sqrt(5) radii nothing changes";
    EXPECT_EQ(b.at(20, 20).a, 255);
}

struct LineCase {
    const char *name;
    double x1, y1, x2, y2, r;
};

TEST(QopDrawLine, PaintsTheSegmentAndLeavesTheRestAlone)
{
    const QopColor_t half = {255, 255, 255, 128};
    const LineCase cases[] = {
        {"horizontal", 5, 20, 45, 20, 3},
        {"diagonal", 6, 6, 40, 34, 2.5},
        {"hairline", 5, 20, 45, 20, 0},
    };
    for (const LineCase &c : cases) {
        TestBitmap b = grey(50, 40, 0);
        QopDrawLine(b.get(), &half, c.x1, c.y1, c.x2, c.y2, c.r);
        const size_t mx = static_cast<size_t>((c.x1 + c.x2) / 2), my = static_cast<size_t>((c.y1 + c.y2) / 2);
        // On the segment: the colour at its alpha over black.
        EXPECT_NEAR(b.at(mx, my).r, 128, 1) << c.name;
        EXPECT_EQ(b.at(mx, my).a, 255) << c.name;
        // 10 pixels off the segment, and past its ends, nothing.
        EXPECT_EQ(b.at(mx, my + 10 < 40 ? my + 10 : my - 10).r, 0) << c.name;
        EXPECT_EQ(b.at(0, 0).r, 0) << c.name;
        EXPECT_EQ(b.at(49, 39).r, 0) << c.name;
    }
    // A hairline is a soft band a few pixels high.
    TestBitmap b = grey(50, 40, 0);
    QopDrawLine(b.get(), &half, 5, 20, 45, 20, 0);
    int rows = 0;
    for (size_t y = 0; y < 40; ++y)
        rows += b.at(25, y).r > 0;
    EXPECT_GE(rows, 2);
    EXPECT_LE(rows, 4);
}

TEST(QopDrawLine, ZeroLengthDrawsARoundDotNotABox)
{
    TestBitmap b = grey(40, 40, 0);
    QopDrawLine(b.get(), &kRed, 20, 20, 20, 20, 4);
    EXPECT_EQ(b.at(20, 20).r, 255);
    EXPECT_EQ(b.at(23, 20).r, 255);
    EXPECT_EQ(b.at(25, 25).r, 0) << "the box corner stays: the segment has no length to paint along";
    EXPECT_EQ(b.at(14, 14).r, 0);
    size_t painted = 0;
    for (size_t i = 0; i < b.pixelCount(); ++i)
        painted += b.data()[i].r > 0;
    EXPECT_LT(painted, 120u) << "about pi (r + 2)^2";
}

TEST(QopDrawLine, SegmentsOutsideOrThroughTheEdgesStayInBounds)
{
    for (auto size : {std::pair<size_t, size_t>{1, 1}, {3, 2}, {17, 400}}) {
        TestBitmap b = grey(size.first, size.second);
        QopDrawLine(b.get(), &kRed, -100, -3, 1e4, 50, 7);
        QopDrawLine(b.get(), &kRed, -50, -50, -10, -10, 3);
        EXPECT_EQ(b.at(0, 0).r, 255) << "the thick line passes over the corner";
    }
    TestBitmap b = grey(20, 20);
    const TestBitmap before = b;
    QopDrawLine(b.get(), &kRed, 100, 100, 200, 150, 3);
    EXPECT_TRUE(b == before);
}

} // namespace
