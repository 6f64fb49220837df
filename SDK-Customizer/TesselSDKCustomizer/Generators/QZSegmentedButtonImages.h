#pragma once
// Segmented buttons from the "radio_" masks with a style suffix ("_r" right, "" centre, "_l"
// left, "_s" single); size of the stroke mask.

#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// Normal: a drop shadow, the core from shift(c, -0.03) to shift(c, -0.11), the shadow mask in the
// inner stroke colour and an 8-point band of the stroke colour over the core's left edge.
// Active: the core in shift(c, -0.15), the shadow mask in the stroke colour, the pressed mask,
// the pressed glow overlaid in white and the pressed drop shadow where that mask exists.
NSImagePtr segmentedButtonWithColorsStateAndStyle(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                  const NSColorPtr& innerStrokeColor, bool active, const std::string& style);
NSImagePtr rightSegmentedButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                       const NSColorPtr& innerStrokeColor, bool active);
NSImagePtr centerSegmentedButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerStrokeColor, bool active);
NSImagePtr leftSegmentedButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                      const NSColorPtr& innerStrokeColor, bool active);
NSImagePtr singleSegmentedButtonWithColorsScaleAndState(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                        const NSColorPtr& innerStrokeColor, bool active);

}  // namespace customizer
