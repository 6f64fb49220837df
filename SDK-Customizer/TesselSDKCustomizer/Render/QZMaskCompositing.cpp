#include "Render/QZMaskCompositing.h"

#include "Render/NSGraphicsContext.h"
#include "Render/QZDrawing.h"

namespace customizer {

void CGContextDoWithTempState(CGContextRef context, const std::function<void()>& block)
{
    if (!context) return;
    context->saveGState();
    block();
    context->restoreGState();
}

CGImageRef CGImageRefForNSImage(const NSImagePtr& image)
{
    return image ? image->CGImage() : nullptr;
}

void fillWithMaskAndColorInRect(CGContextRef context, const NSImagePtr& mask, const NSColorPtr& color, CGRect rect)
{
    if (!context || !color) return;
    CGContextDoWithTempState(context, [&] {
        if (mask) context->clipToMask(rect, CGImageRefForNSImage(mask));
        context->setFillColor(color->CGColor());
        context->fillRect(rect);
    });
}

void fillWithMaskAndGradientColorsInRect(CGContextRef context, const NSImagePtr& mask, const NSColorPtr& firstColor,
                                         const NSColorPtr& secondColor, CGRect rect)
{
    if (!context || !firstColor || !secondColor) return;
    CGContextDoWithTempState(context, [&] {
        // The gradient paints the whole clip; without a mask the rectangle bounds it, so a nil
        // mask fills the rectangle as the colour fill does.
        if (mask) context->clipToMask(rect, CGImageRefForNSImage(mask));
        else context->clipToRect(rect);
        CGGradient gradient = CGGradientCreateWithColors({firstColor->CGColor(), secondColor->CGColor()}, {1.0, 0.0});
        NSGraphicsContext::Scope current(context);
        QZDrawLinearGradientInRectWithOptions(gradient, rect, QZLinearGradientDirectionVertical,
                                              kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    });
}

void CGContextAddNoise(CGContextRef context)
{
    CGImageRef noise = CGImageRefForNSImage(NSImage::imageNamed("uniform_noise_strong250x250.png"));
    if (!context || !noise) return;
    CGContextDoWithTempState(context, [&] {
        context->setBlendMode(kCGBlendModeOverlay);
        context->setAlpha(0.05);
        context->drawImage(CGRectMake(0, 0, 250, 250), noise);
    });
}

}  // namespace customizer
