#pragma once
// Where a frame's eight pieces go on a picture. The frame is `thickness` of the picture's shorter
// side thick; each band takes its piece's own thickness relative to the mean of the four side
// pieces', and a side piece keeps its aspect ratio at its band's thickness, repeated along the
// band. Every rectangle is relative to the picture (0 to 1, from the top left) and the tile counts
// depend only on its aspect ratio, so one layout draws the same frame at any size of the picture.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObjCRuntime.h"

#include <optional>

// Sizes of the four side pieces (the corners take the bands' sizes).
struct QZFramePieceSizes {
    CGSize left{0, 0};
    CGSize right{0, 0};
    CGSize top{0, 0};
    CGSize bottom{0, 0};
};

struct QZFrameLayout {
    // The bands' thicknesses, the left and right ones as a fraction of the width, the top and
    // bottom ones of the height, and what lies between them.
    CGFloat leftBand = 0, rightBand = 0, topBand = 0, bottomBand = 0;
    CGFloat midW = 0, midH = 0;
    CGRect left{}, right{}, top{}, bottom{};
    CGRect topLeft{}, topRight{}, bottomLeft{}, bottomRight{};
    // Repeats of the side pieces along their bands: at least 1 each.
    NSInteger leftTiles = 1, rightTiles = 1, topTiles = 1, bottomTiles = 1;
};

// nullopt when no frame can be drawn from these inputs: a picture or a side piece without extent,
// a thickness that is not above 0, bands that meet or cross (nothing left between them), or any
// value that is not a finite number.
std::optional<QZFrameLayout> QZFrameLayoutMake(CGSize picture, CGFloat thickness, const QZFramePieceSizes& pieces);
