/* QLPL.h: the effect-recipe runner. An effect of the content packs is a JSON recipe naming a
 * list of processors and their parameters:
 *
 *   {"identifier": "...", "processors": [{"name": "gamma", "parameters": {"value": 1.2}}, ...]}
 *
 * A recipe is parsed once (QLPLLoadEffect), run any number of times on bitmaps (QLPLRunEffect)
 * and released (QLPLUnloadEffect); running never changes the tree. Every failure is a false
 * result (or a null tree), with no message. A run that fails part-way keeps what the processors
 * before the failing one did. On a GPU bitmap the whole recipe is one GPU effect. */
#pragma once

#include "QopLite/QopBorders.h"
#include "QopLite/QopFlare.h"
#include "QopLite/QopTypes.h"

#include <yajl/yajl_tree.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A loaded recipe: the root of its yajl tree, owned by the caller until QLPLUnloadEffect. */
typedef yajl_val QopJSONEffect;

/* Null for a null or malformed text, for nesting deeper than QLPL_MAX_NESTING, and for a root
 * without a string "identifier" and an array "processors". */
QopJSONEffect QLPLLoadEffect(const char *inputEffectJSON);
/* Frees the tree and nulls *effectNode; a null pointer is ignored. */
void QLPLUnloadEffect(yajl_val *effectNode);
/* Runs every processor in order inside one GPU effect; false at the first processor that fails
 * (what ran before it stays, and the GPU effect is closed all the same). */
bool QLPLRunEffect(QopJSONEffect effect, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
/* One processor object {"name": string, "parameters": object}; false for an unknown name. */
bool QLPLRunProcessor(yajl_val processor, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);

/* Deepest array/object nesting a recipe may have (real recipes nest seven levels). */
#define QLPL_MAX_NESTING 64

/* The processor runners; each takes the processor's "parameters" object. */
bool QLPLRunVignetteProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunLegacyProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunHistogramMappingProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunGammaProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunColorMatrixTransformProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunIntensityMapProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunFlareProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunContrastProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunBlendWithColorProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunNoiseProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunSharpnessProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
bool QLPLRunGradientProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);
/* Reads "color" and runs the automatic colour balance toward it. Not offered by
 * QLPLRunProcessor: "auto_colors_fade_max_color" is not a processor name. */
bool QLPLRunAutoColorsFadeMaxProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);

/* Warm-up: loads (once, warmed) every GPU program the recipe's processors may draw with, in
 * processor order, on the GL thread with the context current. False at the first processor that
 * fails (unknown name, missing "name" or "parameters", unknown legacy name or flare type) and
 * once the GPU record's failure latch is set; programs loaded before that stay loaded. */
bool QLPLPrewarmEffect(QopJSONEffect effect, QopGLData_t *glData);
/* One processor object; accepts the runner's thirteen names and "auto_colors_fade_max_color".
 * Answers whether the record's state is still Ok. */
bool QLPLPrewarmProcessor(yajl_val processor, QopGLData_t *glData);

/* The warm-up of each processor, given its "parameters" object. */
bool QLPLPrewarmOriginalProcessor(QopGLData_t *glData, yajl_val parameters);
bool QLPLPrewarmAutoColorsFadeMaxProcessor(QopGLData_t *glData, yajl_val parameters);
bool QLPLPrewarmColorMatrixTransformProcessor(QopGLData_t *glData, yajl_val parameters);
bool QLPLPrewarmNoiseProcessor(QopGLData_t *glData, yajl_val parameters);
bool QLPLPrewarmVignetteProcessor(yajl_val parameters, QopGLData_t *glData);
bool QLPLPrewarmLegacyProcessor(yajl_val parameters, QopGLData_t *glData);
bool QLPLPrewarmHistogramMappingProcessor(yajl_val parameters, QopGLData_t *glData);
bool QLPLPrewarmGammaProcessor(yajl_val parameters, QopGLData_t *glData);
bool QLPLPrewarmIntensityMapProcessor(yajl_val parameters, QopGLData_t *glData);
bool QLPLPrewarmFlareProcessor(yajl_val parameters, QopGLData_t *glData);
bool QLPLPrewarmContrastProcessor(yajl_val parameters, QopGLData_t *glData);
bool QLPLPrewarmBlendWithColorProcessor(yajl_val parameters, QopGLData_t *glData);
bool QLPLPrewarmSharpnessProcessor(yajl_val parameters, QopGLData_t *glData);
bool QLPLPrewarmGradientProcessor(yajl_val parameters, QopGLData_t *glData);

