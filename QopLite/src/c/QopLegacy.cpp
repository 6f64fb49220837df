// The fixed operations of the older effects that are not frames: two seeded lens flares, two
// fixed colour matrices, an overlaid fractal texture, the weighted black and white with its
// variants, and the gritty dots.
#include "QopLite/QopLegacy.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopFlare.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopNoise.h"
#include "QopLite/QopRandom.h"
#include "QopLite/QopTransform.h"

#include <algorithm>
#include <cmath>

namespace {

// The flare's opacity byte from the effect intensity; an intensity outside 0..1 saturates instead
// of wrapping around the byte.
uint8_t opacityByte(double value)
{
    if (!(value > 0.0))
        return 0;
    return static_cast<uint8_t>(static_cast<int>(std::min(value, 255.0)));
}

struct FlareDraws {
    float u1, u2, u3;
};

FlareDraws flareDraws(uint32_t seed)
{
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    FlareDraws draws;
    draws.u1 = QopRNGNextFloat(&rng);
    draws.u2 = QopRNGNextFloat(&rng);
    draws.u3 = QopRNGNextFloat(&rng);
    return draws;
}

// A result channel: r (1 + d) - V d, clamped to a byte before truncation, so a saturated colour
// can never wrap around.
uint8_t resultChannel(float channel, float V, float d)
{
    const float value = channel * (1.0f + d) - V * d;
    return static_cast<uint8_t>(static_cast<int>(std::clamp(value, 0.0f, 255.0f)));
}

} // namespace

extern "C" {

void QopFlareLegacyIthaca(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!bitmap || !params)
        return;
    const FlareDraws u = flareDraws(params->seed);
    const QopColor_t color = {255, 255, 255, opacityByte(params->intensity * 0.6 * 255.0)};
    QopFlare(bitmap, u.u3 * 0.4f + 1.0f, &color, QopFlareAnglegaussian, (u.u1 - 0.5f) * 0.3f, (u.u2 - 0.5f) * 0.3f,
             1.0f, 1.0f, QopBlendModeNormal);
}

void QopFlareLegacySunburn(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!bitmap || !params)
        return;
    const FlareDraws u = flareDraws(params->seed);
    const QopColor_t color = {255, 255, 255, opacityByte(params->intensity * 255.0)};
    QopFlare(bitmap, (u.u3 - 0.5f) * 0.1f + 1.0f, &color, QopFlareGaussianthing2, (u.u1 - 0.5f) * 0.1f,
             (u.u2 - 0.5f) * 0.1f, 1.0f, 1.0f, QopBlendModeNormal);
}

void QopLegacyPellarTintypeColorMatrixTransform(QopBitmap_t *bitmap, QopEffectParams_t *)
{
    if (!bitmap)
        return;
    const QopColorMatrix_t m = {0.6965f, 0.3845f, 0.0945f, 0.0f, 0.1745f, 0.843f,
                                0.084f,  0.0f,    0.136f,  0.267f, 0.5655f, 0.0f};
    QopBitmapColorMatrixTransform(bitmap, m);
}

void QopLegacyPellarVintageColorMatrixTransform(QopBitmap_t *bitmap, QopEffectParams_t *)
{
    if (!bitmap)
        return;
    QopColorMatrix_t m = {0.8179f, 0.2307f, 0.0567f, 0.0f, 0.1047f, 0.9058f,
                          0.0504f, 0.0f,    0.0816f, 0.1602f, 0.7393f, 0.0f};
    QopColorMatrixAdjSaturation(m, 0.8f);
    QopBitmapColorMatrixTransform(bitmap, m);
}

void QopLegacyPellarTintypeDiamondSquare(QopBitmap_t *bitmap, QopEffectParams_t *)
{
    if (!bitmap || bitmap->width == 0 || bitmap->height == 0)
        return;
    const size_t smaller = std::min(bitmap->width, bitmap->height);
    size_t k = 1;
    while (2 * k + 1 < smaller)
        k *= 2;
    const size_t size = k + 1;
    float *lineL = nullptr;
    float *lineT = nullptr;
    QopBitmap_t noise = {nullptr, 0, 0, nullptr};
    if (QopArrayBuild(reinterpret_cast<void **>(&lineL), size, sizeof(float)) &&
        QopArrayBuild(reinterpret_cast<void **>(&lineT), size, sizeof(float)) && QopBitmapBuild(&noise, size, size)) {
        QopBitmapDiamondSquare(&noise, 140.0f, 0.2f, lineL, lineT);
        QopTransform_t transform;
        QopTransformSetIdentity(transform);
        QopTransformPostScale(transform, static_cast<double>(bitmap->width) / static_cast<double>(size),
                              static_cast<double>(bitmap->height) / static_cast<double>(size));
        QopBitmapBlendBitmapTransform(bitmap, &noise, QopBlendModeOverlay, 0.2f, transform);
    }
    QopArrayFree(reinterpret_cast<void **>(&lineL));
    QopArrayFree(reinterpret_cast<void **>(&lineT));
    QopBitmapFree(&noise);
}

void QopLegacyStilbrushBWSatWeightsSet(QopLegacyStilbrushBWSatWeights_t *weights, float r, float y, float g, float c,
                                       float b, float m)
{
    if (!weights)
        return;
    weights->red = r;
    weights->yellow = y;
    weights->green = g;
    weights->cyan = c;
    weights->blue = b;
    weights->magenta = m;
}

