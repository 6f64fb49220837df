/* QopNoise.h: seeded noise on bitmaps: monochrome, per channel, and diamond-square fractal. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The same offset on r, g and b of each pixel; alpha becomes 255. */
void QopBitmapAddNoise(QopBitmap_t *bitmap, float intensity, uint32_t seed);
/* An offset of its own for each channel; alpha becomes 255. CPU only. */
void QopBitmapAddChannelIndependentNoise(QopBitmap_t *bitmap, float intensity, uint32_t seed);
/* Grey fractal noise over the largest (2^k + 1)-square of dst, seeded with 1234. lineL and
 * lineT are the caller's scratch lines of at least 2^k + 1 floats. CPU only. */
void QopBitmapDiamondSquare(QopBitmap_t *dst, float amp, const float hConst, float *lineL, float *lineT);

#ifdef __cplusplus
}
#endif
