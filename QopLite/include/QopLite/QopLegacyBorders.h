/* QopLegacyBorders.h: ready-made frames, one function per legacy effect. Each draws with a fixed
 * parameter set of the border engine and reads only seed and intensity of the parameters. */
#pragma once

#include "QopLite/QopTypes.h"

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

#ifdef __cplusplus
}
#endif
