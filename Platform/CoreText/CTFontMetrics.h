#pragma once
// Metrics of a Pango font from its face's tables, unhinted, in points at its size.

#include <pango/pango.h>

struct CTFontMetrics {
    double ascent = 0, descent = 0, leading = 0, capHeight = 0, xHeight = 0;
};

// Call with the text lock held.
CTFontMetrics CTFontMetricsOf(PangoFont* font);
