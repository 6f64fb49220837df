#pragma once
// The white lip along the bottom of both store screens' views: `height` points with rounded bottom
// corners, casting a shadow downwards onto what lies under the store.

#include "CoreGraphics/CGGeometry.h"

void QZDrawIAPContainerLip(CGRect bounds, CGFloat height);
