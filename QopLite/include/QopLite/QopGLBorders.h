/* QopGLBorders.h: the GPU passes of the border engine. The CPU entry points (QopBorders and its
 * families, QopVignette) call these when the bitmap carries a GPU record; each appends its passes
 * to the current effect and draws nothing once the record's failure latch is set. */
#pragma once

#include "QopLite/QopBorders.h"
#include "QopLite/QopGLData.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One Normal pass of an inset style: frame width dw, corner factor rFactor, the four insets, the
 * Shadow shift (offsetX, offsetY) and the Lines and Halftone frequencies. */
void QopGLAddBorderTheta(QopBitmap_t *bitmap, const QopColor_t *color, QopBorderStyle_t style, float dw,
                         float rFactor, float offsetL, float offsetR, float offsetT, float offsetB, float offsetX,
                         float offsetY, float lineScale, float dotScale);
/* The vignette: Normal, Overlay and Multiply have programs; other modes render as Normal (with a
 * warning). */
void QopGLAddBorderVignette(QopBitmap_t *bitmap, const QopBorderParams_t *params);
/* The hard-random frame from its four lines (sent as one lines texture). */
void QopGLAddBorderHardRand(QopBitmap_t *bitmap, const QopColor_t *color, float dw, float scale, float offset,
                            float randomSeed, float w2, float h2, const float *lineL, const float *lineR,
                            const float *lineT, const float *lineB);
/* The four lines packed into a maxDim x 4 RGBA texture on unit texIndex: rows L, R (height
 * values), T, B (width values), each value stored as (value - trans) x multiplier in 32-bit fixed
 * point, most significant byte last. 0 when the buffer cannot be made. */
GLuint createLinesTexture(float width, float height, const float *lineL, const float *lineR, const float *lineT,
                          const float *lineB, float maxDim, double multiplier, double trans, GLuint texIndex);

/* Side strips, drawn over the current result: Begin once, one Add per side in side order (left,
 * top, bottom, right), End once. Strips blend Normal whatever the blend mode. */
void QopGLBeginSideBorder(QopBitmap_t *bitmap, const QopColor_t *color);
void QopGLAddBorderSide(QopBitmap_t *bitmap, const QopColor_t *color, QopBlendMode_t blendMode,
                        QopBorderStyle_t style, const float *line, float db, int side);
void QopGLAddBorderDoubleSide(QopBitmap_t *bitmap, const QopColor_t *color, QopBlendMode_t blendMode,
                              QopBorderStyle_t style, const float *lineA, const float *lineB, float db, int side);
void QopGLEndSideBorder(QopBitmap_t *bitmap);

#ifdef __cplusplus
}
#endif
