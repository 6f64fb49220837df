#pragma once
// The text-field background of the meme tool: drawn as a path (41 s x 36 s, a rounded bar with
// a drop shadow one s lower), or through the "meme_field_" masks.

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

NSImagePtr memeFieldStretchableImageWithColorsAndScale(const NSColorPtr& fillColor, const NSColorPtr& strokeColor,
                                                       const NSColorPtr& shadowColor, CGFloat scale);
// Size of "meme_field_core.png".
NSImagePtr stretchableMemeFieldImageWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor);

}  // namespace customizer
