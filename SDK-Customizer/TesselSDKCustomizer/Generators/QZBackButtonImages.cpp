#include "Generators/QZBackButtonImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

NSImagePtr stretchableBackButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerShadowColor, bool active, CGFloat scale)
{
    std::string prefix = scale > 1.01 ? "retina_back_" : "back_";
    NSImagePtr core = mask(prefix + "core.png");
    NSImagePtr shadow = mask(prefix + "shadow.png");
    NSImagePtr stroke = mask(prefix + "stroke.png");
    CGFloat d = active ? 0.06 : -0.06;
    return layeredImage(sizeOf(stroke), [&](CGContextRef context, CGRect rect) {
        solid(context, stroke, strokeColor, rect);
        gradient(context, core, shift(color, -d), shift(color, d), rect);
        if (!active) overlay(context, [&] { solid(context, shadow, innerShadowColor, rect); });
        else solid(context, shadow, strokeColor, rect);
    });
}

NSImagePtr stretchableBackButtonWithColorsAndScale(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                   const NSColorPtr& innerShadowColor, CGFloat scale)
{
    return stretchableBackButtonWithColorsScaleAndState(color, strokeColor, innerShadowColor, false, scale);
}

NSImagePtr stretchableActiveBackButtonWithColorsSizeAndScale(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                             const NSColorPtr& innerShadowColor, CGFloat, CGFloat,
                                                             CGFloat scale)
{
    return stretchableBackButtonWithColorsScaleAndState(color, strokeColor, innerShadowColor, true, scale);
}

}  // namespace customizer
