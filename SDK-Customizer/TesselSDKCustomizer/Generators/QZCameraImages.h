#pragma once
// The camera and quick-launch images: the shutter button, the cancel button in its rim, the
// gallery button's rim and overlay, the quick-launch checkmark and logo.

#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// Shape "camera" or "camera_oval": the "<shape>_" masks; size of the rim mask. The rim (when
// `rim`), the drop shadow (normal only), the stroke, the core, then the pressed mask (active) or
// the shadow mask (normal).
NSImagePtr cameraButtonBackgroundImageWithColors(const std::string& shapeName, const NSColorPtr& barColor,
                                                 const NSColorPtr& outerStrokeColor, const NSColorPtr& innerStrokeColor,
                                                 bool active, bool rim);
// Size of "cancel_rim.png": the rim (when `rim`), then the "button_" layers in a rectangle centred
// in the image and smaller by the rim-to-core width ratio. The inner stroke is not drawn with.
NSImagePtr stretchableCameraCancelButtonWithColorsSizeAndScale(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                               const NSColorPtr& innerStrokeColor, bool active, bool rim);
// Size name "5" or "4": "thumb-rim-<name>" ("-retina" twin when `retina`) from shift(bar, -0.06)
// to shift(bar, +0.06).
NSImagePtr cameraGalleryButtonRim(const std::string& sizeName, const NSColorPtr& barColor, bool retina);
// "swap-inset-" in the outer stroke colour when `insetInOuterColor`, else in the inner one, then
// "swap-stroke-" in the outer stroke colour; size of the stroke mask.
NSImagePtr cameraGalleryButtonOverlay(const std::string& sizeName, const NSColorPtr& outerStrokeColor,
                                      const NSColorPtr& innerStrokeColor, bool insetInOuterColor, bool retina);
// The drop shadow, then the core; size of the core mask.
NSImagePtr quickLaunchApplyCheckmarkWithColors(const NSColorPtr& coreColor, const NSColorPtr& dropShadowColor);
NSImagePtr quickLaunchLogoWithColors(const NSColorPtr& coreColor, const NSColorPtr& dropShadowColor);

}  // namespace customizer
