#pragma once
// The slider: its track pieces from the "outer_" and "inner_" masks (size of the outer stroke
// mask) and its fills from the "goo_" masks (size of the glow mask). Suffixes: "_l" left cap,
// "_r" right cap, "" stretchable body, "_c" centre mark.

#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

NSImagePtr sliderImageWithColorsAndSuffux(const NSColorPtr& trackColor, const NSColorPtr& strokeColor,
                                          const std::string& suffix);
NSImagePtr sliderLeftCapWithColors(const NSColorPtr& trackColor, const NSColorPtr& strokeColor);
NSImagePtr sliderRightCapWithColors(const NSColorPtr& trackColor, const NSColorPtr& strokeColor);
NSImagePtr sliderStretchableImageWithColors(const NSColorPtr& trackColor, const NSColorPtr& strokeColor);
NSImagePtr sliderCenterWithColors(const NSColorPtr& trackColor, const NSColorPtr& strokeColor);

// The glow (active only) in the top colour, the stroke, the core from top to bottom changing
// within all but 40 points at each end, and the shadow overlaid in white at 0.6.
NSImagePtr sliderActiveCoreWithColorsStateAndSuffux(const NSColorPtr& gradientTopColor,
                                                    const NSColorPtr& gradientBottomColor, const NSColorPtr& strokeColor,
                                                    bool active, const std::string& suffix);
NSImagePtr sliderLeftActiveCoreWithColorsAndState(const NSColorPtr& gradientTopColor, const NSColorPtr& gradientBottomColor,
                                                  const NSColorPtr& strokeColor, bool active);
NSImagePtr sliderRightActiveCoreWithColorsAndState(const NSColorPtr& gradientTopColor, const NSColorPtr& gradientBottomColor,
                                                   const NSColorPtr& strokeColor, bool active);

}  // namespace customizer
