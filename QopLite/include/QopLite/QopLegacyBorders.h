/* QopLegacyBorders.h: ready-made frames, one function per legacy effect. Each draws with a fixed
 * parameter set of the border engine and reads only seed and intensity of the parameters. */
#pragma once

#include "QopLite/QopTypes.h"

#include <time.h>

#ifdef __cplusplus
extern "C" {
#endif

void QopEffectSanCarmenBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectTamBrewBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectVexaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectSingeBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectAquaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectThreshBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectEdgewoodBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectPurpleBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectCherryBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectCrossprocessBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectFadedBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectIthacaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectSunburnBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectEarthyBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectSolarBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectOldThreshBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectTovaquinbelBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectBrownieBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectOrcaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectChronoBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectTitanBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectCabanaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QoeEffectBordeauxBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectCovertBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectPellarBWBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEffectPellarTintypeBorder(QopBitmap_t *bitmap, QopEffectParams_t *params);

/* The layers the members above stack. */
void QopGrungeBorder1Legacy(QopBitmap_t *bitmap, const QopColor_t *color, uint32_t seed, double intensity);
void QopGrungeBorder4Legacy(QopBitmap_t *bitmap, uint32_t seed, double intensity);
void QopGrungeBorder5Legacy(QopBitmap_t *bitmap, uint32_t seed, double intensity);
void QopGrungeBorder6Legacy(QopBitmap_t *bitmap, uint32_t seed, double intensity);
/* Imitation viewfinder read-outs: dot-matrix text, lines, ring flares, scales; some print the date. */
void QopCameraDisplay2Legacy(QopBitmap_t *bitmap, uint32_t seed);
void QopCameraDisplay3Legacy(QopBitmap_t *bitmap, uint32_t seed);
void QopCameraDisplay4Legacy(QopBitmap_t *bitmap, uint32_t seed, double intensity);
void QopCameraDisplay5Legacy(QopBitmap_t *bitmap, uint32_t seed);
void QopCameraDisplay6Legacy(QopBitmap_t *bitmap);
void QopCameraDisplay7Legacy(QopBitmap_t *bitmap, uint32_t seed);
/* One speck of dirt: a branching cluster of up to 1000 soft dots grown from (x, y, r) (pixels). */
void QopDirtSpecLegacy(QopBitmap_t *bitmap, double x, double y, double r, const QopColor_t *color, uint32_t seed);
/* One soft dot on the CPU: full colour alpha inside r, fading over a rim of min(2r, 2) pixels. */
void QopDrawBasicDotLegacy(QopBitmap_t *bitmap, const QopColor_t *color, double x, double y, double r);

/* The clock the dated read-outs print: null (the default) reads the wall clock. Tests set a fixed
 * one so that dated frames are reproducible. */
typedef time_t (*QopLegacyClock)(void);
void QopLegacyBordersSetClock(QopLegacyClock clock);
/* The date as the read-outs print it ("%a %b %d %Y" in English, upper-cased), local time. */
void QopLegacyBordersDateText(char *buffer, size_t size);

#ifdef __cplusplus
}
#endif
