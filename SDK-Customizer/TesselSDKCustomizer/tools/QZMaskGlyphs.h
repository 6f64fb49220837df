#pragma once
// The pictograms of the icon masks: one per tool key (and for the plus and minus buttons and the
// camera icons), no text, drawn in a 30 x 30 point box with room around them for glows.

#include <cairo.h>

#include <string>

namespace customizer::masks {

// Appends the pictogram of the key ("enhance", "crop", "plus", "camera_icon"...) to the path;
// false for a key without one.
bool QZTraceGlyph(cairo_t* cr, const std::string& key);

}  // namespace customizer::masks
