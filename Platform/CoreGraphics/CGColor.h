#pragma once
// Colours: components in their colour space followed by alpha, or a pattern.

#include "CoreGraphics/CGColorSpace.h"

struct CGColor;
typedef CGColor* CGColorRef;
struct CGPattern;
typedef CGPattern* CGPatternRef;

// `components` holds the space's components then alpha. Null for a pattern space or a null space.
CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat* components);
// A coloured pattern: `components` holds only the alpha (may be null for alpha 1).
CGColorRef CGColorCreateWithPattern(CGColorSpaceRef space, CGPatternRef pattern, const CGFloat* components);
CGColorRef CGColorCreateCopyWithAlpha(CGColorRef color, CGFloat alpha);
CGColorRef CGColorRetain(CGColorRef color);
void CGColorRelease(CGColorRef color);
bool CGColorEqualToColor(CGColorRef a, CGColorRef b);
size_t CGColorGetNumberOfComponents(CGColorRef color);
const CGFloat* CGColorGetComponents(CGColorRef color);
CGFloat CGColorGetAlpha(CGColorRef color);
CGColorSpaceRef CGColorGetColorSpace(CGColorRef color);
// Null unless the colour is a pattern colour.
CGPatternRef CGColorGetPattern(CGColorRef color);
