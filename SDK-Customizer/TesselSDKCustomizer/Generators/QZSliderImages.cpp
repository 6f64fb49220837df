#include "Generators/QZSliderImages.h"

#include "Generators/QZGeneratorSupport.h"
#include "Render/QZDrawing.h"

namespace customizer {

using namespace generators;

NSImagePtr sliderImageWithColorsAndSuffux(const NSColorPtr& trackColor, const NSColorPtr& strokeColor,
                                          const std::string& suffix)
{
    NSImagePtr outerCore = mask("outer_core" + suffix);
    NSImagePtr outerShadow = mask("outer_shadow" + suffix);
    NSImagePtr outerStroke = mask("outer_stroke" + suffix);
    NSImagePtr innerCore = mask("inner_core" + suffix);
    NSImagePtr innerShadow = mask("inner_shadow" + suffix);
    NSImagePtr innerStroke = mask("inner_stroke" + suffix);
    NSColorPtr opaqueBlack = NSColor::colorWithCalibratedRed(0, 0, 0, 1);
    return layeredImage(sizeOf(outerStroke), [&](CGContextRef context, CGRect rect) {
        solid(context, outerStroke, strokeColor, rect);
        gradient(context, outerCore, shift(trackColor, 0.03), shift(trackColor, 0.1), rect);
        solid(context, outerShadow, opaqueBlack, rect);
        solid(context, innerStroke, strokeColor, rect);
        solid(context, innerCore, shift(trackColor, -0.06), rect);
        solid(context, innerShadow, opaqueBlack, rect);
    });
}

NSImagePtr sliderLeftCapWithColors(const NSColorPtr& trackColor, const NSColorPtr& strokeColor)
{
    return sliderImageWithColorsAndSuffux(trackColor, strokeColor, "_l");
}

NSImagePtr sliderRightCapWithColors(const NSColorPtr& trackColor, const NSColorPtr& strokeColor)
{
    return sliderImageWithColorsAndSuffux(trackColor, strokeColor, "_r");
}

NSImagePtr sliderStretchableImageWithColors(const NSColorPtr& trackColor, const NSColorPtr& strokeColor)
{
    return sliderImageWithColorsAndSuffux(trackColor, strokeColor, "");
}

NSImagePtr sliderCenterWithColors(const NSColorPtr& trackColor, const NSColorPtr& strokeColor)
{
    return sliderImageWithColorsAndSuffux(trackColor, strokeColor, "_c");
}

NSImagePtr sliderActiveCoreWithColorsStateAndSuffux(const NSColorPtr& gradientTopColor,
                                                    const NSColorPtr& gradientBottomColor, const NSColorPtr& strokeColor,
                                                    bool active, const std::string& suffix)
{
    NSImagePtr core = mask("goo_core" + suffix);
    NSImagePtr stroke = mask("goo_stroke" + suffix);
    NSImagePtr shadow = mask("goo_shadow" + suffix);
    NSImagePtr glow = mask("goo_glow" + suffix);
    return layeredImage(sizeOf(glow), [&](CGContextRef context, CGRect rect) {
        if (active) solid(context, glow, gradientTopColor, rect);
        solid(context, stroke, strokeColor, rect);
        CGContextDoWithTempState(context, [&] {
            if (!gradientTopColor || !gradientBottomColor) return;
            if (core) context->clipToMask(rect, core->CGImage());
            CGGradient body = CGGradientCreateWithColors({gradientTopColor->CGColor(), gradientBottomColor->CGColor()}, {1.0, 0.0});
            QZDrawLinearGradientInRectWithOptions(body, CGRectInset(rect, 0, 40), QZLinearGradientDirectionVertical,
                                                  kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
        });
        overlay(context, [&] { solid(context, shadow, white(0.6), rect); });
    });
}

NSImagePtr sliderLeftActiveCoreWithColorsAndState(const NSColorPtr& gradientTopColor, const NSColorPtr& gradientBottomColor,
                                                  const NSColorPtr& strokeColor, bool active)
{
    return sliderActiveCoreWithColorsStateAndSuffux(gradientTopColor, gradientBottomColor, strokeColor, active, "_l");
}

NSImagePtr sliderRightActiveCoreWithColorsAndState(const NSColorPtr& gradientTopColor, const NSColorPtr& gradientBottomColor,
                                                   const NSColorPtr& strokeColor, bool active)
{
    return sliderActiveCoreWithColorsStateAndSuffux(gradientTopColor, gradientBottomColor, strokeColor, active, "_r");
}

}  // namespace customizer
