#include "Generators/QZRestoreButtonImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

NSImagePtr restoreButtonWithType(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                 const NSColorPtr& innerStrokeColor, const std::string& type, bool retina, bool noise)
{
    std::string suffix = retina ? "-retina" : "";
    auto named = [&](const char* layer) { return mask("restore-" + type + "-" + layer + suffix + ".png"); };
    NSImagePtr core = named("core");
    NSImagePtr dropShadow = named("drop-shadow");
    NSImagePtr shadow = named("shadow");
    NSImagePtr stroke = named("stroke");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, dropShadow, black(1), rect);
        solid(context, stroke, outerStrokeColor, rect);
        gradient(context, core, barColor, shift(barColor, -0.01), rect);
        solid(context, shadow, innerStrokeColor, rect);
        if (noise) CGContextAddNoise(context);
    });
}

}  // namespace customizer
