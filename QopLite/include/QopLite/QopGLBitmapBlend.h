/* QopGLBitmapBlend.h: GPU passes that copy, redraw, composite and blend whole images. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

void QopGLDrawCurrentBitmapIdentity(QopGLData_t *glData);
void QopGLDrawCurrentBitmapWithResizeRect(QopGLData_t *glData, const QopBitmapResizeRect_t *resizeRect);
void QopGLBitmapComposite(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap);
void QopGLBitmapBlendSeparate(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, float dstAmount, float srcAmount);
void QopGLBitmapBlend(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, float alpha, QopBlendMode_t blendMode);
void QopGLBitmapColorBlendColor(QopBitmap_t *bitmap, const QopColor_hsl *hslColor, float hslAlpha, float amount);

#ifdef __cplusplus
}
#endif