void QopLegacyStilbrushBWSat(QopBitmap_t *bitmap, float alpha, QopLegacyStilbrushParams_t psParams,
                             QopBlendMode_t blendMode)
{
    if (!bitmap)
        return;
    QopLegacyStilbrushBWSatWeights_t weights = psParams.weights;
    bool saturation = false;
    switch (psParams.mode) {
    case QopLegacyStilbrushWeightModeDefault:
        QopLegacyStilbrushBWSatWeightsSet(&weights, 0.4f, 0.6f, 0.4f, 0.6f, 0.2f, 0.8f);
        break;
    case QopLegacyStilbrushWeightModeLighten:
        QopLegacyStilbrushBWSatWeightsSet(&weights, 0.5f, 0.7f, 0.5f, 0.7f, 0.3f, 0.9f);
        break;
    case QopLegacyStilbrushWeightModeSaturation:
        saturation = true;
        break;
    }
    weights.red *= 1.2f;
    weights.yellow *= 1.05f;
    weights.magenta *= 1.05f;
    const float w[6] = {weights.red, weights.yellow, weights.green, weights.cyan, weights.blue, weights.magenta};
    if (bitmap->glData) {
        QopGLStilbrushSatBW(bitmap, w, 5.0f, 60.0f, saturation, alpha, blendMode);
        return;
    }
    if (!bitmap->data)
        return;
    const size_t count = bitmap->width * bitmap->height;
    for (size_t n = 0; n < count; ++n) {
        QopColor_t &pixel = bitmap->data[n];
        const float r = pixel.r;
        const float g = pixel.g;
        const float b = pixel.b;
        const float value[6] = {r, (r + g) * 0.5f + 0.5f, g, (g + b) * 0.5f + 0.5f, b, (b + r) * 0.5f + 0.5f};
        QopColor_hsv hsv;
        QopColorRGB2HSV(&pixel, &hsv);
        const float h = hsv.h;
        const int i = static_cast<int>((h + 30.0f) / 60.0f) % 6;
        double e = 0.0;
        double f = 0.0;
        const double hd = h;
        if (i != 0) {
            const double start = 60.0 * i - 30.0;
            if (hd < start + 5.0)
                e = (start + 5.0 - hd) * 0.5 / 5.0;
            else if (hd > start + 55.0)
                f = (hd - (start + 55.0)) * 0.5 / 5.0;
        } else {
            // Region 0 wraps around 360 degrees: these bands are [330, 335) and (25, 30).
            if (30.0 < hd && hd < 335.0)
                e = (335.0 - hd) * 0.5 / 5.0;
            else if (25.0 < hd && hd < 330.0)
                f = (hd - 25.0) * 0.5 / 5.0;
        }
        const int prev = (i + 5) % 6;
        const int next = (i + 1) % 6;
        const double Wd = e * w[prev] + (1.0 - e - f) * w[i] + f * w[next];
        const double Vd = e * w[prev] * value[prev] + (1.0 - e - f) * w[i] * value[i] + f * w[next] * value[next] +
                          std::min({r, g, b}) * (1.0 - Wd);
        const float W = static_cast<float>(Wd);
        const float V = static_cast<float>(Vd);
        const float d = saturation ? W * std::pow(V / 255.0f, 0.3f) : -1.0f;
        const QopColor_t result = {resultChannel(r, V, d), resultChannel(g, V, d), resultChannel(b, V, d), 255};
        QopColorBlend(&pixel, &result, blendMode, alpha);
    }
}

void QopLegacyGrittyDots(QopBitmap_t *bitmap, float alpha, QopBlendMode_t blendMode)
{
    if (!bitmap)
        return;
    if (bitmap->glData) {
        QopGLGrittyDots(bitmap, alpha);
        return;
    }
    if (!bitmap->data)
        return;
    const QopColor_t white = {255, 255, 255, 255};
    for (size_t y = 0; y < bitmap->height; y += 2) {
        for (size_t x = (4 - y % 4) % 4; x < bitmap->width; x += 4)
            QopColorBlend(&bitmap->data[y * bitmap->width + x], &white, blendMode, alpha);
    }
}

void QopLegacySarnithGrittySBSat(QopBitmap_t *bitmap, QopEffectParams_t *)
{
    QopLegacyStilbrushParams_t params = {{0, 0, 0, 0, 0, 0}, QopLegacyStilbrushWeightModeDefault};
    QopLegacyStilbrushBWSat(bitmap, 0.7f, params, QopBlendModeOverlay);
}

void QopLegacySarnithBWSBSat(QopBitmap_t *bitmap, QopEffectParams_t *)
{
    QopLegacyStilbrushParams_t params = {{0, 0, 0, 0, 0, 0}, QopLegacyStilbrushWeightModeDefault};
    QopLegacyStilbrushBWSat(bitmap, 1.0f, params, QopBlendModeNormal);
}

void QopLegacySarnithCinematicSBSat(QopBitmap_t *bitmap, QopEffectParams_t *)
{
    QopLegacyStilbrushParams_t params = {{0, 0, 0, 0, 0, 0}, QopLegacyStilbrushWeightModeDefault};
    QopLegacyStilbrushBWSat(bitmap, 0.7f, params, QopBlendModeOverlay);
}

void QopLegacySarnithGrittyDots(QopBitmap_t *bitmap, QopEffectParams_t *) { QopLegacyGrittyDots(bitmap, 0.051f, QopBlendModeOverlay); }

} // extern "C"
