#include "TesselSDK/tools/QZCropBoxGridView.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include "CoreGraphics/CGContext.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"

#include <array>

namespace {

constexpr CGFloat kLineThickness = 3;

struct Piece {
    QZCropBoxImageType type;
    const char* name;
    CGSize size;
};

constexpr Piece kPieces[] = {
    {QZCropBoxImageTypeVertical, "QZCropBoxImageTypeVertical", {3, 1}},
    {QZCropBoxImageTypeHorizontal, "QZCropBoxImageTypeHorizontal", {1, 3}},
    {QZCropBoxImageTypeIntersectUDLR, "QZCropBoxImageTypeIntersectUDLR", {3, 3}},
    {QZCropBoxImageTypeLRD, "QZCropBoxImageTypeLRD", {3, 3}},
    {QZCropBoxImageTypeLRU, "QZCropBoxImageTypeLRU", {3, 3}},
    {QZCropBoxImageTypeUDL, "QZCropBoxImageTypeUDL", {3, 3}},
    {QZCropBoxImageTypeUDR, "QZCropBoxImageTypeUDR", {3, 3}},
};

const Piece* pieceOfType(QZCropBoxImageType type)
{
    for (const Piece& piece : kPieces)
        if (piece.type == type) return &piece;
    return nullptr;
}

// A stroked path through the points, in image-context coordinates (origin top left). The
// half-point offsets put a one-point line on the middle pixel of the three.
void strokeThrough(CGContextRef context, std::initializer_list<CGPoint> points)
{
    bool first = true;
    for (CGPoint p : points) {
        if (first)
            CGContextMoveToPoint(context, p.x, p.y);
        else
            CGContextAddLineToPoint(context, p.x, p.y);
        first = false;
    }
    CGContextStrokePath(context);
}

}  // namespace

bool QZCropBoxGridView::initWithFrame(CGRect frame)
{
    if (!QZOverlayView::initWithFrame(frame)) return false;
    auto makeViews = [this](int count, auto typeAt) {
        std::vector<std::shared_ptr<UIImageView>> views;
        for (int i = 0; i < count; ++i) {
            auto view = UIView::viewWithFrame<UIImageView>(CGRectZero);
            view->setContentMode(UIViewContentModeScaleToFill);
            view->setImage(imageOfType(typeAt(i)));
            addSubview(view);
            views.push_back(view);
        }
        return views;
    };
    verticalLineViews_ = makeViews(kLineViewCount, [](int) { return QZCropBoxImageTypeVertical; });
    horizontalLineViews_ = makeViews(kLineViewCount, [](int) { return QZCropBoxImageTypeHorizontal; });
    intersectionViews_ = makeViews(kIntersectionViewCount, &QZCropBoxGridView::intersectionTypeAtIndex);
    layoutGridLines();
    return true;
}

void QZCropBoxGridView::prepareView()
{
    QZOverlayView::prepareView();
    setUserInteractionEnabled(false);
}

void QZCropBoxGridView::setFrame(CGRect frame)
{
    QZOverlayView::setFrame(frame);
    layoutGridLines();
}

void QZCropBoxGridView::layoutSubviews()
{
    QZOverlayView::layoutSubviews();
    layoutGridLines();
}

QZCropBoxImageType QZCropBoxGridView::intersectionTypeAtIndex(int index)
{
    const int column = index % 4, row = index / 4;
    if (column == 0) return QZCropBoxImageTypeUDR;
    if (column == 3) return QZCropBoxImageTypeUDL;
    if (row == 0) return QZCropBoxImageTypeLRD;
    if (row == 3) return QZCropBoxImageTypeLRU;
    return QZCropBoxImageTypeIntersectUDLR;
}

std::string QZCropBoxGridView::nameOfCropBoxImageType(QZCropBoxImageType type)
{
    const Piece* piece = pieceOfType(type);
    return piece ? piece->name : "";
}

