#include "Generators/QZConveyorImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

NSImagePtr stretchableConveryorBackgroundWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                    const NSColorPtr& innerStrokeColor, bool active, bool adjacent,
                                                    bool half)
{
    std::string prefix = half ? "conveyor_half_" : "conveyor_";
    NSImagePtr core = mask(prefix + "core.png");
    NSImagePtr insetShadow = mask(prefix + "inset_shadow.png");
    NSImagePtr shadow = mask(prefix + "shadow.png");
    NSImagePtr pressedShadow = mask(prefix + "pressed_shadow.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        CGContextDoWithTempState(context, [&] { solid(context, nullptr, shift(barColor, -0.03), rect); });
        if (active) {
            CGContextDoWithTempState(context, [&] {
                context->setBlendMode(kCGBlendModeNormal);
                solid(context, nullptr, black(0.2), rect);
            });
        }
        context->setBlendMode(kCGBlendModeNormal);
        solid(context, insetShadow, active ? outerStrokeColor : generators::half(innerStrokeColor), rect);
        solid(context, shadow, adjacent ? generators::half(innerStrokeColor) : outerStrokeColor, rect);
        if (active) solid(context, pressedShadow, black(1), rect);
    });
}

NSImagePtr conveyorOverlayWithColorsAndStyle(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                             const NSColorPtr& innerStrokeColor, const std::string& style)
{
    NSImagePtr core = mask(style + "_core.png");
    NSImagePtr darken = mask(style + "_darken.png");
    NSImagePtr dropShadow = mask(style + "_drop_shadow.png");
    NSImagePtr stroke = mask(style + "_stroke.png");
    NSImagePtr shadow = mask(style + "_shadow.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, darken, black(0.1), rect);
        solid(context, dropShadow, black(1), rect);
        solid(context, stroke, outerStrokeColor, rect);
        CGContextDoWithTempState(context, [&] { gradient(context, core, shift(barColor, 0.06), shift(barColor, -0.06), rect); });
        context->setBlendMode(kCGBlendModeNormal);
        solid(context, shadow, half(innerStrokeColor), rect);
    });
}

NSImagePtr singleConveyorCenterOverlayWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                 const NSColorPtr& innerStrokeColor)
{
    return conveyorOverlayWithColorsAndStyle(barColor, outerStrokeColor, innerStrokeColor, "single_center");
}

NSImagePtr singleConveyorStretchableOverlayWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                      const NSColorPtr& innerStrokeColor)
{
    return conveyorOverlayWithColorsAndStyle(barColor, outerStrokeColor, innerStrokeColor, "single_stretch");
}

NSImagePtr splitConveyorCenterOverlayWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                const NSColorPtr& innerStrokeColor)
{
    return conveyorOverlayWithColorsAndStyle(barColor, outerStrokeColor, innerStrokeColor, "split_center");
}

NSImagePtr splitConveyorStretchableOverlayWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                     const NSColorPtr& innerStrokeColor)
{
    return conveyorOverlayWithColorsAndStyle(barColor, outerStrokeColor, innerStrokeColor, "split_stretch");
}

}  // namespace customizer
