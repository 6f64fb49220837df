#pragma once
// Tool and button icons from the masks "<name>_core", "_shadow", "_stroke" and, by state,
// "_glow" (highlighted) or "_drop_shadow" (normal); size of the core mask.

#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// The glow or drop shadow in the first colour, the stroke, the core from top to bottom, then the
// shadow mask overlaid in the inner-shadow colour. A highlighted icon never loads the drop-shadow
// mask, a normal one never the glow mask.
NSImagePtr iconWithNameColorsAndState(const std::string& name, const NSColorPtr& dropShadowOrGlowColor,
                                      const NSColorPtr& strokeColor, const NSColorPtr& gradientTopColor,
                                      const NSColorPtr& gradientBottomColor, const NSColorPtr& innerShadowColor,
                                      bool highlighted);

}  // namespace customizer