std::shared_ptr<UIImage> QZCropBoxGridView::imageOfType(QZCropBoxImageType type)
{
    const Piece* piece = pieceOfType(type);
    if (!piece) return nullptr;
    return QZSDKResources::cachedImageForKey(piece->name, piece->size, drawingBlockForCropBoxImageType(type));
}

std::function<void()> QZCropBoxGridView::drawingBlockForCropBoxImageType(QZCropBoxImageType type)
{
    if (!pieceOfType(type)) return nullptr;
    return [type] {
        CGContextRef context = UIGraphicsGetCurrentContext();
        if (!context) return;
        CGContextSetShadowWithColor(context, CGSizeMake(0, 0), 1.0f, UIColor::blackColor()->CGColor());
        CGContextSetAlpha(context, 0.78f);
        CGContextSetFillColorWithColor(context, UIColor::whiteColor()->CGColor());
        CGContextSetStrokeColorWithColor(context, UIColor::whiteColor()->CGColor());
        CGContextSetLineJoin(context, kCGLineJoinMiter);
        CGContextSetLineWidth(context, 1);
        switch (type) {
        case QZCropBoxImageTypeVertical: CGContextFillRect(context, CGRectMake(1, 0, 1, 1)); break;
        case QZCropBoxImageTypeHorizontal: CGContextFillRect(context, CGRectMake(0, 1, 1, 1)); break;
        case QZCropBoxImageTypeIntersectUDLR:
            strokeThrough(context, {{1.5f, -0.5f}, {1.5f, 3.5f}, {1.5f, 1.5f}, {-0.5f, 1.5f}, {3.5f, 1.5f}});
            break;
        case QZCropBoxImageTypeLRD:
            strokeThrough(context, {{-0.5f, 1.5f}, {3.5f, 1.5f}, {1.5f, 1.5f}, {1.5f, 3.5f}});
            break;
        case QZCropBoxImageTypeLRU:
            strokeThrough(context, {{-0.5f, 1.5f}, {3.5f, 1.5f}, {1.5f, 1.5f}, {1.5f, -0.5f}});
            break;
        case QZCropBoxImageTypeUDL:
            strokeThrough(context, {{1.5f, -0.5f}, {1.5f, 3.5f}, {1.5f, 1.5f}, {-0.5f, 1.5f}});
            break;
        case QZCropBoxImageTypeUDR:
            strokeThrough(context, {{1.5f, -0.5f}, {1.5f, 3.5f}, {1.5f, 1.5f}, {3.5f, 1.5f}});
            break;
        }
    };
}

void QZCropBoxGridView::layoutGridLines()
{
    // Called from setFrame, which may come before the views exist.
    if (verticalLineViews_.size() != kLineViewCount || horizontalLineViews_.size() != kLineViewCount ||
        intersectionViews_.size() != kIntersectionViewCount)
        return;
    const CGSize size = bounds().size;
    const CGFloat W = size.width, H = size.height;
    const CGFloat cw = (W - 12) / 3, ch = (H - 12) / 3;
    const std::array<CGFloat, 4> xs = {-1, cw + 2, W - 5 - cw, W - 2};
    const std::array<CGFloat, 4> ys = {-1, ch + 2, H - 5 - ch, H - 2};
    const CGFloat t = kLineThickness;
    for (int i = 0; i < kLineViewCount; ++i) {
        const int r = i / 3, c = i % 3;
        horizontalLineViews_[std::size_t(i)]->setFrame(CGRectMake(xs[c] + t, ys[r], xs[c + 1] - xs[c] - t, t));
        verticalLineViews_[std::size_t(i)]->setFrame(CGRectMake(xs[r], ys[c] + t, t, ys[c + 1] - ys[c] - t));
    }
    for (int i = 0; i < kIntersectionViewCount; ++i)
        intersectionViews_[std::size_t(i)]->setFrame(CGRectMake(xs[i % 4], ys[i / 4], t, t));
}
