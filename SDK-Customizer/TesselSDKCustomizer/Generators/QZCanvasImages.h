#pragma once
// The canvas texture behind the photo.

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

// 100 s x 100 s of the colour, with the noise texture over it when `noise` is set.
NSImagePtr tileableCanvasImageWithColor(const NSColorPtr& color, bool noise, CGFloat scale);

}  // namespace customizer
