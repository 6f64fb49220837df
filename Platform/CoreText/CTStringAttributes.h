#pragma once
// Names of the attributes text layout reads.

#include "CoreText/CFBase.h"

// A CTFontRef; text without one is in Helvetica at 12 points.
extern const CFStringRef kCTFontAttributeName;
// A CGColorRef filling the glyphs; text without one (or without the next) is black.
extern const CFStringRef kCTForegroundColorAttributeName;
// kCFBooleanTrue: the glyphs take the context's fill colour instead.
extern const CFStringRef kCTForegroundColorFromContextAttributeName;
// A CTParagraphStyleRef; a frame reads the one at the start of its range.
extern const CFStringRef kCTParagraphStyleAttributeName;
