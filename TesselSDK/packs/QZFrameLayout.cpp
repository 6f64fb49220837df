#include "TesselSDK/packs/QZFrameLayout.h"

#include "TesselSDKFoundation/QZCountFromQuotient.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

bool positiveAndFinite(std::initializer_list<CGFloat> values)
{
    return std::all_of(values.begin(), values.end(), [](CGFloat v) { return std::isfinite(v) && v > 0; });
}

// Rounded to the nearest count (halves away from zero), never below one tile.
NSInteger tiles(CGFloat quotient)
{
    return std::max<NSInteger>(1, QZCountFromQuotient(std::round(quotient)));
}

}  // namespace

std::optional<QZFrameLayout> QZFrameLayoutMake(CGSize picture, CGFloat thickness, const QZFramePieceSizes& pieces)
{
    const CGFloat W = picture.width, H = picture.height;
    const CGFloat Lw = pieces.left.width, Lh = pieces.left.height;
    const CGFloat Rw = pieces.right.width, Rh = pieces.right.height;
    const CGFloat Tw = pieces.top.width, Th = pieces.top.height;
    const CGFloat Bw = pieces.bottom.width, Bh = pieces.bottom.height;
    if (!positiveAndFinite({W, H, thickness, Lw, Lh, Rw, Rh, Tw, Th, Bw, Bh})) return std::nullopt;

    const CGFloat a = W / H;
    const CGFloat avg = (Th + Bh + Rw + Lw) * 0.25f;
    const CGFloat kv = thickness * std::min(a, CGFloat(1));
    const CGFloat kh = thickness * (a > 1 ? H / W : CGFloat(1));

    QZFrameLayout layout;
    layout.topBand = Th * kv / avg;
    layout.bottomBand = Bh * kv / avg;
    layout.leftBand = Lw * kh / avg;
    layout.rightBand = Rw * kh / avg;
    layout.midH = 1 - (layout.topBand + layout.bottomBand);
    layout.midW = 1 - (layout.leftBand + layout.rightBand);
    if (!positiveAndFinite(
            {a, avg, layout.topBand, layout.bottomBand, layout.leftBand, layout.rightBand, layout.midH, layout.midW}))
        return std::nullopt;

    const CGFloat leftQuotient = layout.midH / ((Lh / Lw) * a * layout.leftBand);
    const CGFloat rightQuotient = layout.midH / ((Rh / Rw) * a * layout.rightBand);
    const CGFloat topQuotient = layout.midW / ((Tw / Th) * (H / W) * layout.topBand);
    const CGFloat bottomQuotient = layout.midW / ((Bw / Bh) * (H / W) * layout.bottomBand);
    if (!positiveAndFinite({leftQuotient, rightQuotient, topQuotient, bottomQuotient})) return std::nullopt;
    layout.leftTiles = tiles(leftQuotient);
    layout.rightTiles = tiles(rightQuotient);
    layout.topTiles = tiles(topQuotient);
    layout.bottomTiles = tiles(bottomQuotient);

    const CGFloat l = layout.leftBand, r = layout.rightBand, t = layout.topBand, b = layout.bottomBand;
    layout.left = CGRectMake(0, t, l, layout.midH);
    layout.right = CGRectMake(1 - r, t, r, layout.midH);
    layout.top = CGRectMake(l, 0, layout.midW, t);
    layout.bottom = CGRectMake(l, 1 - b, layout.midW, b);
    layout.topLeft = CGRectMake(0, 0, l, t);
    layout.topRight = CGRectMake(1 - r, 0, r, t);
    layout.bottomLeft = CGRectMake(0, 1 - b, l, b);
    layout.bottomRight = CGRectMake(1 - r, 1 - b, r, b);
    return layout;
}
