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

#include <bit>
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

// Four pixels at a time in the compiler's generic vectors (SSE on x86, NEON on ARM, at -O2
// as well as -O3): each lane does exactly the scalar arithmetic of matrixColor, in the same
// order, so the result does not depend on how many pixels a run has. Pixels are handled as
// little-endian words (r in the low byte); alpha passes through.
static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");
typedef float Float4 __attribute__((vector_size(16)));
typedef int32_t Int4 __attribute__((vector_size(16)));
typedef uint32_t Word4 __attribute__((vector_size(16)));

inline Float4 splat(float v) { return Float4{v, v, v, v}; }

inline Word4 clampToWords(Float4 v)
{
    const Float4 zero = splat(0.0f), top = splat(255.0f);
    v = v > zero ? v : zero;
    v = v < top ? v : top;
    return reinterpret_cast<Word4>(__builtin_convertvector(v, Int4));
}

inline Float4 channel(Word4 p, int shift)
{
    return __builtin_convertvector(reinterpret_cast<Int4>((p >> shift) & 0xFFu), Float4);
}

void matrixRun(QopColor_t *data, size_t count, const float *cm)
{
    const Float4 m0 = splat(cm[0]), m1 = splat(cm[1]), m2 = splat(cm[2]), m3 = splat(cm[3]);
    const Float4 m4 = splat(cm[4]), m5 = splat(cm[5]), m6 = splat(cm[6]), m7 = splat(cm[7]);
    const Float4 m8 = splat(cm[8]), m9 = splat(cm[9]), m10 = splat(cm[10]), m11 = splat(cm[11]);
    const Float4 half = splat(0.5f);
    unsigned char *bytes = reinterpret_cast<unsigned char *>(data);
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        Word4 p;
        std::memcpy(&p, bytes + 4 * i, sizeof p);
        const Float4 r = channel(p, 0), g = channel(p, 8), b = channel(p, 16);
        const Float4 nr = m0 * r + m1 * g + m2 * b + m3 + half;
        const Float4 ng = m4 * r + m5 * g + m6 * b + m7 + half;
        const Float4 nb = m8 * r + m9 * g + m10 * b + m11 + half;
        p = (p & 0xFF000000u) | clampToWords(nr) | clampToWords(ng) << 8 | clampToWords(nb) << 16;
        std::memcpy(bytes + 4 * i, &p, sizeof p);
    }
    for (; i < count; ++i) {
        const uint8_t a = data[i].a;
        data[i] = matrixColor(data[i], cm);
        data[i].a = a;
    }
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
    matrixRun(bitmap->data, pixelCount(bitmap), cm);
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
