#include "TesselSDK/packs/QZDrawIAPContainerLip.h"

#include "CoreGraphics/CGContext.h"
#include "UIKit/UIBezierPath.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"

#include <cmath>

namespace {
constexpr CGFloat kCornerRadius = 4;
}  // namespace

void QZDrawIAPContainerLip(CGRect bounds, CGFloat height)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    const CGRect lip = CGRectMake(bounds.origin.x, CGRectGetMaxY(bounds) - height, bounds.size.width, height);
    // Square at the top, where it meets the table; rounded at the bottom corners.
    auto path = UIBezierPath::bezierPath();
    const CGFloat left = CGRectGetMinX(lip), right = CGRectGetMaxX(lip);
    const CGFloat top = CGRectGetMinY(lip), bottom = CGRectGetMaxY(lip);
    path->moveToPoint(CGPointMake(left, top));
    path->addLineToPoint(CGPointMake(right, top));
    path->addLineToPoint(CGPointMake(right, bottom - kCornerRadius));
    path->addArcWithCenter(CGPointMake(right - kCornerRadius, bottom - kCornerRadius), kCornerRadius, 0, float(M_PI_2),
                           true);
    path->addLineToPoint(CGPointMake(left + kCornerRadius, bottom));
    path->addArcWithCenter(CGPointMake(left + kCornerRadius, bottom - kCornerRadius), kCornerRadius, float(M_PI_2),
                           float(M_PI), true);
    path->closePath();
    CGContextSaveGState(context);
    CGContextSetShadowWithColor(context, CGSizeMake(0, 10), 1, UIColor::colorWithWhite(0, 0.33f)->CGColor());
    UIColor::whiteColor()->setFill();
    path->fill();
    CGContextRestoreGState(context);
}
