/* QopGLColor.h: GPU colour and tone passes (colour matrix, lookup table, intensity map, noise,
 * histogram read-back). */
#pragma once

#include "QopLite/QopHistogram.h"

#ifdef __cplusplus
extern "C" {
#endif

void QopGLAddColorTransform(const float colorMat[12], QopGLData_t *glData);
void QopGLAddColorTransformAndOverlayWithOriginal(const float colorMat[12], QopGLData_t *glData, float overlayAmount);
void QopGLAddColorMap(const QopHistMap_t *map, QopGLData_t *glData);
void QopGLAddIntensityMap(const QopHistMap_t *map, QopBlendMode_t blendMode, double alpha, QopGLData_t *glData);
void QopGLAddNoise(QopBitmap_t *bitmap, float intensity, uint32_t seed);
void QopGLHistogramBuild(QopBitmap_t *bitmap, QopHistogram_t *histogram);

#ifdef __cplusplus
}
#endif
