// Per-channel tone operations on bitmaps: the colour matrix (plain and blended with the
// original), the intensity map, the contrast curve and gamma. Whatever acts on each channel by
// itself becomes a 256-entry table applied in one pass; only a matrix with cross-channel terms
// (or a Color-mode blend) needs arithmetic per pixel. With glData set each records its GPU pass.
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopHistogram.h"

#include "QopClampedInt.h"
#include "QopColorPasses.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

using qop_internal::truncatedByte;


bool hasNoCrossTerms(const float *cm)
{
    return cm[1] == 0.0f && cm[2] == 0.0f && cm[4] == 0.0f && cm[6] == 0.0f && cm[8] == 0.0f && cm[9] == 0.0f;
}

// The table of a matrix without cross-channel terms.
void diagonalMap(const float *cm, QopHistMap_t *map)
{
    for (int i = 0; i < 256; ++i) {
        const float v = static_cast<float>(i);
        map->r[i] = truncatedByte(v * cm[0] + cm[3] + 0.5f);
        map->g[i] = truncatedByte(v * cm[5] + cm[7] + 0.5f);
        map->b[i] = truncatedByte(v * cm[10] + cm[11] + 0.5f);
    }
}

QopColor_t matrixColor(const QopColor_t &c, const float *cm)
{
    const float r = c.r, g = c.g, b = c.b;
    return QopColor_t{truncatedByte(cm[0] * r + cm[1] * g + cm[2] * b + cm[3] + 0.5f),
                      truncatedByte(cm[4] * r + cm[5] * g + cm[6] * b + cm[7] + 0.5f),
                      truncatedByte(cm[8] * r + cm[9] * g + cm[10] * b + cm[11] + 0.5f), 255};
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
    // A bitmap lent with a size but no pixels has nothing to change.
    if (!bitmap->data)
        return;
    if (hasNoCrossTerms(cm)) {
        QopHistMap_t map;
        diagonalMap(cm, &map);
        QopBitmapHistogramTransform(bitmap, &map);
        return;
    }
    qop_internal::matrixPixels(bitmap->data, pixelCount(bitmap), cm);
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
    if (!bitmap->data)
        return;
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
        curve[k] = truncatedByte(v + 0.5f);
    }
    QopHistMap_t map;
    QopHistMapSet(&map, curve, curve, curve);
    applyMap(bitmap, &map);
}

void QopBitmapGamma(QopBitmap_t *bitmap, float value)
{
    uint8_t curve[256];
    for (int i = 0; i < 256; ++i)
        curve[i] = truncatedByte(powf(static_cast<float>(i) / 255.0f, value) * 255.0f + 0.5f);
    QopHistMap_t map;
    QopHistMapSet(&map, curve, curve, curve);
    applyMap(bitmap, &map);
}

} // extern "C"
