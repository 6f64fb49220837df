#include "QuartzCore/CAGradientLayer.h"

#include "CoreGraphics/CGGradient.h"

CAGradientLayer::~CAGradientLayer()
{
    for (CGColorRef c : colors_) CGColorRelease(c);
}

void CAGradientLayer::setColors(const std::vector<CGColorRef>& colors)
{
    for (CGColorRef c : colors) CGColorRetain(c);
    for (CGColorRef c : colors_) CGColorRelease(c);
    colors_ = colors;
    noteChange();
}

void CAGradientLayer::drawOwnContent(CGContextRef context, double)
{
    if (colors_.empty()) return;
    // Locations that do not match the colours one to one spread the colours evenly.
    std::vector<CGFloat> locations = locations_;
    if (locations.size() != colors_.size()) {
        locations.clear();
        for (size_t i = 0; i < colors_.size(); ++i)
            locations.push_back(colors_.size() == 1 ? 0 : CGFloat(i) / CGFloat(colors_.size() - 1));
    }
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGGradientRef gradient = CGGradientCreateWithColors(space, colors_, locations.data());
    CGColorSpaceRelease(space);
    if (!gradient) return;
    CGRect b = bounds();
    CGPoint start = CGPointMake(b.origin.x + startPoint_.x * b.size.width, b.origin.y + startPoint_.y * b.size.height);
    CGPoint end = CGPointMake(b.origin.x + endPoint_.x * b.size.width, b.origin.y + endPoint_.y * b.size.height);
    CGContextSaveGState(context);
    CGContextClipToRect(context, b);
    CGContextDrawLinearGradient(context, gradient, start, end, 0);
    CGContextRestoreGState(context);
    CGGradientRelease(gradient);
}
