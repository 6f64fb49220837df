// QLPLProcessorArgs.h: the runner's own steps between a processor's parameters and its kernel
// call, kept apart from the call so that the arguments a recipe produces can be checked on their
// own (the kernels of some processors arrive later). Not part of the public interface.
#pragma once

#include "QopLite/QopBorders.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopFlare.h"
#include "QopLite/QopGradientMap.h"
#include "QopLite/QopTypes.h"

#include <yajl/yajl_tree.h>

// Largest noise intensity whose offsets (2u - 1) x intensity x 255 still fit an int.
constexpr double kQLPLMaxNoiseIntensity = 8.4e6;

// The noise processor's intensity times the effect intensity, clamped to
// +-kQLPLMaxNoiseIntensity; false when it is not a number.
bool QLPLNoiseIntensity(double noiseIntensity, double effectIntensity, float *out);

// The colour matrix of an "operations" list at the effect's intensity (identity for an empty
// list); false for an unknown or malformed operation or a matrix that is not finite.
bool QLPLColorMatrixFromOperationsVal(yajl_val operations, const QopEffectParams_t *effectParams,
                                      QopColorMatrix_t m);

// The arguments of one QopFlare call.
struct QLPLFlareArgs {
    float fScale = 0;
    QopColor_t color{};
    QopFlareType_t type = QopFlareSinc;
    float dx = 0, dy = 0, dsx = 0, dsy = 0;
    QopBlendMode_t blendMode = QopBlendModeNormal;
};
// Reads a flare's parameters; the colour's alpha becomes (int)(a x intensity), held to 0..255.
bool QLPLFlareArgsFromParameters(yajl_val parameters, const QopEffectParams_t *effectParams, QLPLFlareArgs *args);

// The arguments of one QopGradientApply call. On success `gradient` is built and the caller frees
// it with QopGradientFree; on failure nothing is left allocated.
struct QLPLGradientArgs {
    QopGradient_t gradient{};
    QopGradientShapeParams_t shape{};
    QopBlendMode_t blendMode = QopBlendModeNormal;
    double alphaBlend = 0;
};
bool QLPLGradientArgsFromParameters(yajl_val parameters, const QopBitmap_t *bitmap,
                                    const QopEffectParams_t *effectParams, QLPLGradientArgs *args);
