#include "QuartzCore/CAShapeLayer.h"

#include "CoreGraphics/CGObjectValue.h"

CAShapeLayer::~CAShapeLayer()
{
    if (path_) CGPathRelease(path_);
    if (fillColor_) CGColorRelease(fillColor_);
}

void CAShapeLayer::initShape()
{
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    const CGFloat black[4] = {0, 0, 0, 1};
    fillColor_ = CGColorCreate(space, black);
    CGColorSpaceRelease(space);
}

void CAShapeLayer::setPath(CGPathRef path)
{
    if (path) CGPathRetain(path);
    if (path_) CGPathRelease(path_);
    path_ = path;
    noteChange();
}

void CAShapeLayer::setFillColor(CGColorRef color)
{
    if (color) CGColorRetain(color);
    if (fillColor_) CGColorRelease(fillColor_);
    fillColor_ = color;
    noteChange();
}

Value CAShapeLayer::valueForKeyPath(const std::string& keyPath) const
{
    if (keyPath == "fillColor") return CGObjectValue::valueWithCGColor(fillColor_);
    return CALayer::valueForKeyPath(keyPath);
}

void CAShapeLayer::drawOwnContent(CGContextRef context, double time)
{
    if (!path_) return;
    // The value owns the colour while it is drawn.
    const Value fill = presentationValueForKeyPath("fillColor", time);
    CGColorRef color = CGObjectValue::CGColorFromValue(fill);
    if (!color) return;
    CGContextSaveGState(context);
    CGContextSetFillColorWithColor(context, color);
    CGContextAddPath(context, path_);
    if (fillRule_ == kCAFillRuleEvenOdd)
        CGContextEOFillPath(context);
    else
        CGContextFillPath(context);
    CGContextRestoreGState(context);
}
