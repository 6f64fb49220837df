#include "TesselSDKFoundation/QZDrawingUtils.h"

#include "UIKit/UIGraphics.h"

std::shared_ptr<UIColor> QZDrawingUtils::standardBackgroundColorMultiplied(CGFloat mul)
{
    return UIColor::colorWithWhite(0.9372f * mul, mul);
}

std::shared_ptr<UIColor> QZDrawingUtils::standardBackgroundColor() { return standardBackgroundColorMultiplied(1.0f); }
std::shared_ptr<UIColor> QZDrawingUtils::darkenedStandardBackgroundColor() { return standardBackgroundColorMultiplied(0.92f); }

std::shared_ptr<UIColor> QZDrawingUtils::standardHighlightColorWithOpacity(CGFloat alpha)
{
    return UIColor::colorWithRed(0, 0.462f, 0.905f, alpha);
}

std::shared_ptr<UIColor> QZDrawingUtils::standardHighlightColor() { return standardHighlightColorWithOpacity(1.0f); }

void QZDrawingUtils::doWhileClippedToPath(const UIBezierPath& path, const std::function<void()>& draw)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGContextSaveGState(context);
    CGContextBeginPath(context);
    CGContextAddPath(context, path.CGPath());
    if (path.usesEvenOddFillRule())
        CGContextEOClip(context);
    else
        CGContextClip(context);
    if (draw) draw();
    CGContextRestoreGState(context);
}

void QZDrawingUtils::drawLinearGradientInPath(const UIBezierPath& path, const std::vector<std::shared_ptr<UIColor>>& colors,
                                              const std::vector<CGFloat>& locations, CGPoint from, CGPoint to,
                                              uint32_t options)
{
    if (!locations.empty() && locations.size() != colors.size()) return;
    doWhileClippedToPath(path, [&] {
        std::vector<CGColorRef> cgColors;
        for (const auto& color : colors) cgColors.push_back(color ? color->CGColor() : nullptr);
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGGradientRef gradient = CGGradientCreateWithColors(space, cgColors, locations.empty() ? nullptr : locations.data());
        CGColorSpaceRelease(space);
        CGContextDrawLinearGradient(UIGraphicsGetCurrentContext(), gradient, from, to, options);
        CGGradientRelease(gradient);
    });
}

void QZDrawingUtils::drawInnerGlowWithShape(const UIBezierPath& shape, const std::shared_ptr<UIColor>& color, CGFloat radius)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || shape.isEmpty()) return;
    CGContextSaveGState(context);
    auto ring = UIBezierPath::bezierPathWithRect(CGRectInset(shape.bounds(), -10000, -10000));
    ring->closePath();
    ring->moveToPoint(CGPointMake(0, 0));
    ring->appendPath(shape);
    ring->closePath();
    ring->setUsesEvenOddFillRule(true);
    shape.addClip();
    CGContextSetShadowWithColor(context, CGSizeMake(0, 0), radius, color ? color->CGColor() : nullptr);
    // The ring lies outside the clip: only its shadow shows, inside the shape.
    if (color) color->setFill();
    ring->fill();
    CGContextRestoreGState(context);
}

std::shared_ptr<CAShapeLayer> QZDrawingUtils::innerGlowLayerForLayer(const CALayer& layer, const UIBezierPath& path,
                                                                     const std::shared_ptr<UIColor>& color,
                                                                     CGFloat radius)
{
    auto glow = CAShapeLayer::layer();
    glow->setFrame(layer.bounds());
    // Everything but the path is filled; its shadow falls inwards across the path's edge.
    CGMutablePathRef ring = CGPathCreateMutable();
    CGPathAddRect(ring, nullptr, CGRectInset(layer.bounds(), -999999, -999999));
    CGPathMoveToPoint(ring, nullptr, 0, 0);
    CGPathAddPath(ring, nullptr, path.CGPath());
    CGPathCloseSubpath(ring);
    glow->setPath(ring);
    CGPathRelease(ring);
    glow->setFillRule(kCAFillRuleEvenOdd);
    glow->setFillColor(UIColor::blueColor()->CGColor());
    glow->setOpaque(false);
    glow->setShadowColor(color ? color->CGColor() : nullptr);
    glow->setShadowOffset(CGSizeMake(0, 0));
    glow->setShadowRadius(radius);
    glow->setShadowOpacity(0.8f);
    auto mask = CAShapeLayer::layer();
    mask->setPath(path.CGPath());
    glow->setMask(mask);
    return glow;
}
