#pragma once
// The primitives every generator draws with: a saved-state scope, the two mask fills (a colour
// or a two-stop gradient through a grey mask's alpha) and the noise texture.
//
// A mask is used only through its alpha, placed upright in the rectangle: where it is opaque the
// fill shows, where it is transparent nothing is drawn, partial alpha gives partial coverage,
// and nothing is drawn outside the rectangle. A nil mask fills the whole rectangle; a nil colour
// draws nothing (that layer is skipped). The context's blend mode and alpha apply to both fills.

#include <functional>

#include "Render/CGContext.h"
#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// Saves the context's graphics state, runs the block, restores the state.
void CGContextDoWithTempState(CGContextRef context, const std::function<void()>& block);
// The image's bitmap; null for nil.
CGImageRef CGImageRefForNSImage(const NSImagePtr& image);

void fillWithMaskAndColorInRect(CGContextRef context, const NSImagePtr& mask, const NSColorPtr& color, CGRect rect);
// The first colour at the rectangle's maximum y, the second at its minimum y, linear between
// (the top and the bottom of an unflipped image).
void fillWithMaskAndGradientColorsInRect(CGContextRef context, const NSImagePtr& mask, const NSColorPtr& firstColor,
                                         const NSColorPtr& secondColor, CGRect rect);

// "uniform_noise_strong250x250.png" drawn once, upright, into (0, 0, 250, 250) with blend mode
// overlay at alpha 0.05; not tiled. Nothing when the noise image is missing.
void CGContextAddNoise(CGContextRef context);

}  // namespace customizer
