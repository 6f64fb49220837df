#pragma once
// The navigation buttons (apply, cancel) from the "button_" masks; size of "button_core.png".

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// Normal: the core from top to bottom and the shadow mask overlaid in the inner-shadow colour.
// Active: the core reversed and the pressed mask in the inner-shadow colour (none without one).
NSImagePtr stretchableButtonWithColorsSizeScaleAndState(const NSColorPtr& gradientTopColor,
                                                        const NSColorPtr& gradientBottomColor, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerShadowColor, bool active);
NSImagePtr stretchableApplyButtonWithColorsSizeAndScale(const NSColorPtr& gradientTopColor,
                                                        const NSColorPtr& gradientBottomColor, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerShadowColor);
// No inner-shadow colour, so no pressed layer.
NSImagePtr stretchableActiveApplyButtonWithColorsSizeAndScale(const NSColorPtr& gradientTopColor,
                                                              const NSColorPtr& gradientBottomColor,
                                                              const NSColorPtr& strokeColor);
// The core from shift(colour, +0.06) to shift(colour, -0.06).
NSImagePtr stretchableCancelButtonWithColorsSizeAndScale(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                         const NSColorPtr& innerShadowColor);
NSImagePtr stretchableActiveCancelButtonWithColorsSizeAndScale(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                               const NSColorPtr& innerShadowColor);

}  // namespace customizer
