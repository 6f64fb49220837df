#include "QuartzCore/CAShapeLayer.h"

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
}

void CAShapeLayer::setFillColor(CGColorRef color)
{
    if (color) CGColorRetain(color);
    if (fillColor_) CGColorRelease(fillColor_);
    fillColor_ = color;
}

void CAShapeLayer::drawOwnContent(CGContextRef context, double)
{
    if (!path_ || !fillColor_) return;
    CGContextSaveGState(context);
    CGContextSetFillColorWithColor(context, fillColor_);
    CGContextAddPath(context, path_);
    if (fillRule_ == kCAFillRuleEvenOdd)
        CGContextEOFillPath(context);
    else
        CGContextFillPath(context);
    CGContextRestoreGState(context);
}
