/* QopLegacy.h: fixed operations that older effects were built from (two lens flares, soft focus,
 * a warm automatic colour balance, fixed colour matrices, a fractal texture, weighted black and
 * white, gritty dots, clarity). Each reads at most seed and intensity of the parameters. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

void QopFlareLegacyIthaca(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopFlareLegacySunburn(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopLegacySoftFocus(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopLegacySanCarmenAutoColors(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopLegacyPellarTintypeColorMatrixTransform(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopLegacyPellarVintageColorMatrixTransform(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopLegacyPellarTintypeDiamondSquare(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopLegacySarnithGrittySBSat(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopLegacySarnithGrittyDots(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopLegacySarnithBWSBSat(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopLegacySarnithCinematicSBSat(QopBitmap_t *bitmap, QopEffectParams_t *params);
void QopEnhanceClarity(QopBitmap_t *bitmap, QopEffectParams_t *params);

#ifdef __cplusplus
}
#endif
