#pragma once
// Slider knobs: the big knob from the "knob_" masks, the small ones from the "knob_small_" masks
// with an optional arrow ("orientation", "size"); size of the bezel mask.

#include <optional>
#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// Drop shadow, stroke, bezel from top to bottom, then the core in the handle colour.
NSImagePtr sliderKnobWithColors(const NSColorPtr& handleColor, const NSColorPtr& bezelTopColor,
                                const NSColorPtr& bezelBottomColor, const NSColorPtr& strokeColor,
                                const NSColorPtr& shadowColor);
// As the big knob; a style adds the "<style>_arrow_" layers over it.
NSImagePtr smallKnobWithColorsAndStyle(const NSColorPtr& handleColor, const NSColorPtr& bezelTopColor,
                                       const NSColorPtr& bezelBottomColor, const NSColorPtr& strokeColor,
                                       const NSColorPtr& shadowColor, const std::optional<std::string>& style);

}  // namespace customizer
