// The compositor: draws a layer tree into a CGContext by the presentation values.

#include "QuartzCore/CALayerRenderer.h"

CGRect CALayerGravityRect(const std::string& gravity, CGRect b, CGSize s)
{
    if (gravity == kCAGravityResize || s.width <= 0 || s.height <= 0) return b;
    if (gravity == kCAGravityResizeAspect || gravity == kCAGravityResizeAspectFill) {
        CGFloat sx = b.size.width / s.width, sy = b.size.height / s.height;
        CGFloat k = gravity == kCAGravityResizeAspect ? std::min(sx, sy) : std::max(sx, sy);
        s = CGSizeMake(s.width * k, s.height * k);
    }
    CGFloat x = CGRectGetMidX(b) - s.width / 2, y = CGRectGetMidY(b) - s.height / 2;
    if (gravity.find("left") != std::string::npos || gravity.find("Left") != std::string::npos) x = CGRectGetMinX(b);
    if (gravity.find("right") != std::string::npos || gravity.find("Right") != std::string::npos)
        x = CGRectGetMaxX(b) - s.width;
    if (gravity.rfind("top", 0) == 0) y = CGRectGetMinY(b);
    if (gravity.rfind("bottom", 0) == 0) y = CGRectGetMaxY(b) - s.height;
    return CGRectMake(x, y, s.width, s.height);
}

void CALayer::renderInContext(CGContextRef context)
{
    if (!context) return;
    layoutIfNeeded();
    CALayerRenderer{context, CACurrentMediaTime(), nullptr}.render(*this, true);
}
