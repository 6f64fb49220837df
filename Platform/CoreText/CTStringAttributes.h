#pragma once
// Names of the attributes text layout reads.

#include "CoreText/CFBase.h"

// A CTFontRef; text without one is in Helvetica at 12 points.
extern const CFStringRef kCTFontAttributeName;
// A CGColorRef filling the glyphs; text without one (or without the next) is black.
extern const CFStringRef kCTForegroundColorAttributeName;
// kCFBooleanTrue: the glyphs take the context's fill colour instead.
extern const CFStringRef kCTForegroundColorFromContextAttributeName;
// A CFNumberRef, percent of the font size: 0 (the default) fills only; positive strokes the
// outline only; negative fills, then strokes the outline |width| / 100 x the font size wide.
extern const CFStringRef kCTStrokeWidthAttributeName;
// A CGColorRef for the outline; text without one strokes in its fill colour.
extern const CFStringRef kCTStrokeColorAttributeName;
// A CTParagraphStyleRef; a frame reads the one at the start of its range.
extern const CFStringRef kCTParagraphStyleAttributeName;
