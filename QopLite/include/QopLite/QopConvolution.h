/* QopConvolution.h: spatial filters and the operations built on them. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The bitmap filtered with blurAmount and blended back onto itself at blendAmount; nothing when
 * either amount is exactly 0. */
void QopConvolutionProcessorSharpenAndBlendWithOriginal(QopBitmap_t *bitmap, float blurAmount, float blendAmount,
                                                        QopBlendMode_t blendMode);

#ifdef __cplusplus
}
#endif
