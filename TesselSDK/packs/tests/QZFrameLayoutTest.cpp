// Where a frame's pieces go: bands and tile counts for pictures of every shape, and no layout at all
// for inputs that would send rectangles of no size, or numbers that are none, to the GPU.

#include "TesselSDK/packs/QZFrameLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace {

struct Expected {
    float top, bottom, left, right, midH, midW;
    NSInteger leftTiles, rightTiles, topTiles, bottomTiles;
};

struct LayoutRow {
    const char* name;
    CGSize picture;
    float thickness;
    QZFramePieceSizes pieces;
    std::optional<Expected> expected;  // nullopt: no frame can be drawn
};

void PrintTo(const LayoutRow& row, std::ostream* out)
{
    *out << row.name;
}

constexpr CGSize square40{40, 40};
const QZFramePieceSizes kSquarePieces{square40, square40, square40, square40};
// The shipped frames' pieces: strips of 800 x 200 (200 x 800 upright) around corners of 200.
const QZFramePieceSizes kShippedPieces{{200, 800}, {200, 800}, {800, 200}, {800, 200}};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class QZFrameLayoutTest : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(QZFrameLayoutTest, BandsAndTilesFollowThePicturesShape)
{
    const LayoutRow& row = GetParam();
    const std::optional<QZFrameLayout> layout = QZFrameLayoutMake(row.picture, row.thickness, row.pieces);
    if (!row.expected) {
        EXPECT_FALSE(layout) << "a frame that cannot be drawn was laid out";
        return;
    }
    ASSERT_TRUE(layout);
    const Expected& e = *row.expected;
    EXPECT_FLOAT_EQ(layout->topBand, e.top);
    EXPECT_FLOAT_EQ(layout->bottomBand, e.bottom);
    EXPECT_FLOAT_EQ(layout->leftBand, e.left);
    EXPECT_FLOAT_EQ(layout->rightBand, e.right);
    EXPECT_FLOAT_EQ(layout->midH, e.midH);
    EXPECT_FLOAT_EQ(layout->midW, e.midW);
    EXPECT_EQ(layout->leftTiles, e.leftTiles);
    EXPECT_EQ(layout->rightTiles, e.rightTiles);
    EXPECT_EQ(layout->topTiles, e.topTiles);
    EXPECT_EQ(layout->bottomTiles, e.bottomTiles);

    // The pieces tile the border exactly: sides between the corners, corners at the four edges.
    auto expectRect = [](CGRect r, float x, float y, float w, float h, const char* which) {
        SCOPED_TRACE(which);
        EXPECT_FLOAT_EQ(r.origin.x, x);
        EXPECT_FLOAT_EQ(r.origin.y, y);
        EXPECT_FLOAT_EQ(r.size.width, w);
        EXPECT_FLOAT_EQ(r.size.height, h);
    };
    expectRect(layout->left, 0, e.top, e.left, e.midH, "left");
    expectRect(layout->right, 1 - e.right, e.top, e.right, e.midH, "right");
    expectRect(layout->top, e.left, 0, e.midW, e.top, "top");
    expectRect(layout->bottom, e.left, 1 - e.bottom, e.midW, e.bottom, "bottom");
    expectRect(layout->topLeft, 0, 0, e.left, e.top, "top left");
    expectRect(layout->topRight, 1 - e.right, 0, e.right, e.top, "top right");
    expectRect(layout->bottomLeft, 0, 1 - e.bottom, e.left, e.bottom, "bottom left");
    expectRect(layout->bottomRight, 1 - e.right, 1 - e.bottom, e.right, e.bottom, "bottom right");
}

INSTANTIATE_TEST_SUITE_P(
    Table, QZFrameLayoutTest,
    ::testing::Values(
        // Twice as wide as high: the thickness is of the height; a side piece's 40 points repeat
        // along the 0.8 of the height that the bands leave, 8 times; a top piece 18 times.
        LayoutRow{
            "Landscape", {200, 100}, 0.1f, kSquarePieces, Expected{0.1f, 0.1f, 0.05f, 0.05f, 0.8f, 0.9f, 8, 8, 18, 18}},
        LayoutRow{
            "Portrait", {100, 200}, 0.1f, kSquarePieces, Expected{0.05f, 0.05f, 0.1f, 0.1f, 0.9f, 0.8f, 18, 18, 8, 8}},
        // Square, bands after their pieces' thicknesses (top 20, sides 40, mean 30): 3.25 and
        // 2.75 pieces fit along the sides, drawn 3 times each.
        LayoutRow{"SquareUnevenPieces",
                  {100, 100},
                  0.1f,
                  {{40, 80}, {40, 80}, {80, 20}, {80, 20}},
                  Expected{0.2f / 3, 0.2f / 3, 0.4f / 3, 0.4f / 3, 1 - 0.4f / 3, 1 - 0.8f / 3, 3, 3, 3, 3}},
        // The shipped Oak on the 512 x 512 photo: 2.625 pieces along each side, drawn 3 times.
        LayoutRow{"ShippedOakOnASquarePhoto",
                  {512, 512},
                  0.08f,
                  kShippedPieces,
                  Expected{0.08f, 0.08f, 0.08f, 0.08f, 0.84f, 0.84f, 3, 3, 3, 3}},
        // Long pieces on a short band: 0.4 of a piece fits, and one is drawn.
        LayoutRow{"APieceLongerThanItsBand",
                  {100, 100},
                  0.1f,
                  {{40, 800}, {40, 800}, {800, 40}, {800, 40}},
                  Expected{0.1f, 0.1f, 0.1f, 0.1f, 0.8f, 0.8f, 1, 1, 1, 1}},
        // What cannot be drawn: no rectangle, no tile count.
        LayoutRow{"LeftPieceMissing", {100, 100}, 0.1f, {{0, 0}, square40, square40, square40}, std::nullopt},
        LayoutRow{"TopPieceWithoutHeight", {100, 100}, 0.1f, {square40, square40, {40, 0}, square40}, std::nullopt},
        LayoutRow{"PictureWithoutHeight", {512, 0}, 0.08f, kShippedPieces, std::nullopt},
        LayoutRow{"PictureWithoutWidth", {0, 512}, 0.08f, kShippedPieces, std::nullopt},
        // A width that makes the bands meet or cross (the service may send 12).
        LayoutRow{"BandsCross", {512, 512}, 12, kShippedPieces, std::nullopt},
        LayoutRow{"BandsMeet", {100, 100}, 0.5f, kSquarePieces, std::nullopt},
        LayoutRow{"NoThickness", {100, 100}, 0, kSquarePieces, std::nullopt},
        LayoutRow{"NegativeThickness", {100, 100}, -0.1f, kSquarePieces, std::nullopt},
        LayoutRow{"ThicknessNotANumber", {100, 100}, kNaN, kSquarePieces, std::nullopt},
        LayoutRow{"PieceNotANumber", {100, 100}, 0.1f, {{kNaN, 40}, square40, square40, square40}, std::nullopt},
        LayoutRow{"InfinitePicture", {std::numeric_limits<float>::infinity(), 100}, 0.1f, kSquarePieces, std::nullopt}),
    [](const ::testing::TestParamInfo<LayoutRow>& row) { return std::string(row.param.name); });

}  // namespace
