/* QopBorders.h: the border engine. One parameter block, QopBorderParams, drives every procedural
 * frame style and the colour vignette; callers fill it from QopBorderInitParams, set a few fields
 * and call QopBorders. Sizes follow the image's own width and height, and every random choice
 * comes from the library's seeded generator, so one seed always gives one frame. */
#pragma once

#include "QopLite/QopRandom.h"
#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QopBorderStyle {
    QopBorderStyleNone = 0,
    QopBorderStyleHalftone = 1,
    QopBorderStyleLines = 2,
    QopBorderStyleSmooth = 3,
    QopBorderStyleShadow = 4,
    QopBorderStyleFade = 5,
    QopBorderStyleRough = 6,
    QopBorderStyleBulge = 7,
    QopBorderStyleTorn = 8,
    QopBorderStyleTorn2 = 9,
    QopBorderStyleRect = 10,
    QopBorderStyleRound = 11,
    QopBorderStylePellar = 12,
    QopBorderStyleHardRand = 13,
    QopBorderStyleInstant = 14,
    QopBorderStyleVignette = 15,
    QopBorderStyleViewfinder = 16
} QopBorderStyle;
typedef QopBorderStyle QopBorderStyle_t;

/* Falloff shape of the vignette. */
typedef enum QopBorderShapeMode {
    QopBorderShapeModeNormal = 0,
    QopBorderShapeModeSharp = 1,
    QopBorderShapeModeMediumSharp = 2,
    QopBorderShapeModeUltraSharp = 3
} QopBorderShapeMode;
typedef QopBorderShapeMode QopBorderShapeMode_t;

/* The parameter block of every border style; caller-owned, one per call. The engine writes some
 * fields back (the per-side insets). The six line pointers are the caller's work arrays. */
typedef struct QopBorderParams {
    double offset;
    double halftoneDotScale;
    double linesScale;
    double shadowAngle; /* degrees */
    double size;        /* not read by the engine */
    double amp;
    double dw;
    double hConst;
    double antiAliasing;
    double dbl;
    double fadeCorrection;
    double rScale;
    double dwT;
    double dwL;
    double dwR;
    double dwB;
    QopMPDType_t noiseType;
    bool onlyOut; /* not read by the engine */
    double vignetteScale;
    double scale;
    double corner;
    double intensity;
    double alpha;
    double offsetL;
    double offsetR;
    double offsetT;
    double offsetB;
    uint32_t seed;
    QopColor_t color;
    QopBlendMode_t blendMode;
    QopBorderStyle_t style;
    float *line;
    float *lineA;
    float *lineB;
    float *lineL;
    float *lineR;
    float *lineT;
    QopBorderShapeMode_t shapeMode;
    bool stretch; /* the vignette follows the image's aspect ratio */
    double dx;    /* vignette centre shift, fraction of half the width */
    double dy;    /* and of half the height */
} QopBorderParams;
typedef QopBorderParams QopBorderParams_t;

/* Writes the defaults into every field except size and the six line pointers; returns params. */
QopBorderParams_t *QopBorderInitParams(QopBorderParams_t *params);
/* Draws the border named by params->style (None, Instant and unknown styles draw nothing). */
void QopBorders(QopBitmap_t *bitmap, QopBorderParams_t *params);

/* The style families QopBorders dispatches to; each may be called directly with its styles.
 * Inset styles (Halftone ... Rough, Viewfinder): a soft or patterned frame measured inwards from
 * the per-side insets, which every style but Viewfinder computes and writes back. */
void QopBordersTheta(QopBitmap_t *bitmap, QopBorderParams_t *params);
/* Side styles (Bulge, Torn, Rect, Round, Pellar): one depth line per side in `line` (at least
 * max(W, H) floats), painted from the edge inwards. */
void QopBordersSide(QopBitmap_t *bitmap, QopBorderParams_t *params);
/* Torn2: a ragged strip between two random lines per side, `lineA` and `lineB` (max(W, H) each). */
void QopBordersDoubleSided(QopBitmap_t *bitmap, QopBorderParams_t *params);
/* HardRand: four random lines (lineL, lineR of H floats, lineT, lineB of W) with rounded corners
 * and a random falloff. */
void QopBordersHardRand(QopBitmap_t *bitmap, QopBorderParams_t *params);
/* The colour vignette (a cos^4 falloff from the centre), laid on with params->blendMode. */
void QopVignette(QopBitmap_t *bitmap, QopBorderParams_t *params);
/* The Instant style has no painter: does nothing. */
void QopBordersInstant(QopBitmap_t *bitmap, double size, const QopColor_t *color);

#ifdef __cplusplus
}
#endif
