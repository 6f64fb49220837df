#pragma once
// The pack and item strip: colour chips, the active pill and the strip and shelf backgrounds;
// size of the core mask of each.

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// The core in the chip colour, "color_chip_gradient.png" behind whatever the core left clear,
// the stroke, then the shadow overlaid in white.
NSImagePtr colorChipImageWithColor(const NSColorPtr& chipColor, const NSColorPtr& strokeColor);
NSImagePtr stretchableActivePillWithColors(const NSColorPtr& gradientTopColor, const NSColorPtr& gradientBottomColor,
                                           const NSColorPtr& strokeColor);
// A body from shift(bar, +0.06) to shift(bar, -0.06) over the whole image (the core mask only
// gives the size), then the stroke and shadow masks.
NSImagePtr stretchableSelectionBackgroundWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                    const NSColorPtr& innerStrokeColor);
// As the selection background on the "shelf_" masks, with "shelf_gradient.png" drawn over it.
NSImagePtr stretchableShelfSelectionBackgroundWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                         const NSColorPtr& innerStrokeColor);

}  // namespace customizer
