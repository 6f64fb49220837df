// The processors whose work is one tone or colour operation of the library: lookup maps, gamma,
// contrast, intensity map, blend with a colour, noise, and the colour matrix built from a list of
// operations. Each scales its own parameter by the effect intensity, as noted per processor.
#include "QLPLJSONValues.h"
#include "QLPLProcessorArgs.h"
#include "QopLite/QLPL.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopHistogram.h"
#include "QopLite/QopNoise.h"

#include <cmath>

namespace {

bool effectIntensity(const QopEffectParams_t *effectParams, float *intensity)
{
    return QLPLFloatFromDouble(effectParams->intensity, intensity);
}

// value blended toward 1 by the effect intensity; false when the result is not a finite float.
bool valueAroundOne(yajl_val parameters, const QopEffectParams_t *effectParams, float *out)
{
    float value, intensity;
    if (!QLPLFloatMember(parameters, "value", &value) || !effectIntensity(effectParams, &intensity))
        return false;
    *out = QLPLBlendAroundIdentity(value, 1.0f, intensity);
    return std::isfinite(*out);
}

// A recipe map, faded toward the identity by the effect intensity.
bool fadedMap(yajl_val parameters, const QopEffectParams_t *effectParams, QopHistMap_t *map)
{
    if (!QLPLHistMapfromHistMapVal(QLPLObjectMember(parameters, "histMap"), map))
        return false;
    QopHistMapFade(map, effectParams->intensity);
    return true;
}

// "alpha" times the effect intensity (kept in double for the kernels that take a double; it
// must still fit a float, as the blend itself is single precision).
bool scaledAlpha(yajl_val parameters, const QopEffectParams_t *effectParams, double *alpha)
{
    if (!QLPLNumberMember(parameters, "alpha", alpha))
        return false;
    *alpha *= effectParams->intensity;
    float unused;
    return QLPLFloatFromDouble(*alpha, &unused);
}

bool applyColorMatrixOperation(yajl_val operation, float intensity, QopColorMatrix_t m)
{
    const char *word = QLPLStringMember(operation, "operation");
    if (QLPLStringIs(word, "hardSet")) {
        yajl_val entries = QLPLObjectMember(operation, "entries");
        if (!YAJL_IS_ARRAY(entries) || entries->u.array.len != 12)
            return false;
        double gain = 1.0;
        QLPLNumberMember(operation, "gain", &gain);
        // hardSet replaces what earlier operations built, faded toward the identity.
        for (size_t j = 0; j < 12; ++j) {
            double entry;
            if (!QLPLNumberFromVal(entries->u.array.values[j], &entry))
                return false;
            const bool diagonal = j == 0 || j == 5 || j == 10;
            if (!QLPLFloatFromDouble(entry * gain * intensity + (diagonal ? 1.0 - intensity : 0.0), &m[j]))
                return false;
        }
        return true;
    }
    float value;
    if (!QLPLFloatMember(operation, "value", &value))
        return false;
    const float around = QLPLBlendAroundIdentity(value, 1.0f, intensity);
    if (QLPLStringIs(word, "brightness"))
        QopColorMatrixBrightness(m, around);
    else if (QLPLStringIs(word, "contrast"))
        QopColorMatrixContrast(m, around - 1.0f);
    else if (QLPLStringIs(word, "saturation"))
        QopColorMatrixAdjSaturation(m, around);
    else
        return false;
    return true;
}

} // namespace

bool QLPLNoiseIntensity(double noiseIntensity, double effectIntensity, float *out)
{
    const double product = noiseIntensity * effectIntensity;
    if (std::isnan(product))
        return false;
    // The noise kernel converts (2u - 1) x intensity x 255 to int; beyond this the conversion
    // would overflow. Every offset is already far past the 0..255 range well before it.
    *out = static_cast<float>(std::fmax(-kQLPLMaxNoiseIntensity, std::fmin(kQLPLMaxNoiseIntensity, product)));
    return true;
}

bool QLPLColorMatrixFromOperationsVal(yajl_val operations, const QopEffectParams_t *effectParams,
                                      QopColorMatrix_t m)
{
    float intensity;
    if (!YAJL_IS_ARRAY(operations) || !effectIntensity(effectParams, &intensity))
        return false;
    QopColorMatrixSetIdentity(m);
    for (size_t i = 0; i < operations->u.array.len; ++i) {
        if (!applyColorMatrixOperation(operations->u.array.values[i], intensity, m))
            return false;
    }
    // Composed adjustments can overflow to infinity; the kernel cannot convert that to a byte.
    for (size_t j = 0; j < 12; ++j) {
        if (!std::isfinite(m[j]))
            return false;
    }
    return true;
}

extern "C" {

bool QLPLRunHistogramMappingProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    QopHistMap_t map;
    if (!fadedMap(parameters, effectParams, &map))
        return false;
    QopBitmapHistogramTransform(bitmap, &map);
    return true;
}

bool QLPLRunGammaProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    float value;
    if (!valueAroundOne(parameters, effectParams, &value))
        return false;
    QopBitmapGamma(bitmap, value);
    return true;
}

bool QLPLRunContrastProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    float value;
    if (!valueAroundOne(parameters, effectParams, &value))
        return false;
    QopBitmapContrastCurve(bitmap, value);
    return true;
}

bool QLPLRunColorMatrixTransformProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    QopColorMatrix_t m;
    if (!QLPLColorMatrixFromOperationsVal(QLPLObjectMember(parameters, "operations"), effectParams, m))
        return false;
    QopBitmapColorMatrixTransform(bitmap, m);
    return true;
}

bool QLPLRunIntensityMapProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    QopHistMap_t map;
    QopBlendMode_t blendMode;
    double alpha;
    if (!fadedMap(parameters, effectParams, &map) || !scaledAlpha(parameters, effectParams, &alpha))
        return false;
    QLPLBlendModeFromBlendModeVal(QLPLObjectMember(parameters, "blendMode"), &blendMode);
    QopBitmapIntensityMap(bitmap, &map, blendMode, alpha);
    return true;
}

bool QLPLRunBlendWithColorProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    QopColor_t color;
    QopBlendMode_t blendMode;
    double alpha;
    if (!QLPLColorFromColorVal(QLPLObjectMember(parameters, "color"), &color) ||
        !scaledAlpha(parameters, effectParams, &alpha))
        return false;
    QLPLBlendModeFromBlendModeVal(QLPLObjectMember(parameters, "blendMode"), &blendMode);
    QopBitmapBlendWithColor(bitmap, &color, blendMode, static_cast<float>(alpha));
    return true;
}

bool QLPLRunNoiseProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    double noiseIntensity;
    float intensity;
    if (!QLPLNumberMember(parameters, "intensity", &noiseIntensity) ||
        !QLPLNoiseIntensity(noiseIntensity, effectParams->intensity, &intensity))
        return false;
    QopBitmapAddNoise(bitmap, intensity, effectParams->seed);
    return true;
}

} // extern "C"
