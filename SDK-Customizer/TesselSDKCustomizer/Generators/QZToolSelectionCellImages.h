#pragma once
// The tool-selection strip: cell borders, the selected cell and the title and feedback dividers.

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// "normal_black" and "normal_white" (or the "adjacent_" pair) in the outer and inner stroke
// colours; size of the black mask.
NSImagePtr toolSelectionCellBorderImageWithColors(const NSColorPtr& outerStrokeColor, const NSColorPtr& innerStrokeColor,
                                                  bool adjacent);
// shift(bar, -0.1) over the whole image, then "inset" in black and the pressed pair; size of
// "pressed_black.png".
NSImagePtr toolSelectionCellSelectedImageWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                    const NSColorPtr& innerStrokeColor);
// Size of "title_core.png".
NSImagePtr selectionViewTitleDividerWIthColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                               const NSColorPtr& innerStrokeColor);
// Size of "feedback_divider_core.png".
NSImagePtr toolSelectionFeedbackDividerWithColors(const NSColorPtr& outerStrokeColor, const NSColorPtr& innerStrokeColor);

}  // namespace customizer
