#pragma once
// Shorthands the generator families share, named as the generators' recipes read: shift(c, d),
// half(c), black(a), white(a), "solid" and "gradient top T, bottom B" layers, overlay scopes, and
// the masked image that takes its size from one mask.

#include <functional>
#include <string>

#include "Render/NSColor.h"
#include "Render/NSGraphicsContext.h"
#include "Render/NSImage.h"
#include "Render/QZColorHelpers.h"
#include "Render/QZMaskCompositing.h"

namespace customizer::generators {

inline NSColorPtr shift(const NSColorPtr& color, CGFloat delta) { return QZNSColorByShiftingBrightness(color, delta); }

inline NSColorPtr half(const NSColorPtr& color)
{
    return color ? color->colorWithAlphaComponent(color->alphaComponent() * 0.5) : nullptr;
}

inline NSColorPtr black(CGFloat alpha) { return NSColor::colorWithCalibratedWhite(0, alpha); }
inline NSColorPtr white(CGFloat alpha) { return NSColor::colorWithCalibratedWhite(1, alpha); }

inline NSImagePtr mask(const std::string& name) { return NSImage::imageNamed(name); }

// Zero for a missing mask.
inline CGSize sizeOf(const NSImagePtr& image) { return image ? image->size() : CGSize{}; }

inline void solid(CGContextRef context, const NSImagePtr& mask, const NSColorPtr& color, CGRect rect)
{
    fillWithMaskAndColorInRect(context, mask, color, rect);
}

inline void gradient(CGContextRef context, const NSImagePtr& mask, const NSColorPtr& top, const NSColorPtr& bottom, CGRect rect)
{
    fillWithMaskAndGradientColorsInRect(context, mask, top, bottom, rect);
}

// The block's layers blended with overlay, inside a saved state.
inline void overlay(CGContextRef context, const std::function<void()>& layers)
{
    CGContextDoWithTempState(context, [&] {
        context->setBlendMode(kCGBlendModeOverlay);
        layers();
    });
}

// An unflipped image of the size, drawn by `layers` with the current context in blend mode
// normal and the whole image rectangle.
inline NSImagePtr layeredImage(CGSize size, const std::function<void(CGContextRef, CGRect)>& layers)
{
    return NSImage::imageWithSize(size, false, [&](CGRect rect) {
        CGContextRef context = NSGraphicsContext::currentGraphicsPort();
        context->setBlendMode(kCGBlendModeNormal);
        layers(context, rect);
        return true;
    });
}

}  // namespace customizer::generators
