#include "Generators/QZMemeFieldImages.h"

#include "Generators/QZGeneratorSupport.h"
#include "Render/NSBezierPath.h"

namespace customizer {

using namespace generators;

NSImagePtr memeFieldStretchableImageWithColorsAndScale(const NSColorPtr& fillColor, const NSColorPtr& strokeColor,
                                                       const NSColorPtr& shadowColor, CGFloat scale)
{
    CGFloat s = scale;
    return layeredImage(CGSizeMake(41 * s, 36 * s), [&](CGContextRef context, CGRect) {
        CGRect body = CGRectInset(CGRectMake(0, 0, 41 * s, 36 * s), s, s);
        CGPathRef path = NSBezierPath::bezierPathWithRoundedRect(body, 18 * s, 18 * s).QZ_quartzPath();
        auto fill = [&](const NSColorPtr& color) {
            if (!color) return;
            context->addPath(*path);
            context->setFillColor(color->CGColor());
            context->fillPath();
        };
        CGContextDoWithTempState(context, [&] {
            context->translateCTM(0, -s);
            fill(shadowColor);
        });
        CGContextDoWithTempState(context, [&] { fill(shift(fillColor, -0.06)); });
        CGContextDoWithTempState(context, [&] {
            if (!strokeColor) return;
            context->addPath(*path);
            context->setStrokeColor(strokeColor->CGColor());
            context->strokePath();
        });
    });
}

NSImagePtr stretchableMemeFieldImageWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor)
{
    NSImagePtr core = mask("meme_field_core.png");
    NSImagePtr dropShadow = mask("meme_field_drop_shadow.png");
    NSImagePtr insetShadow = mask("meme_field_inset_shadow.png");
    NSImagePtr stroke = mask("meme_field_stroke.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, dropShadow, white(0.05), rect);
        solid(context, stroke, outerStrokeColor, rect);
        solid(context, core, shift(barColor, -0.1), rect);
        solid(context, insetShadow, black(0.5), rect);
    });
}

}  // namespace customizer
