/* QopEnhance.h: the automatic corrections: auto-enhance in four modes, the L*a*b* colour-cast
 * correction, local contrast ("clarity"), and the helpers they share (line smoothing, summed-area
 * tables). Each works on a CPU bitmap or records GPU passes on one that carries a GPU record. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QopAutoEnhanceMode {
    QopAutoEnhanceModeClarity = 0,
    QopAutoEnhanceModeAuto = 1,
    QopAutoEnhanceModeNight = 2,
    QopAutoEnhanceModeBacklight = 3
} QopAutoEnhanceMode;

/* Brightens by a smoothed equalisation factor of each pixel's luminance (its strength per mode),
 * in its own effect. Backlight first lifts the shadows with a contrast curve. */
void QopAutoEnhance(QopBitmap_t *bitmap, QopAutoEnhanceMode mode);
/* Gaussian smoothing in place, renormalised at the ends (a constant line stays constant).
 * Nothing when the scratch line cannot be allocated. */
void QopLineSmooth1D(float *line, uint16_t lineSize, int std);
/* Pulls the a* and b* distributions half-way toward neutral, in its own effect. Leaves the bitmap
 * unchanged when its tables cannot be allocated. */
void QopLabCorrect(QopBitmap_t *bitmap);

/* Summed-area tables (width x height words, row-major): entry (x, y) sums all pixels x' <= x,
 * y' <= y. Sums wrap modulo 2^32 on very large images; box sums taken from them stay exact. */
void QopBuildIntegralImage(const QopBitmap_t *bitmap, uint32_t *iR, uint32_t *iG, uint32_t *iB);
/* Of grey = (int)(0.2 r + 0.7 g + 0.1 b + 0.5). */
void QopBuildIntegralImageGray(const QopBitmap_t *bitmap, uint32_t *iGray);
/* The sum over the inclusive box x1..x2 by y1..y2 (x1, y1 may be 0). */
uint32_t QopSumBoxFromIntegralImage(const uint32_t *integral, size_t w, size_t h, int x1, int y1, int x2, int y2);

/* Local contrast core: the tone table applied through the local grey average of a box of radius
 * (width + height) / 40 / 2 or so, with a little detail sharpening; alpha becomes 255. */
void QopBlurHistMap(QopBitmap_t *bitmap, const QopHistMap_t *histMap);
/* Local contrast from a tone table derived from the green histogram; and the same in its own
 * effect. */
void QopLocalContrastEnhanceProcessor(QopBitmap_t *bitmap);
void QopLocalContrastEnhance(QopBitmap_t *bitmap);

#ifdef __cplusplus
}
#endif
