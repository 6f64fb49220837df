/* QopColor.h: colour of one pixel: the six blend modes, HSL, HSV and CIE L*a*b* conversions.
 * Arithmetic is single-precision float with 0.5 added before truncation and a clamp to 0..255,
 * unless a function says otherwise. No blend writes the destination's alpha. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* dst's r, g, b replaced by the blend of src onto dst at alpha (0..1). Only Color mode reads
 * src->a. A mode outside 0..5 leaves dst unchanged. */
void QopColorBlend(QopColor_t *dst, const QopColor_t *src, QopBlendMode_t blendMode, const float alpha);
/* Color mode with the source given as HSL; saturation is scaled by blendColorAlpha / 255. */
void QopColorBlendColorMode(QopColor_t *dst, const QopColor_hsl *hsl, uint8_t blendColorAlpha, const float alpha);

/* Resets a memo for blendMode (all alpha rows unfilled). */
void QopColorBlendInitMemozied(QopColorMemoData_t *memoData, QopBlendMode_t blendMode);
/* Blends through the memo's tables. A row is filled on the first call with its alpha and then
 * reused, whatever source colour later calls pass. */
void QopColorBlendMemoized(QopColor_t *dst, const QopColor_t *src, uint8_t alpha, QopColorMemoData_t *memoData);

void QopColorRGB2HSL(const QopColor_t *in, QopColor_hsl *out);
/* Alpha of the result is 255. */
void QopColorHSL2RGB(const QopColor_hsl *in, QopColor_t *out);
void QopColorRGB2HSV(const QopColor_t *in, QopColor_hsv *out);

/* L*a*b* scaled to 0..255 (a and b centred on 127), through the library's fixed tables. */
void QopColorRGB2LABDoublesWithCbrtMapping(const QopColor_t *color, double *l, double *a, double *b);
/* The same through a caller's sRGB-to-linear table and an exact cube root. */
void QopColorRGB2LABDoublesWithMapping(const QopColor_t *color, double *l, double *a, double *b,
                                       const float *rgb2labMapping);
/* r, g, b replaced by L, a, b, each clamped to 0..255 and truncated. */
void QopColorRGB2LAB(QopColor_t *color);
void QopColorRGB2LABWithMapping(QopColor_t *color, const float *rgb2labMapping);
/* Fills a 256-entry sRGB-to-linear table (0..100). */
void QopColorRGB2LABInitMapping(float *rgb2labMapping);
/* Fills a 1024-entry cube-root table. */
void QopColorRGB2LABInitMappingCbrt(float *cbrtMapping);
/* r, g, b read as L, a, b bytes, scaled, and replaced by sRGB; alpha untouched. */
void QopColorLAB2RGBScaled(QopColor_t *color, double scaleL, double scaleA, double scaleB);
void QopColorLAB2RGB(QopColor_t *color);

#ifdef __cplusplus
}
#endif
