#pragma once
// The tool conveyor: cell backgrounds from the "conveyor_" masks (or "conveyor_half_" for the
// half-height cells) and the overlays from "<style>_" masks; size of the core mask.

#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// A body of shift(bar, -0.03) over the whole image (darkened by black 0.2 when active), the
// inset shadow (outer stroke when active, else half the inner stroke), the shadow (half the inner
// stroke when adjacent, else the outer stroke) and, when active, the pressed shadow in black.
NSImagePtr stretchableConveryorBackgroundWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                    const NSColorPtr& innerStrokeColor, bool active, bool adjacent,
                                                    bool half);
NSImagePtr conveyorOverlayWithColorsAndStyle(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                             const NSColorPtr& innerStrokeColor, const std::string& style);
NSImagePtr singleConveyorCenterOverlayWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                 const NSColorPtr& innerStrokeColor);
NSImagePtr singleConveyorStretchableOverlayWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                      const NSColorPtr& innerStrokeColor);
NSImagePtr splitConveyorCenterOverlayWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                const NSColorPtr& innerStrokeColor);
NSImagePtr splitConveyorStretchableOverlayWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                     const NSColorPtr& innerStrokeColor);

}  // namespace customizer
