#include "Generators/QZSelectionStripImages.h"

#include <string>

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

namespace {

NSImagePtr selectionBackground(const std::string& prefix, const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                               const NSColorPtr& innerStrokeColor, const NSImagePtr& overImage)
{
    NSImagePtr core = mask(prefix + "core.png");
    NSImagePtr shadow = mask(prefix + "shadow.png");
    NSImagePtr stroke = mask(prefix + "stroke.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        gradient(context, nullptr, shift(barColor, 0.06), shift(barColor, -0.06), rect);
        solid(context, stroke, outerStrokeColor, rect);
        solid(context, shadow, innerStrokeColor, rect);
        if (overImage) overImage->drawInRect(rect, CGRect{}, NSCompositeSourceOver, 1.0);
    });
}

}  // namespace

NSImagePtr colorChipImageWithColor(const NSColorPtr& chipColor, const NSColorPtr& strokeColor)
{
    NSImagePtr core = mask("color_chip_core.png");
    NSImagePtr chipGradient = mask("color_chip_gradient.png");
    NSImagePtr shadow = mask("color_chip_shadow.png");
    NSImagePtr stroke = mask("color_chip_stroke.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, core, chipColor, rect);
        if (chipGradient) chipGradient->drawInRect(rect, CGRect{}, NSCompositeDestinationOver, 1.0);
        solid(context, stroke, strokeColor, rect);
        context->setBlendMode(kCGBlendModeOverlay);
        solid(context, shadow, white(1), rect);
    });
}

NSImagePtr stretchableActivePillWithColors(const NSColorPtr& gradientTopColor, const NSColorPtr& gradientBottomColor,
                                           const NSColorPtr& strokeColor)
{
    NSImagePtr core = mask("selected_core.png");
    NSImagePtr stroke = mask("selected_stroke.png");
    NSImagePtr shadow = mask("selected_shadow.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, stroke, strokeColor, rect);
        gradient(context, core, gradientTopColor, gradientBottomColor, rect);
        overlay(context, [&] { solid(context, shadow, white(1), rect); });
    });
}

NSImagePtr stretchableSelectionBackgroundWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                    const NSColorPtr& innerStrokeColor)
{
    return selectionBackground("main_", barColor, outerStrokeColor, innerStrokeColor, nullptr);
}

NSImagePtr stretchableShelfSelectionBackgroundWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                         const NSColorPtr& innerStrokeColor)
{
    return selectionBackground("shelf_", barColor, outerStrokeColor, innerStrokeColor, mask("shelf_gradient.png"));
}

}  // namespace customizer
