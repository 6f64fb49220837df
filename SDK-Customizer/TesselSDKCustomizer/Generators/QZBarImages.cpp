#include "Generators/QZBarImages.h"

#include <vector>

#include "Generators/QZGeneratorSupport.h"
#include "Render/QZDrawing.h"

namespace customizer {

using namespace generators;

namespace {

// Lines across the full width at the given heights, stroked together in one saved state and
// followed by an empty path, so no path reaches the next stroke.
void strokeLines(CGContextRef context, CGRect rect, const std::vector<CGFloat>& ys, const NSColorPtr& color, CGFloat width)
{
    if (!color) return;
    CGContextDoWithTempState(context, [&] {
        for (CGFloat y : ys) {
            context->moveToPoint(CGRectGetMinX(rect), y);
            context->addLineToPoint(CGRectGetMaxX(rect), y);
        }
        context->setLineWidth(width);
        context->setStrokeColor(color->CGColor());
        context->strokePath();
        context->beginPath();
    });
}

CGGradient gradientOf(const std::vector<NSColorPtr>& colors, const std::vector<CGFloat>& locations)
{
    std::vector<CGColor> cgColors;
    for (const NSColorPtr& color : colors) {
        if (!color) return {};
        cgColors.push_back(color->CGColor());
    }
    return CGGradientCreateWithColors(cgColors, locations);
}

}  // namespace

NSImagePtr stretchableGradientWithColorsAndSize(const NSColorPtr& topColor, const NSColorPtr& bottomColor, CGFloat width,
                                                CGFloat height)
{
    return layeredImage(CGSizeMake(width, height), [&](CGContextRef, CGRect) {
        QZDrawLinearGradientInRect(gradientOf({topColor, bottomColor}, {1.0, 0.0}), CGRectMake(0, 0, width, height),
                                   QZLinearGradientDirectionVertical);
    });
}

NSImagePtr stretchableToolBarWithMidColorAndSize(const NSColorPtr& midColor, const NSColorPtr& outerStrokeColor,
                                                 const NSColorPtr& innerStrokeColor, bool noise, CGFloat scale)
{
    return stretchableCameraBarWithMidColorAndSize(midColor, outerStrokeColor, innerStrokeColor, noise, scale, 100);
}

NSImagePtr stretchableCameraBarWithMidColorAndSize(const NSColorPtr& midColor, const NSColorPtr& outerStrokeColor,
                                                   const NSColorPtr& innerStrokeColor, bool noise, CGFloat scale,
                                                   float sideLength)
{
    CGFloat side = sideLength * scale;
    NSImagePtr body = stretchableGradientWithColorsAndSize(shift(midColor, 0.06), shift(midColor, -0.06), side, side);
    return NSImage::imageWithSize(CGSizeMake(side, side), false, [&](CGRect rect) {
        CGContextRef context = NSGraphicsContext::currentGraphicsPort();
        if (body) body->drawInRect(rect, CGRect{}, NSCompositeCopy, 1.0);
        context->setBlendMode(kCGBlendModeNormal);
        if (noise) CGContextAddNoise(context);
        strokeLines(context, rect, {CGRectGetMaxY(rect) - 0.5 * scale}, outerStrokeColor, scale);
        strokeLines(context, rect, {CGRectGetMaxY(rect) - 1.5 * scale}, innerStrokeColor, scale);
        return true;
    });
}

NSImagePtr stretchableHomeBottomBarWithMidColorStrokesSizeAndScale(const NSColorPtr& midColor,
                                                                   const NSColorPtr& outerStrokeColor,
                                                                   const NSColorPtr& innerStrokeColor, bool noise,
                                                                   CGFloat scale)
{
    CGFloat side = 125 * scale;
    return layeredImage(CGSizeMake(side, side), [&](CGContextRef context, CGRect rect) {
        CGContextDoWithTempState(context, [&] {
            CGGradient body = gradientOf({shift(midColor, 0.06), shift(midColor, -0.06), shift(midColor, -0.06)}, {1.0, 0.2, 0.0});
            QZDrawLinearGradientInRect(body, CGRectMake(0, 0, side, side), QZLinearGradientDirectionVertical);
        });
        if (noise) CGContextAddNoise(context);
        CGFloat h = CGRectGetHeight(rect);
        CGFloat yTop = CGRectGetMaxY(rect) - 0.5 * scale;
        CGFloat yDivider = 0.25 * (h - 23 * scale) + 20 * scale;
        strokeLines(context, rect, {yTop, yDivider}, outerStrokeColor, scale);
        strokeLines(context, rect, {yTop - scale}, innerStrokeColor, scale);
        strokeLines(context, rect, {yDivider - scale}, half(innerStrokeColor), scale);
    });
}

NSImagePtr stretchableNavigationBarImageWithColorAndScale(const NSColorPtr& midColor, const NSColorPtr& outerStrokeColor,
                                                          const NSColorPtr& innerStrokeColor, bool noise, CGFloat scale)
{
    CGFloat side = 44 * scale;
    return NSImage::imageWithSize(CGSizeMake(side, side), true, [&](CGRect rect) {
        CGContextRef context = NSGraphicsContext::currentGraphicsPort();
        context->setBlendMode(kCGBlendModeNormal);
        QZDrawLinearGradientInRect(gradientOf({midColor, shift(midColor, -0.01)}, {0.0, 1.0}), rect,
                                   QZLinearGradientDirectionVertical);
        if (noise) CGContextAddNoise(context);
        strokeLines(context, rect, {CGRectGetMinY(rect) + 0.5 * scale}, innerStrokeColor, scale);
        strokeLines(context, rect, {CGRectGetMaxY(rect) - 0.5 * scale}, outerStrokeColor, scale);
        return true;
    });
}

}  // namespace customizer
