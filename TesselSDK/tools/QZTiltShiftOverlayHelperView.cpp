#include "TesselSDK/tools/QZTiltShiftOverlayHelperView.h"

#include "TesselSDK/tools/QZTiltShiftOverlayView.h"

#include "TesselSDKFoundation/QZGeometry.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kGuideLineWidth = 4;
// The centre mark's ring, as a share of the view's longer side, and how far its ticks reach.
constexpr CGFloat kCenterMarkShare = 0.02f;
constexpr CGFloat kTickReach = 1.5f;

// White, 4 wide, antialiased: the look every stroke of the guide shares.
void prepareStroke(CGContextRef context)
{
    CGContextSetStrokeColorWithColor(context, UIColor::whiteColor()->CGColor());
    CGContextSetLineWidth(context, kGuideLineWidth);
    CGContextSetShouldAntialias(context, true);
}

}  // namespace

void QZTiltShiftOverlayHelperView::drawRect(CGRect)
{
    // The base draws nothing; calling it would mark this view as drawing nothing.
    auto host = hostView();
    if (!host) return;
    if (host->tiltShiftStyle() != QZTiltShiftStyleRadial)
        drawLinear();
    else
        drawRadial();
}

void QZTiltShiftOverlayHelperView::drawRadial()
{
    auto host = hostView();
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!host || !context) return;
    const CGPoint c = host->tiltShiftCenter();
    const CGFloat r = host->radius();
    CGContextSaveGState(context);
    prepareStroke(context);
    CGContextStrokeEllipseInRect(context, CGRectMake(c.x - r, c.y - r, 2 * r, 2 * r));
    drawCenterCircleWithContext(context);
    CGContextRestoreGState(context);
}

void QZTiltShiftOverlayHelperView::drawCenterCircleWithContext(CGContextRef context)
{
    auto host = hostView();
    if (!host || !context) return;
    const CGSize size = bounds().size;
    const CGFloat k = std::max(kCenterMarkShare * size.width, kCenterMarkShare * size.height);
    const CGFloat reach = kTickReach * k;
    const CGPoint c = host->tiltShiftCenter();
    CGContextSaveGState(context);
    prepareStroke(context);
    CGContextStrokeEllipseInRect(context, CGRectMake(c.x - k, c.y - k, 2 * k, 2 * k));
    CGContextBeginPath(context);
    CGContextMoveToPoint(context, c.x + k, c.y);
    CGContextAddLineToPoint(context, c.x + reach, c.y);
    CGContextMoveToPoint(context, c.x - k, c.y);
    CGContextAddLineToPoint(context, c.x - reach, c.y);
    CGContextMoveToPoint(context, c.x, c.y + k);
    CGContextAddLineToPoint(context, c.x, c.y + reach);
    CGContextStrokePath(context);
    CGContextBeginPath(context);
    CGContextMoveToPoint(context, c.x, c.y - k);
    CGContextAddLineToPoint(context, c.x, c.y - reach);
    CGContextStrokePath(context);
    CGContextRestoreGState(context);
}

void QZTiltShiftOverlayHelperView::drawLinear()
{
    auto host = hostView();
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!host || !context) return;
    const CGPoint c = host->tiltShiftCenter();
    const CGFloat r = host->radius();
    const CGFloat a = host->rotation();
    const CGSize size = bounds().size;
    // Long enough to cross the whole view at any angle from any midpoint inside it.
    const CGFloat length = 2 * std::sqrt(size.width * size.width + size.height * size.height);
    const CGPoint offset = CGPointMake(r * std::sin(a), -r * std::cos(a));
    const QZCGLine edges[] = {
        QZCGLineWithMidPointLengthAndAngle(CGPointMake(c.x + offset.x, c.y + offset.y), length, a),
        QZCGLineWithMidPointLengthAndAngle(CGPointMake(c.x - offset.x, c.y - offset.y), length, a),
    };
    CGContextSaveGState(context);
    prepareStroke(context);
    CGContextBeginPath(context);
    for (const QZCGLine& edge : edges) {
        CGContextMoveToPoint(context, edge.p1.x, edge.p1.y);
        CGContextAddLineToPoint(context, edge.p2.x, edge.p2.y);
    }
    CGContextStrokePath(context);
    CGContextRestoreGState(context);
}
