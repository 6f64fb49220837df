#include "Render/QZDrawing.h"

#include "Render/NSGraphicsContext.h"

namespace customizer {

void QZDrawLinearGradientInRectWithOptions(const CGGradient& gradient, CGRect rect, QZLinearGradientDirection direction,
                                           unsigned options)
{
    CGContextRef context = NSGraphicsContext::currentGraphicsPort();
    if (!context) return;
    CGPoint start = CGPointMake(CGRectGetMinX(rect), CGRectGetMinY(rect));
    CGPoint end;
    switch (direction) {
    case QZLinearGradientDirectionHorizontal: end = CGPointMake(CGRectGetMaxX(rect), CGRectGetMinY(rect)); break;
    case QZLinearGradientDirectionVertical: end = CGPointMake(CGRectGetMinX(rect), CGRectGetMaxY(rect)); break;
    default: return;
    }
    context->drawLinearGradient(gradient, start, end, options);
}

void QZDrawLinearGradientInRect(const CGGradient& gradient, CGRect rect, QZLinearGradientDirection direction)
{
    QZDrawLinearGradientInRectWithOptions(gradient, rect, direction,
                                          kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
}

}  // namespace customizer
