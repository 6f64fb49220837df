#pragma once
// Graphics fonts: a font file's data, checked to be a TrueType or OpenType font. Core Text makes
// sized fonts of one (CTFontCreateWithGraphicsFont).

#include <string>

#include "CoreGraphics/CGDataProvider.h"

struct CGFont;
typedef CGFont* CGFontRef;

// Null, logged, for a null provider or data that is no TrueType, OpenType or collection file.
CGFontRef CGFontCreateWithDataProvider(CGDataProviderRef provider);
CGFontRef CGFontRetain(CGFontRef font);
void CGFontRelease(CGFontRef font);

// The provider it was made from (not owned by the caller).
CGDataProviderRef CGFontGetDataProvider(CGFontRef font);
