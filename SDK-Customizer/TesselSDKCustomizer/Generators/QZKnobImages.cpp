#include "Generators/QZKnobImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

namespace {

struct KnobMasks {
    NSImagePtr stroke, dropShadow, core, bezel;
};

KnobMasks knobMasks(const std::string& prefix)
{
    return {mask(prefix + "stroke.png"), mask(prefix + "drop_shadow.png"), mask(prefix + "core.png"), mask(prefix + "bezel.png")};
}

void drawKnob(CGContextRef context, CGRect rect, const KnobMasks& masks, const NSColorPtr& handleColor,
              const NSColorPtr& bezelTopColor, const NSColorPtr& bezelBottomColor, const NSColorPtr& strokeColor,
              const NSColorPtr& shadowColor)
{
    solid(context, masks.dropShadow, shadowColor, rect);
    solid(context, masks.stroke, strokeColor, rect);
    gradient(context, masks.bezel, bezelTopColor, bezelBottomColor, rect);
    solid(context, masks.core, handleColor, rect);
}

}  // namespace

NSImagePtr sliderKnobWithColors(const NSColorPtr& handleColor, const NSColorPtr& bezelTopColor,
                                const NSColorPtr& bezelBottomColor, const NSColorPtr& strokeColor,
                                const NSColorPtr& shadowColor)
{
    KnobMasks masks = knobMasks("knob_");
    return layeredImage(sizeOf(masks.bezel), [&](CGContextRef context, CGRect rect) {
        drawKnob(context, rect, masks, handleColor, bezelTopColor, bezelBottomColor, strokeColor, shadowColor);
    });
}

NSImagePtr smallKnobWithColorsAndStyle(const NSColorPtr& handleColor, const NSColorPtr& bezelTopColor,
                                       const NSColorPtr& bezelBottomColor, const NSColorPtr& strokeColor,
                                       const NSColorPtr& shadowColor, const std::optional<std::string>& style)
{
    KnobMasks masks = knobMasks("knob_small_");
    NSImagePtr arrowCore, arrowDropShadow, arrowShadow;
    if (style) {
        arrowCore = mask(*style + "_arrow_core.png");
        arrowDropShadow = mask(*style + "_arrow_drop_shadow.png");
        arrowShadow = mask(*style + "_arrow_shadow.png");
    }
    return layeredImage(sizeOf(masks.bezel), [&](CGContextRef context, CGRect rect) {
        drawKnob(context, rect, masks, handleColor, bezelTopColor, bezelBottomColor, strokeColor, shadowColor);
        if (!style) return;
        context->setBlendMode(kCGBlendModeNormal);
        overlay(context, [&] { solid(context, arrowDropShadow, white(0.5), rect); });
        solid(context, arrowCore, shift(handleColor, -0.1), rect);
        solid(context, arrowShadow, black(0.25), rect);
    });
}

}  // namespace customizer
