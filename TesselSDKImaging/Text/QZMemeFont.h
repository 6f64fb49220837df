#pragma once
// The meme captions' face: the font named "Impact" on systems from "4.1" on, before that the face
// in the resource bundle's Impact.ttf. The caption typed on the canvas and the caption the
// processor draws both come from here, so they are one face by one rule.

#include "CoreText/CoreText.h"

#include <string>

// Where the face comes from, taken once for a drawing.
struct QZMemeFontSource {
    bool fromBundle = false;  // an older system: the bundle's file, else the name
    std::string file;         // the bundle's Impact.ttf; empty when it has none (no font is made)
};

// From the system version and the resource bundle now.
QZMemeFontSource QZMemeFontSourceCurrent();
// The caption face at `size`, or null from a source with no file; the caller releases it.
CTFontRef QZMemeFontCreateWithSource(const QZMemeFontSource& source, CGFloat size);
// QZMemeFontCreateWithSource of the current source.
CTFontRef QZMemeFontCreate(CGFloat size);
