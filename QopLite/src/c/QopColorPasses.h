// The per-pixel colour passes over a run of pixels, in place, alpha untouched: three channel
// tables, and the 3 x 4 colour matrix.
#pragma once

#include "QopKernelPath.h"

#include "QopLite/QopTypes.h"

#include <cstddef>

namespace qop_internal {

// r, g and b of each pixel through map's tables.
void mapChannels(QopColor_t *pixels, size_t count, const QopHistMap_t *map, KernelPath path = KernelPath::Best);

// r' = cm[0] r + cm[1] g + cm[2] b + cm[3] + 0.5 (left to right, single precision), g' and b' from
// the next rows alike, each truncated and clamped to a byte (NaN gives 0).
void matrixPixels(QopColor_t *pixels, size_t count, const float *cm, KernelPath path = KernelPath::Best);

} // namespace qop_internal
