#pragma once
// Float quotients that become counts (tiles, items or columns per page, pages): converted without
// undefined behaviour.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObjCRuntime.h"

// The quotient truncated: 0 for one that is not a number, negative or zero, and at most `limit`.
NSInteger QZCountFromQuotient(CGFloat quotient, NSInteger limit = 1 << 20);
