#pragma once
// The gallery screen's images: list cells (drawn at both resolutions through mask wrappers), the
// list arrow, the camera icon, the layout buttons and the layout icons.

#include <array>
#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// Type "top", "middle", "bottom" or "both": [retina image, non-retina image] from the
// "gallery-<type>-" masks ("-retina" twins for the first), each sized by its last layer.
std::array<NSImagePtr, 2> galleryListViewCellWithColorsTypeAndState(const NSColorPtr& coreColor,
                                                                    const NSColorPtr& outerStrokeColor,
                                                                    const NSColorPtr& innerStrokeColor,
                                                                    const std::string& type, bool active);
std::array<NSImagePtr, 2> galleryListViewTopCellWithColors(const NSColorPtr& coreColor, const NSColorPtr& outerStrokeColor,
                                                           const NSColorPtr& innerStrokeColor, bool active);
std::array<NSImagePtr, 2> galleryListViewMiddleCellWithColors(const NSColorPtr& coreColor,
                                                              const NSColorPtr& outerStrokeColor,
                                                              const NSColorPtr& innerStrokeColor, bool active);
std::array<NSImagePtr, 2> galleryListViewBottomCellWithColors(const NSColorPtr& coreColor,
                                                              const NSColorPtr& outerStrokeColor,
                                                              const NSColorPtr& innerStrokeColor, bool active);
std::array<NSImagePtr, 2> galleryListViewBothCellWithColors(const NSColorPtr& coreColor, const NSColorPtr& outerStrokeColor,
                                                            const NSColorPtr& innerStrokeColor, bool active);

// Size of the core mask of each.
NSImagePtr galleryListArrowWithColors(const NSColorPtr& coreColor, const NSColorPtr& outerStrokeColor,
                                      const NSColorPtr& innerStrokeColor);
NSImagePtr galleryCameraIconWithColors(const NSColorPtr& gradientTopColor, const NSColorPtr& gradientBottomColor,
                                       const NSColorPtr& outerStrokeColor, const NSColorPtr& innerStrokeColor);
// Type "l" or "r": the button scheme on the "sort_<type>_" masks. The inner shadow is not drawn
// with (the shadow mask is overlaid in white).
NSImagePtr galleryLayoutButtonWithColorsAndType(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                const NSColorPtr& innerShadowColor, const std::string& type, bool active);
NSImagePtr galleryLeftLayoutButtonWithColors(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                             const NSColorPtr& innerShadowColor, bool active);
NSImagePtr galleryRightLayoutButtonWithColors(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                              const NSColorPtr& innerShadowColor, bool active);
// Type "grid" or "list": the shadow, then the core.
NSImagePtr galleryLayoutIconWithColorsAndType(const NSColorPtr& coreColor, const NSColorPtr& shadowColor,
                                              const std::string& type);
NSImagePtr galleryGridLayoutIconWithColors(const NSColorPtr& coreColor, const NSColorPtr& shadowColor);
NSImagePtr galleryListLayoutIconWithColors(const NSColorPtr& coreColor, const NSColorPtr& shadowColor);

}  // namespace customizer
