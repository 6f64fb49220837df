#pragma once
// The merged tool buttons of the adjust tool from the "adj_" masks; size of
// "adj_selected_inner.png". Types "l", "r" and "m" (compared as strings).

#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// Active: shift(bar, -0.1) over the whole image, the selected inner mask in black and the
// selected stroke. Normal: the shadow, the stroke and, unless the type is "l", the left shadow.
// Both: unless the type is "r", the right stroke.
NSImagePtr toolMergeButtonWithColorsTypeAndState(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                 const NSColorPtr& innerStrokeColor, const std::string& type, bool active);
NSImagePtr toolMergeRightButtonWithColorsAndState(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                  const NSColorPtr& innerStrokeColor, bool active);
NSImagePtr toolMergeLeftButtonWithColorsAndState(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                 const NSColorPtr& innerStrokeColor, bool active);
NSImagePtr toolMergeMiddleButtonWithColorsAndState(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                   const NSColorPtr& innerStrokeColor, bool active);

}  // namespace customizer
