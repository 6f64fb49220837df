/* QopBitmap.h: effect parameters, versions, and the bitmap-level blends and composites.
 * Each operation takes the bitmap first: with glData null it changes data (r, g, b only unless
 * noted); with glData set it records the equivalent GPU pass instead. Operations return nothing;
 * one that is not available on the path in use does nothing. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* seed 0, intensity 1.0, border true, scale 1.0. */
void QopEffectInitParams(QopEffectParams_t *params);
/* The effect "original": a CPU bitmap is left as it is; on the GPU one identity draw inside its
 * own effect. params is not read. */
void QopEffectOriginal(QopBitmap_t *bitmap, QopEffectParams_t *params);

QopVersion_t QopLiteVersion(void);
QopLiteProclistVersion_t QopLiteProclistVersion(void);

/* CPU: nothing. GPU: one identity draw of the current image. */
void QopBitmapOriginal(QopBitmap_t *bitmap);
/* Every pixel blended with one colour. All modes but Color go through a 256-entry table. */
void QopBitmapBlendWithColor(QopBitmap_t *bitmap, const QopColor_t *src, QopBlendMode_t blendMode, float alpha);
void QopBitmapBlend(QopBitmap_t *bitmap, const QopColor_t *src, QopBlendMode_t blendMode, float alpha);
/* r = map.r[r], g = map.g[g], b = map.b[b] on every pixel. */
void QopBitmapHistogramTransform(QopBitmap_t *bitmap, const QopHistMap_t *histMap);
/* src blended onto dst over their common rows and columns. GPU: does nothing. */
void QopBitmapBlendBitmap(QopBitmap_t *dst, const QopBitmap_t *src, QopBlendMode_t blendMode, float alpha);
/* dst = dst dstAmount + src srcAmount per channel, truncated and clamped (no rounding term). */
void QopBitmapBlendBitmapSeparate(QopBitmap_t *dst, QopBitmap_t *src, float dstAmount, float srcAmount);
/* src resampled through transform (src to dst coordinates) and blended onto dst. GPU: Overlay
 * only, with the transform ignored. */
void QopBitmapBlendBitmapTransform(QopBitmap_t *dst, QopBitmap_t *src, QopBlendMode_t blendMode, float alpha,
                                   const double *transform);
/* dst = srcA blended with srcB by the (stretched) mask's alpha. CPU only. */
void QopBitmapBlendBitmapMask(QopBitmap_t *dst, const QopBitmap_t *srcA, const QopBitmap_t *srcB,
                              const QopBitmap_t *mask, QopBlendMode_t blendMode);
/* GPU only: src composited over the current image, in its own effect. */
void QopBitmapEffectBitmapComposite(QopBitmap_t *bitmap, QopBitmap_t *src);
/* GPU only: open and close one effect. */
void QopBitmapBeginGLEffectIfEnabled(QopBitmap_t *bitmap);
void QopBitmapEndGLEffectIfEnabled(QopBitmap_t *bitmap);
/* GPU only: the current image redrawn through four corners, in its own effect. */
void QopBitmapEffectBitmapResize(QopBitmap_t *bitmap, const QopBitmapResizeRect_t *resizeRect);
/* r, g, b replaced by L*a*b* bytes (QopColorRGB2LAB) and back. */
void QopBitmapConvertRGBToLAB(QopBitmap_t *bitmap);
void QopBitmapConvertLABToRBG(QopBitmap_t *bitmap, float scaleA, float scaleB);

#ifdef __cplusplus
}
#endif
