#include "Generators/QZCanvasImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

NSImagePtr tileableCanvasImageWithColor(const NSColorPtr& color, bool noise, CGFloat scale)
{
    return layeredImage(CGSizeMake(100 * scale, 100 * scale), [&](CGContextRef context, CGRect rect) {
        CGContextDoWithTempState(context, [&] {
            if (!color) return;
            context->setFillColor(color->CGColor());
            context->fillRect(rect);
        });
        if (noise) CGContextAddNoise(context);
    });
}

}  // namespace customizer
