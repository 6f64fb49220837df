#include "TesselSDK/tools/QZCropBoxView.h"

#include "TesselSDK/tools/QZCropBoxGridView.h"
#include "TesselSDK/tools/QZCropOverlayView.h"

#include "Foundation/NSLog.h"

#include <algorithm>

void QZCropBoxView::prepareView()
{
    QZTransformableView::prepareView();
    setContentMode(UIViewContentModeRedraw);
    const std::shared_ptr<QZView>& content = contentView();
    auto grid = UIView::viewWithFrame<QZCropBoxGridView>(content->bounds());
    grid->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    content->addSubview(grid);
    setBackgroundColor(UIColor::clearColor());
}

std::shared_ptr<QZCropOverlayView> QZCropBoxView::cropOverlayView() const
{
    return std::dynamic_pointer_cast<QZCropOverlayView>(superview());
}

CGRect QZCropBoxView::contentRect() const
{
    const CGSize inset = contentViewInset();
    return CGRectInset(frame(), inset.width, inset.height);
}

void QZCropBoxView::overlayNeedsLayout() const
{
    if (auto overlay = superview()) overlay->setNeedsLayout();
}

void QZCropBoxView::setFrame(CGRect frame)
{
    QZTransformableView::setFrame(frame);
    overlayNeedsLayout();
}

void QZCropBoxView::setBounds(CGRect bounds)
{
    QZTransformableView::setBounds(bounds);
    overlayNeedsLayout();
}

void QZCropBoxView::setCenter(CGPoint center)
{
    QZTransformableView::setCenter(center);
    overlayNeedsLayout();
}

CGRect QZCropBoxView::centeredMaximumCropRect() const
{
    auto overlay = cropOverlayView();
    if (!overlay) return CGRectZero;
    return QZCGRectCenterInRect(overlay->maximumCropRect(), overlay->bounds());
}

CGPoint QZCropBoxView::canMoveToPoint(CGPoint proposed, CGPoint)
{
    if (isTransforming())
        NSLog("%s %@", "-[QZCropBoxView canMoveToPoint:fromPoint:]",
              "Shouldn't be dragging and transforming at the same time.");
    const CGRect g = contentRect();
    const CGRect mc = centeredMaximumCropRect();
    // The lower bound last: a content larger than the photo's rectangle keeps its top left on it.
    CGPoint allowed = proposed;
    allowed.y = std::min(allowed.y, CGRectGetMaxY(mc) - g.size.height / 2);
    allowed.y = std::max(allowed.y, CGRectGetMinY(mc) + g.size.height / 2);
    allowed.x = std::min(allowed.x, CGRectGetMaxX(mc) - g.size.width / 2);
    allowed.x = std::max(allowed.x, CGRectGetMinX(mc) + g.size.width / 2);
    return allowed;
}

void QZCropBoxView::applyTransformationRect()
{
    auto overlay = cropOverlayView();
    if (!overlay) return QZTransformableView::applyTransformationRect();
    CGRect t = transformationRect();
    const QZCGRectCorner anchor = transformationAnchor();
    const CGSize inset = contentViewInset();
    const CGSize least = minSize();

    const CGRect outer = CGRectInset(centeredMaximumCropRect(), -inset.width, -inset.height);

    // At least the minimum size, grown about the fixed corner. A handle dragged past the opposite
    // corner leaves sides below zero: read as a rectangle, T would then have its corners swapped,
    // and the box would jump to the finger's side instead of stopping at the minimum.
    const bool fixedRight = anchor == QZCGRectTopRightCorner || anchor == QZCGRectBottomRightCorner;
    const bool fixedBottom = anchor == QZCGRectBottomRightCorner || anchor == QZCGRectBottomLeftCorner;
    const CGPoint fixed =
        CGPointMake(t.origin.x + (fixedRight ? t.size.width : 0), t.origin.y + (fixedBottom ? t.size.height : 0));
    t.size.width = std::max(t.size.width, least.width);
    t.size.height = std::max(t.size.height, least.height);
    t.origin.x = fixedRight ? fixed.x - t.size.width : fixed.x;
    t.origin.y = fixedBottom ? fixed.y - t.size.height : fixed.y;
    const CGRect minimum = QZCGRectAlignInRect(QZCGRectWithSize(least), t, anchor);
    // What lies beyond the overlay's left or top edge is cut off; the far edge stays. A photo
    // nearer the overlay's edge than the handles' inset (a full-width photo) lets the box reach
    // the photo's own edge there, as the box fitted to it does.
    const CGFloat lowX = std::min(CGFloat(0), CGRectGetMinX(outer));
    const CGFloat lowY = std::min(CGFloat(0), CGRectGetMinY(outer));
    if (t.origin.x < lowX) t.size.width += t.origin.x - lowX;
    if (t.origin.y < lowY) t.size.height += t.origin.y - lowY;
    t.origin.x = std::min(std::max(t.origin.x, lowX), CGRectGetMaxX(outer) - least.width);
    t.origin.y = std::min(std::max(t.origin.y, lowY), CGRectGetMaxY(outer) - least.height);

    CGRect r = CGRectIntersection(outer, CGRectUnion(minimum, t));
    if (overlay->isConstrainedToProportions()) {
        const CGRect k = CGRectInset(r, inset.width, inset.height);
        const CGSize fitted = QZCGSizeScaleProportionalToSize(overlay->presetSize(), k.size, nullptr);
        const CGRect kept = CGRectIntersection(QZCGRectAlignInRect(QZCGRectWithSize(fitted), k, anchor), k);
        r = CGRectInset(kept, -inset.width, -inset.height);
    }
    // A box that started outside the photo's rectangle (never configured, or caught mid-turn) can
    // leave nothing: it stays where it is rather than take a frame that is no rectangle.
    if (CGRectIsNull(r) || CGRectIsEmpty(r)) return;
    setFrame(r);
}

bool QZCropBoxView::shouldConstrainToSize(CGSize* size)
{
    auto overlay = cropOverlayView();
    if (!overlay || !overlay->isConstrainedToProportions()) return false;
    if (size) *size = overlay->presetSize();
    return true;
}
