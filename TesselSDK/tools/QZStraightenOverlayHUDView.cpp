#include "TesselSDK/tools/QZStraightenOverlayHUDView.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"

void QZStraightenOverlayHUDView::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(UIColor::clearColor());
    setAlpha(0);
    setUserInteractionEnabled(false);
}

void QZStraightenOverlayHUDView::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    const CGRect b = bounds();
    const CGFloat minX = CGRectGetMinX(b), minY = CGRectGetMinY(b), maxX = CGRectGetMaxX(b), maxY = CGRectGetMaxY(b);
    const CGFloat column = b.size.width / 8, row = b.size.height / 8;

    CGContextSetStrokeColorWithColor(context, UIColor::whiteColor()->CGColor());
    CGContextStrokeRect(context, CGRectInset(b, 0.5f, 0.5f));

    // The eighths, leaving out the middle lines the centre cross draws.
    CGMutablePathRef grid = CGPathCreateMutable();
    for (int i : {1, 2, 3, 5, 6, 7}) {
        CGPathMoveToPoint(grid, nullptr, minX + CGFloat(i) * column, minY);
        CGPathAddLineToPoint(grid, nullptr, minX + CGFloat(i) * column, maxY);
        CGPathMoveToPoint(grid, nullptr, minX, minY + CGFloat(i) * row);
        CGPathAddLineToPoint(grid, nullptr, maxX, minY + CGFloat(i) * row);
    }
    CGContextSetStrokeColorWithColor(context, UIColor::colorWithWhite(1, 0.5f)->CGColor());
    CGContextAddPath(context, grid);
    CGContextStrokePath(context);
    CGPathRelease(grid);

    CGMutablePathRef cross = CGPathCreateMutable();
    CGPathMoveToPoint(cross, nullptr, CGRectGetMidX(b), minY);
    CGPathAddLineToPoint(cross, nullptr, CGRectGetMidX(b), maxY);
    CGPathMoveToPoint(cross, nullptr, minX, CGRectGetMidY(b));
    CGPathAddLineToPoint(cross, nullptr, maxX, CGRectGetMidY(b));
    CGContextSetStrokeColorWithColor(context, UIColor::whiteColor()->CGColor());
    CGContextAddPath(context, cross);
    CGContextStrokePath(context);
    CGPathRelease(cross);
}
