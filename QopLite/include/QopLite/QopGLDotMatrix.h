/* QopGLDotMatrix.h: the GPU twins of the dot-matrix text, line and soft-dot primitives. They draw
 * over the current result of the open effect with alpha blending. */
#pragma once

#include "QopLite/QopGLData.h"
#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* All dots of a text: numberOfDots (x, y) pairs in clip space; dotSize is the dot radius in units
 * of half the image width. */
void QopGLAddDotMatrix(QopBitmap_t *bitmap, const QopColor_t *color, const float *positions, int numberOfDots,
                       float dotSize);
/* The dot sprite in the colour, built on texture unit texIndex: ceil(10 r) texels across, r at least
 * 3.3 and made odd in tenths. 0 when its buffer cannot be built. */
GLuint createMatrixDotTexture(const QopColor_t *color, float radius, GLuint texIndex);

/* The segment of QopDrawLine, its coverage computed per fragment; the quad covers the box
 * (startX, startY) ... (endX, endY) in pixels. */
void QopGLAddLine(QopBitmap_t *bitmap, const QopColor_t *color, float nHatx, float nHaty, float x1, float x2, float y1,
                  float y2, float r, float r2, float dAA, float bA, float r2AA, float vLength2, float startX,
                  float startY, float endX, float endY);

/* Many soft dots: four floats a dot (x, y in clip space, point size in pixels, one unused). */
void QopGLAddBasicDots(QopBitmap_t *bitmap, const QopColor_t *color, const float *positionsAndPointSizes,
                       int numberOfDots, float maxDotRadius, float dAA);
/* The soft-dot sprite: always 9 x 9 texels (radius and dAA are not used). 0 when its buffer cannot
 * be built. */
GLuint QopGLCreateBasicDotTexture(const QopColor_t *color, float radius, float dAA, GLuint texIndex);

#ifdef __cplusplus
}
#endif
