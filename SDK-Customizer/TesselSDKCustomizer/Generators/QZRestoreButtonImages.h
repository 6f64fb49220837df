#pragma once
// The pieces of the before/after callout from the "restore-<type>-" masks, "-retina" twins for
// the retina image; size of the core mask. Types "l", "r", "b-l", "b-r", "b-c", "t-c".

#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// Drop shadow in black, the stroke, the core from bar to shift(bar, -0.01), the shadow, and the
// noise over the finished piece when `noise` is set.
NSImagePtr restoreButtonWithType(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                 const NSColorPtr& innerStrokeColor, const std::string& type, bool retina, bool noise);

}  // namespace customizer
