// Per-channel tone operations on bitmaps: the colour matrix (plain and blended with the
// original), the intensity map, the contrast curve and gamma. Whatever acts on each channel by
// itself becomes a 256-entry table applied in one pass; only a matrix with cross-channel terms
// (or a Color-mode blend) needs arithmetic per pixel. With glData set each records its GPU pass.
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopHistogram.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

// Clamps to 0..255 before the conversion to an integer, so that huge, infinite or NaN values
// (NaN gives 0) never reach an out-of-range float-to-int conversion. For every finite value
// this truncates to the same byte as truncating first and clamping afterwards.
inline uint8_t clampToByte(float v)
{
    v = v > 0.0f ? v : 0.0f;
    v = v < 255.0f ? v : 255.0f;
    return static_cast<uint8_t>(static_cast<int>(v));
}

bool hasNoCrossTerms(const float *cm)
{
    return cm[1] == 0.0f && cm[2] == 0.0f && cm[4] == 0.0f && cm[6] == 0.0f && cm[8] == 0.0f && cm[9] == 0.0f;
}

// The table of a matrix without cross-channel terms.
void diagonalMap(const float *cm, QopHistMap_t *map)
{
    for (int i = 0; i < 256; ++i) {
        const float v = static_cast<float>(i);
        map->r[i] = clampToByte(v * cm[0] + cm[3] + 0.5f);
        map->g[i] = clampToByte(v * cm[5] + cm[7] + 0.5f);
        map->b[i] = clampToByte(v * cm[10] + cm[11] + 0.5f);
    }
}

// The general matrix over a run of pixels; alpha stays. Kept free of branches so that the
// compiler can vectorise it.
void matrixRun(uint8_t *__restrict p, size_t count, const float *cm)
{
    const float m0 = cm[0], m1 = cm[1], m2 = cm[2], m3 = cm[3];
    const float m4 = cm[4], m5 = cm[5], m6 = cm[6], m7 = cm[7];
    const float m8 = cm[8], m9 = cm[9], m10 = cm[10], m11 = cm[11];
    for (size_t i = 0; i < count; ++i) {
        const float r = p[4 * i], g = p[4 * i + 1], b = p[4 * i + 2];
        const float nr = m0 * r + m1 * g + m2 * b + m3 + 0.5f;
        const float ng = m4 * r + m5 * g + m6 * b + m7 + 0.5f;
        const float nb = m8 * r + m9 * g + m10 * b + m11 + 0.5f;
        p[4 * i] = clampToByte(nr);
        p[4 * i + 1] = clampToByte(ng);
        p[4 * i + 2] = clampToByte(nb);
    }
}

QopColor_t matrixColor(const QopColor_t &c, const float *cm)
{
    const float r = c.r, g = c.g, b = c.b;
    return QopColor_t{clampToByte(cm[0] * r + cm[1] * g + cm[2] * b + cm[3] + 0.5f),
                      clampToByte(cm[4] * r + cm[5] * g + cm[6] * b + cm[7] + 0.5f),
                      clampToByte(cm[8] * r + cm[9] * g + cm[10] * b + cm[11] + 0.5f), 255};
}

size_t pixelCount(const QopBitmap_t *bitmap) { return bitmap->width * bitmap->height; }

// Applies a table on the GPU (colour-map pass) or on the CPU.
void applyMap(QopBitmap_t *bitmap, const QopHistMap_t *map)
{
    if (bitmap->glData)
        QopGLAddColorMap(map, bitmap->glData);
    else
        QopBitmapHistogramTransform(bitmap, map);
}

} // namespace

