#pragma once
// The back button from the "back_" masks, or their twice-size "retina_back_" twins for a scale
// above 1.01; size of the stroke mask.

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// Normal: lighter at the top, the shadow mask overlaid in the inner-shadow colour. Active:
// darker at the top, the shadow mask in the stroke colour.
NSImagePtr stretchableBackButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerShadowColor, bool active, CGFloat scale);
NSImagePtr stretchableBackButtonWithColorsAndScale(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                   const NSColorPtr& innerShadowColor, CGFloat scale);
// `unusedWidth` and `unusedHeight` are taken and not drawn with.
NSImagePtr stretchableActiveBackButtonWithColorsSizeAndScale(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                             const NSColorPtr& innerShadowColor, CGFloat unusedWidth,
                                                             CGFloat unusedHeight, CGFloat scale);

}  // namespace customizer
