// The row loops of the two-image blends: every pixel of dst in the common area combined with the
// pixel of src at the same place, alpha of dst kept.
#pragma once

#include "QopKernelPath.h"

#include "QopLite/QopTypes.h"

#include <cstddef>

namespace qop_internal {

// rows x columns pixels of dst blended with src in `mode` by alpha, as QopColorBlend blends each;
// every mode but Color, which mixes the channels.
void blendRows(QopBitmap_t *dst, const QopBitmap_t *src, size_t rows, size_t columns, QopBlendMode_t mode,
               float alpha, KernelPath path = KernelPath::Best);

// rows x columns pixels of dst replaced by dst dstAmount + src srcAmount, truncated and clamped.
void weightedSumRows(QopBitmap_t *dst, const QopBitmap_t *src, size_t rows, size_t columns, float dstAmount,
                     float srcAmount, KernelPath path = KernelPath::Best);

} // namespace qop_internal
