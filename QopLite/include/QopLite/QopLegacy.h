/* QopLegacy.h: fixed operations that older effects were built from (two lens flares, soft focus,
 * a warm automatic colour balance, fixed colour matrices, a fractal texture, weighted black and
 * white, gritty dots, clarity). Each reads at most seed and intensity of the parameters. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Grey weight of each hue region of the weighted black and white, in region order. */
typedef struct QopLegacyStilbrushBWSatWeights {
    float red;
    float yellow;
    float green;
    float cyan;
    float blue;
    float magenta;
} QopLegacyStilbrushBWSatWeights;
typedef QopLegacyStilbrushBWSatWeights QopLegacyStilbrushBWSatWeights_t;

/* Default and Lighten use fixed weights; Saturation uses the weights passed and keeps some of
 * each pixel's colour. */
typedef enum QopLegacyStilbrushWeightMode {
    QopLegacyStilbrushWeightModeDefault = 0,
    QopLegacyStilbrushWeightModeLighten = 1,
    QopLegacyStilbrushWeightModeSaturation = 2
} QopLegacyStilbrushWeightMode;
typedef QopLegacyStilbrushWeightMode QopLegacyStilbrushWeightMode_t;

typedef struct QopLegacyStilbrushParams {
    QopLegacyStilbrushBWSatWeights_t weights;
    QopLegacyStilbrushWeightMode_t mode;
} QopLegacyStilbrushParams;
typedef QopLegacyStilbrushParams QopLegacyStilbrushParams_t;

/* Stores the six weights in field order. */
void QopLegacyStilbrushBWSatWeightsSet(QopLegacyStilbrushBWSatWeights_t *weights, float r, float y, float g, float c,
                                       float b, float m);
/* Weighted black and white: each pixel's grey is a hue-dependent mix of its region values, with
 * 5-degree transition bands between the 60-degree regions; the result is laid on in blendMode at
 * alpha. */
void QopLegacyStilbrushBWSat(QopBitmap_t *bitmap, float alpha, QopLegacyStilbrushParams_t psParams,
                             QopBlendMode_t blendMode);
/* White dots on even rows, every fourth column (shifted by two on alternate even rows), laid on in
 * blendMode at alpha. The GPU pass always overlays. */
void QopLegacyGrittyDots(QopBitmap_t *bitmap, float alpha, QopBlendMode_t blendMode);

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
