#include "Generators/QZSegmentedButtonImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

NSImagePtr segmentedButtonWithColorsStateAndStyle(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                  const NSColorPtr& innerStrokeColor, bool active, const std::string& style)
{
    NSImagePtr core = mask("radio_core" + style + ".png");
    NSImagePtr shadow = mask("radio_shadow" + style + ".png");
    NSImagePtr stroke = mask("radio_stroke" + style + ".png");
    NSImagePtr dropShadow = mask("radio_drop_shadow" + style + ".png");
    NSImagePtr pressed = mask("radio_pressed" + style + ".png");
    NSImagePtr pressedGlow = mask("radio_pressed_glow" + style + ".png");
    NSImagePtr pressedDropShadow = mask("radio_drop_shadow_pressed" + style + ".png");
    NSColorPtr opaqueBlack = NSColor::colorWithCalibratedRed(0, 0, 0, 1);
    return layeredImage(sizeOf(stroke), [&](CGContextRef context, CGRect rect) {
        if (!active) solid(context, dropShadow, opaqueBlack, rect);
        solid(context, stroke, strokeColor, rect);
        if (active) solid(context, core, shift(color, -0.15), rect);
        else gradient(context, core, shift(color, -0.03), shift(color, -0.11), rect);
        solid(context, shadow, active ? strokeColor : innerStrokeColor, rect);
        if (active) {
            solid(context, pressed, opaqueBlack, rect);
            overlay(context, [&] { solid(context, pressedGlow, white(1), rect); });
            if (pressedDropShadow) solid(context, pressedDropShadow, opaqueBlack, rect);
            return;
        }
        CGContextDoWithTempState(context, [&] {
            if (!strokeColor) return;
            if (core) context->clipToMask(rect, core->CGImage());
            context->moveToPoint(CGRectGetMinX(rect) + 4, CGRectGetMinY(rect));
            context->addLineToPoint(CGRectGetMinX(rect) + 4, CGRectGetMaxY(rect));
            context->setLineWidth(8);
            context->setStrokeColor(strokeColor->CGColor());
            context->strokePath();
        });
    });
}

NSImagePtr rightSegmentedButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                       const NSColorPtr& innerStrokeColor, bool active)
{
    return segmentedButtonWithColorsStateAndStyle(color, strokeColor, innerStrokeColor, active, "_r");
}

NSImagePtr centerSegmentedButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerStrokeColor, bool active)
{
    return segmentedButtonWithColorsStateAndStyle(color, strokeColor, innerStrokeColor, active, "");
}

NSImagePtr leftSegmentedButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                      const NSColorPtr& innerStrokeColor, bool active)
{
    return segmentedButtonWithColorsStateAndStyle(color, strokeColor, innerStrokeColor, active, "_l");
}

NSImagePtr singleSegmentedButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerStrokeColor, bool active)
{
    return segmentedButtonWithColorsStateAndStyle(color, strokeColor, innerStrokeColor, active, "_s");
}

}  // namespace customizer
