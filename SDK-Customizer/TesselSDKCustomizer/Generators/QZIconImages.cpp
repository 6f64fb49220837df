#include "Generators/QZIconImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

NSImagePtr iconWithNameColorsAndState(const std::string& name, const NSColorPtr& dropShadowOrGlowColor,
                                      const NSColorPtr& strokeColor, const NSColorPtr& gradientTopColor,
                                      const NSColorPtr& gradientBottomColor, const NSColorPtr& innerShadowColor,
                                      bool highlighted)
{
    NSImagePtr core = mask(name + "_core.png");
    NSImagePtr shadow = mask(name + "_shadow.png");
    NSImagePtr stroke = mask(name + "_stroke.png");
    NSImagePtr under = mask(name + (highlighted ? "_glow.png" : "_drop_shadow.png"));
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, under, dropShadowOrGlowColor, rect);
        solid(context, stroke, strokeColor, rect);
        gradient(context, core, gradientTopColor, gradientBottomColor, rect);
        overlay(context, [&] { solid(context, shadow, innerShadowColor, rect); });
    });
}

}  // namespace customizer