/* Program loaders of the warm-up (each program once, warmed): the border side strips, the dot
 * matrix, the theta borders, the plain vignette, the random hard border, the basic dots, lines,
 * the ring flare, and the eight blur programs. */
void QLPLLoadSideAndDoubleSide(QopGLData_t *glData);
void QLPLLoadDotMatrix(QopGLData_t *glData);
void QLPLLoadTheta(QopGLData_t *glData);
void QLPLLoadVignette(QopGLData_t *glData);
void QLPLLoadHardRand(QopGLData_t *glData);
void QLPLLoadBasicDots(QopGLData_t *glData);
void QLPLLoadDrawLine(QopGLData_t *glData);
void QLPLLoadRingFlare(QopGLData_t *glData);
void QLPLLoadConvolution(QopGLData_t *glData);

/* t v + (1 - t) identity, in single precision. */
float QLPLBlendAroundIdentity(float value, float identity, float intensity);

/* Value readers: each reads one JSON value (null when the key is absent) and writes through its
 * second argument. */

/* {"r", "g", "b", "a"}, each a whole number 0..255 (a number with a fraction fails). */
bool QLPLColorFromColorVal(yajl_val colorVal, QopColor_t *color);
/* {"r", "g", "b"}, each exactly 256 whole numbers 0..255. Entries before a bad one are already
 * written when it fails. */
bool QLPLHistMapfromHistMapVal(yajl_val histMapVal, QopHistMap_t *histMap);
/* "normal", "overlay", "color", "screen", "darken", "multiply"; anything else is Normal. Always
 * true. */
bool QLPLBlendModeFromBlendModeVal(yajl_val blendModeVal, QopBlendMode_t *blendMode);
/* "normal", "sharp", "mediumSharp", "ultraSharp"; anything else is normal. Always true. */
bool QLPLBorderShapeModeFromBorderShapeModeVal(yajl_val shapeModeVal, QopBorderShapeMode_t *shapeMode);
/* "halftone" 1 ... "viewfinder" 16; false for anything else. */
bool QLPLBorderStyleFromBorderStyleTypeVal(yajl_val borderStyleVal, QopBorderStyle_t *borderStyle);
/* "sinc" 0 ... "blob2" 18 (the lens flare, 8, has no word); false for anything else. */
bool QLPLFlareTypeFromFlareTypeVal(yajl_val flareTypeVal, QopFlareType_t *flareType);
/* A shape {"vignetteScale", "scaling", "shapeMode", "dx", "dy"} into the border parameters:
 * shapeMode, dx, dy, stretch and vignetteScale (scaled to the bitmap and divided by
 * intensity, plus 1e-8 when useDivZeroPad). */
bool QLPLBorderPopoulateWithShapeTypeVal(yajl_val shapeType, QopBorderParams_t *borderParams,
                                         const QopBitmap_t *bitmap, float intensity, bool useDivZeroPad);
/* Fills a gradient already built with the two array lengths from the colour stops
 * {"color", "location"} and opacity stops {"opacity", "location"}. False when either list has
 * fewer than two stops, does not match the built lengths, or a stop is malformed. */
bool QLPLGradientfromColorsValAndOpacitiesVal(yajl_val colorsVal, yajl_val opacitiesVal, QopGradient_t *gradient);

#ifdef __cplusplus
}
#endif
