/* QopColorMatrix.h: the 3 x 4 colour matrix, its adjustments, and the per-channel tone
 * operations on bitmaps (colour matrix, intensity map, contrast curve, gamma). */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Three rows of four on the 0..255 scale: r' = m0 r + m1 g + m2 b + m3, and so on. */
typedef float QopColorMatrix_t[12];

void QopColorMatrixSetIdentity(QopColorMatrix_t cm);
void QopColorMatrixCopy(QopColorMatrix_t dst, const QopColorMatrix_t src);
/* dst = dst x src: the new dst applies src first, then the old dst. */
void QopColorMatrixMultiply(QopColorMatrix_t dst, const QopColorMatrix_t src);
/* Each adjustment multiplies on the right, so a later adjustment acts on the pixel first. */
void QopColorMatrixAdjSaturation(QopColorMatrix_t cm, float v);
void QopColorMatrixBrightnessContrast(QopColorMatrix_t cm, float b, float c);
void QopColorMatrixBrightness(QopColorMatrix_t cm, float b);
void QopColorMatrixContrast(QopColorMatrix_t cm, float c);

/* A matrix with no cross-channel terms runs as a lookup table; otherwise per pixel. */
void QopBitmapColorMatrixTransform(QopBitmap_t *bitmap, const float *cm);
void QopBitmapColorMatrixTransformAndBlendWithOriginal(QopBitmap_t *bitmap, const float *cm,
                                                       QopBlendMode_t blendMode, float blendAmount);
/* The map row picked by each pixel's luminance, blended onto the pixel. */
void QopBitmapIntensityMap(QopBitmap_t *bitmap, const QopHistMap_t *histMap, QopBlendMode_t blendMode, double alpha);
/* S-curve about 127; value 0 stands for 1e-8. 255 maps to 254 even at value 1. */
void QopBitmapContrastCurve(QopBitmap_t *bitmap, float value);
void QopBitmapGamma(QopBitmap_t *bitmap, float value);

#ifdef __cplusplus
}
#endif
