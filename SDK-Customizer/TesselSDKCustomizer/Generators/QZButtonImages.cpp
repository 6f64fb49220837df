#include "Generators/QZButtonImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

NSImagePtr stretchableButtonWithColorsSizeScaleAndState(const NSColorPtr& gradientTopColor,
                                                        const NSColorPtr& gradientBottomColor, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerShadowColor, bool active)
{
    NSImagePtr core = mask("button_core.png");
    NSImagePtr pressed = mask("button_pressed.png");
    NSImagePtr shadow = mask("button_shadow.png");
    NSImagePtr stroke = mask("button_stroke.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, stroke, strokeColor, rect);
        if (!active) {
            gradient(context, core, gradientTopColor, gradientBottomColor, rect);
            overlay(context, [&] { solid(context, shadow, innerShadowColor, rect); });
        } else {
            gradient(context, core, gradientBottomColor, gradientTopColor, rect);
            solid(context, pressed, innerShadowColor, rect);
        }
    });
}

NSImagePtr stretchableApplyButtonWithColorsSizeAndScale(const NSColorPtr& gradientTopColor,
                                                        const NSColorPtr& gradientBottomColor, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerShadowColor)
{
    return stretchableButtonWithColorsSizeScaleAndState(gradientTopColor, gradientBottomColor, strokeColor, innerShadowColor,
                                                        false);
}

NSImagePtr stretchableActiveApplyButtonWithColorsSizeAndScale(const NSColorPtr& gradientTopColor,
                                                              const NSColorPtr& gradientBottomColor,
                                                              const NSColorPtr& strokeColor)
{
    return stretchableButtonWithColorsSizeScaleAndState(gradientTopColor, gradientBottomColor, strokeColor, nullptr, true);
}

NSImagePtr stretchableCancelButtonWithColorsSizeAndScale(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                         const NSColorPtr& innerShadowColor)
{
    return stretchableButtonWithColorsSizeScaleAndState(shift(color, 0.06), shift(color, -0.06), strokeColor,
                                                        innerShadowColor, false);
}

NSImagePtr stretchableActiveCancelButtonWithColorsSizeAndScale(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                               const NSColorPtr& innerShadowColor)
{
    return stretchableButtonWithColorsSizeScaleAndState(shift(color, 0.06), shift(color, -0.06), strokeColor,
                                                        innerShadowColor, true);
}

}  // namespace customizer
