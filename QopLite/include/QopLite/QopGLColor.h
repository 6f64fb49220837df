/* QopGLColor.h: GPU colour and tone passes: colour matrix (plain and overlaid on the original),
 * lookup table, intensity map, noise, histogram read-back, gritty dots and the selective black and
 * white conversion. Each is one pass inside the caller's effect; a Failed record draws nothing. */
#pragma once

#include "QopLite/QopGLData.h"
#include "QopLite/QopHistogram.h"

#ifdef __cplusplus
extern "C" {
#endif

/* rgb' = M rgb + offset (the row-major 3 x 4 matrix on the 0..255 scale), clamped; alpha kept. */
void QopGLAddColorTransform(const float colorMat[12], QopGLData_t *glData);
/* The matrix result overlaid on the pixel (the pixel is the base layer), mixed in at overlayAmount. */
void QopGLAddColorTransformAndOverlayWithOriginal(const float colorMat[12], QopGLData_t *glData, float overlayAmount);
/* multMat: the 3 x 3 part column-major for GL; transMat: the offsets / 255. */
void populateGLMultAndTransMatrices(const float srcMat[12], float multMat[9], float transMat[3]);

/* Each channel through its table. */
void QopGLAddColorMap(const QopHistMap_t *map, QopGLData_t *glData);
/* A 1 x 256 RGBA texture on unit texIndex, texel i = (red[i], green[i], blue[i], 0), NEAREST, clamped. */
GLuint createColorMapTexture(const uint8_t *red, const uint8_t *green, const uint8_t *blue, QopGLData_t *glData,
                             GLuint texIndex);
/* The luminance level's table entry blended onto the pixel in Normal, Overlay or Multiply mode at
 * alpha; any other mode prints a message and records nothing. */
void QopGLAddIntensityMap(const QopHistMap_t *map, QopBlendMode_t blendMode, double alpha, QopGLData_t *glData);

/* Seeded monochrome grain of strength intensity; seed 0 acts as 1. Deterministic for a seed and an
 * image size (not the CPU's grain). The result is opaque. */
void QopGLAddNoise(QopBitmap_t *bitmap, float intensity, uint32_t seed);

/* Adds the counts of the current result (or of the bitmap's pixels when no pass has run) to the
 * histogram, which is not cleared first. */
void QopGLHistogramBuild(QopBitmap_t *bitmap, QopHistogram_t *histogram);
/* Reserved; do nothing. */
void generateHistogram(void);
void setupHistogramFBO(void);

/* White overlaid at dotAlpha on even rows, every fourth column (shifted by two on alternate even
 * rows), drawn over the current result. */
void QopGLGrittyDots(QopBitmap_t *bitmap, float dotAlpha);
/* Weighted black and white by hue region (weights: red, yellow, green, cyan, blue, magenta), mixed
 * (Normal) or overlaid (Overlay) at alpha; any other mode records nothing. */
void QopGLStilbrushSatBW(QopBitmap_t *bitmap, const float weights[6], float transitionWidth, float regionWidth,
                         bool saturationMode, float alpha, QopBlendMode_t blendMode);

#ifdef __cplusplus
}
#endif
