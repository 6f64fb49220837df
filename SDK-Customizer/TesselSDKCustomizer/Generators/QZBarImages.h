#pragma once
// The editor's bars: a vertical gradient body, the noise texture when asked, and 1-point (times
// the scale s) lines across the full width. The navigation bar is drawn flipped (y down).

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// width x height, `topColor` at the top and `bottomColor` at the bottom.
NSImagePtr stretchableGradientWithColorsAndSize(const NSColorPtr& topColor, const NSColorPtr& bottomColor, CGFloat width,
                                                CGFloat height);
// 100 s square: the body from shift(mid, +0.06) to shift(mid, -0.06), then the outer stroke line
// in the top row and the inner stroke line below it.
NSImagePtr stretchableToolBarWithMidColorAndSize(const NSColorPtr& midColor, const NSColorPtr& outerStrokeColor,
                                                 const NSColorPtr& innerStrokeColor, bool noise, CGFloat scale);
// The tool bar at sideLength s square.
NSImagePtr stretchableCameraBarWithMidColorAndSize(const NSColorPtr& midColor, const NSColorPtr& outerStrokeColor,
                                                   const NSColorPtr& innerStrokeColor, bool noise, CGFloat scale,
                                                   float sideLength);
// 125 s square: a body flat in its lower fifth, lines at the top and at the divider
// 0.25 (h - 23 s) + 20 s, each with an inner line one s below (the divider's at half alpha).
NSImagePtr stretchableHomeBottomBarWithMidColorStrokesSizeAndScale(const NSColorPtr& midColor,
                                                                   const NSColorPtr& outerStrokeColor,
                                                                   const NSColorPtr& innerStrokeColor, bool noise,
                                                                   CGFloat scale);
// 44 s square, flipped: the mid colour at the top, shift(mid, -0.01) at the bottom, the inner
// stroke line at the top edge and the outer stroke line at the bottom edge.
NSImagePtr stretchableNavigationBarImageWithColorAndScale(const NSColorPtr& midColor, const NSColorPtr& outerStrokeColor,
                                                          const NSColorPtr& innerStrokeColor, bool noise, CGFloat scale);

}  // namespace customizer