extern "C" {

void QopBitmapColorMatrixTransform(QopBitmap_t *bitmap, const float *cm)
{
    if (bitmap->glData) {
        QopGLAddColorTransform(cm, bitmap->glData);
        return;
    }
    if (hasNoCrossTerms(cm)) {
        QopHistMap_t map;
        diagonalMap(cm, &map);
        QopBitmapHistogramTransform(bitmap, &map);
        return;
    }
    matrixRun(reinterpret_cast<uint8_t *>(bitmap->data), pixelCount(bitmap), cm);
}

void QopBitmapColorMatrixTransformAndBlendWithOriginal(QopBitmap_t *bitmap, const float *cm,
                                                       QopBlendMode_t blendMode, float blendAmount)
{
    if (bitmap->glData) {
        if (blendMode != QopBlendModeOverlay)
            std::printf("QopBitmapColorMatrixTransformAndBlendWithOriginal is not implemented for any blend "
                        "mode other than overlay.\n");
        QopGLAddColorTransformAndOverlayWithOriginal(cm, bitmap->glData, blendAmount);
        return;
    }
    const size_t count = pixelCount(bitmap);
    QopColor_t *data = bitmap->data;
    if (!hasNoCrossTerms(cm)) {
        for (size_t i = 0; i < count; ++i) {
            const QopColor_t result = matrixColor(data[i], cm);
            QopColorBlend(&data[i], &result, blendMode, blendAmount);
        }
        return;
    }
    QopHistMap_t map;
    diagonalMap(cm, &map);
    if (blendMode == QopBlendModeColor) {
        // Color mode mixes the channels (hue and saturation of the whole result), so it cannot
        // be folded into per-channel tables.
        for (size_t i = 0; i < count; ++i) {
            const QopColor_t result{map.r[data[i].r], map.g[data[i].g], map.b[data[i].b], 255};
            QopColorBlend(&data[i], &result, blendMode, blendAmount);
        }
        return;
    }
    // Every other mode blends each channel on its own, and with no cross terms the matrix
    // result of a channel depends on that channel alone: the blend of value v is the blend of
    // the grey v with the matrix result of that grey, one table for the whole image.
    QopHistMap_t blended;
    for (int v = 0; v < 256; ++v) {
        QopColor_t grey{uint8_t(v), uint8_t(v), uint8_t(v), 255};
        const QopColor_t result{map.r[v], map.g[v], map.b[v], 255};
        QopColorBlend(&grey, &result, blendMode, blendAmount);
        blended.r[v] = grey.r;
        blended.g[v] = grey.g;
        blended.b[v] = grey.b;
    }
    QopBitmapHistogramTransform(bitmap, &blended);
}

void QopBitmapIntensityMap(QopBitmap_t *bitmap, const QopHistMap_t *histMap, QopBlendMode_t blendMode, double alpha)
{
    if (bitmap->glData) {
        QopGLAddIntensityMap(histMap, blendMode, alpha, bitmap->glData);
        return;
    }
    const float blendAlpha = static_cast<float>(alpha);
    const size_t count = pixelCount(bitmap);
    QopColor_t *data = bitmap->data;
    for (size_t i = 0; i < count; ++i) {
        QopColor_t &px = data[i];
        int index = static_cast<int>(0.212671f * px.r + 0.71516f * px.g + 0.072169f * px.b + 0.5f);
        index = index < 255 ? index : 255;
        const QopColor_t color{histMap->r[index], histMap->g[index], histMap->b[index], 255};
        QopColorBlend(&px, &color, blendMode, blendAlpha);
    }
}

void QopBitmapContrastCurve(QopBitmap_t *bitmap, float value)
{
    if (value == 0.0f)
        value = 1e-8f;
    const float inverse = 1.0f / value;
    uint8_t curve[256];
    for (int k = 0; k < 256; ++k) {
        const float v = k < 128 ? 127.0f * powf(static_cast<float>(k) / 127.0f, value)
                                : 127.0f * powf(static_cast<float>(k - 128) / 127.0f, inverse) + 127.0f;
        curve[k] = clampToByte(v + 0.5f);
    }
    QopHistMap_t map;
    QopHistMapSet(&map, curve, curve, curve);
    applyMap(bitmap, &map);
}

void QopBitmapGamma(QopBitmap_t *bitmap, float value)
{
    uint8_t curve[256];
    for (int i = 0; i < 256; ++i)
        curve[i] = clampToByte(powf(static_cast<float>(i) / 255.0f, value) * 255.0f + 0.5f);
    QopHistMap_t map;
    QopHistMapSet(&map, curve, curve, curve);
    applyMap(bitmap, &map);
}

} // extern "C"
