// Bitmap-level blends, composites and colour-model conversions. Each operation decides by the
// bitmap's glData: null changes the pixels here, set records the matching GPU pass instead.
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopGLEnhance.h"
#include "QopLite/QopTransform.h"

#include "QopBlendKernels.h"
#include "QopBlendRows.h"
#include "QopColorPasses.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

using namespace qop_internal;

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel words are read as little-endian r, g, b, a");

// Channel of src at (x, y); anything outside the bitmap reads as white.
inline float sampleOrWhite(const QopBitmap_t *src, long x, long y, int channel)
{
    if (x < 0 || y < 0 || size_t(x) >= src->width || size_t(y) >= src->height)
        return 255.0f;
    const uint8_t *p = reinterpret_cast<const uint8_t *>(src->data + size_t(y) * src->width + size_t(x));
    return p[channel];
}

inline float bilinear(float v00, float v10, float v01, float v11, float fx, float fy)
{
    return v00 * (1.0f - fx) * (1.0f - fy) + v10 * fx * (1.0f - fy) + v01 * (1.0f - fx) * fy + v11 * fx * fy;
}

inline size_t clampIndex(long i, size_t size) { return i < 0 ? 0 : size_t(i) >= size ? size - 1 : size_t(i); }

} // namespace

extern "C" {

void QopBitmapBlendWithColor(QopBitmap_t *bitmap, const QopColor_t *src, QopBlendMode_t blendMode, float alpha)
{
    if (blendMode == QopBlendModeColor) {
        QopColor_hsl hsl;
        QopColorRGB2HSL(src, &hsl);
        if (bitmap->glData) {
            QopGLBitmapColorBlendColor(bitmap, &hsl, src->a / 255.0f, alpha);
            return;
        }
        if (!bitmap->data)
            return;
        size_t count = bitmap->width * bitmap->height;
        for (size_t i = 0; i < count; ++i)
            QopColorBlendColorMode(bitmap->data + i, &hsl, src->a, alpha);
        return;
    }
    // Every other mode treats each channel by itself, so one blend per grey level builds a
    // lookup table that the whole bitmap then goes through.
    QopHistMap_t map;
    for (int i = 0; i < 256; ++i) {
        QopColor_t grey = {uint8_t(i), uint8_t(i), uint8_t(i), 255};
        QopColorBlend(&grey, src, blendMode, alpha);
        map.r[i] = grey.r;
        map.g[i] = grey.g;
        map.b[i] = grey.b;
    }
    QopBitmapHistogramTransform(bitmap, &map);
}

void QopBitmapBlend(QopBitmap_t *bitmap, const QopColor_t *src, QopBlendMode_t blendMode, float alpha)
{
    QopBitmapBlendWithColor(bitmap, src, blendMode, alpha);
}

void QopBitmapHistogramTransform(QopBitmap_t *bitmap, const QopHistMap_t *histMap)
{
    if (bitmap->glData) {
        QopGLAddColorMap(histMap, bitmap->glData);
        return;
    }
    // A bitmap lent for the GPU path only has no pixels.
    if (!bitmap->data)
        return;
    mapChannels(bitmap->data, bitmap->width * bitmap->height, histMap);
}

void QopBitmapBlendBitmap(QopBitmap_t *dst, const QopBitmap_t *src, QopBlendMode_t blendMode, float alpha)
{
    if (dst->glData || !dst->data || !src->data)
        return;
    size_t rows = dst->height < src->height ? dst->height : src->height;
    size_t columns = dst->width < src->width ? dst->width : src->width;
    if (blendMode != QopBlendModeColor) {
        blendRows(dst, src, rows, columns, blendMode, alpha);
        return;
    }
    for (size_t y = 0; y < rows; ++y)
        for (size_t x = 0; x < columns; ++x)
            QopColorBlend(dst->data + y * dst->width + x, src->data + y * src->width + x, blendMode, alpha);
}

void QopBitmapBlendBitmapSeparate(QopBitmap_t *dst, QopBitmap_t *src, float dstAmount, float srcAmount)
{
    if (dst->glData) {
        QopGLBitmapBlendSeparate(dst, src, dstAmount, srcAmount);
        return;
    }
    if (!dst->data || !src->data)
        return;
    size_t rows = dst->height < src->height ? dst->height : src->height;
    size_t columns = dst->width < src->width ? dst->width : src->width;
    weightedSumRows(dst, src, rows, columns, dstAmount, srcAmount);
}

void QopBitmapBlendBitmapTransform(QopBitmap_t *dst, QopBitmap_t *src, QopBlendMode_t blendMode, float alpha,
                                   const double *transform)
{
    if (dst->glData) {
        if (blendMode == QopBlendModeOverlay)
            QopGLBitmapBlend(dst, src, alpha, QopBlendModeOverlay);
        else
            std::fputs("\nWarning: QopBitmapBlendBitmapTransform only supports QopBlendModeOverlay. It also ignores "
                       "transformx",
                       stdout);
        return;
    }
    if (!dst->data || (!src->data && src->width && src->height))
        return;
    QopTransform_t inverse;
    QopTransformGetInverse(transform, inverse);
    const float srcWidth = float(src->width), srcHeight = float(src->height);
    for (size_t y = 0; y < dst->height; ++y) {
        QopColor_t *row = dst->data + y * dst->width;
        for (size_t x = 0; x < dst->width; ++x) {
            const float sx = float(inverse[0] * double(x) + inverse[1] * double(y) + inverse[2]);
            const float sy = float(inverse[3] * double(x) + inverse[4] * double(y) + inverse[5]);
            // Written so that a NaN coordinate also counts as outside.
            if (!(sx >= -1.0f && sx <= srcWidth && sy >= -1.0f && sy <= srcHeight)) {
                row[x] = QopColor_t{255, 255, 255, 255};
                continue;
            }
            // floor, not truncation: truncating would take column 0 as the left neighbour of a
            // point in (-1, 0) and extrapolate beyond it instead of fading to white.
            const float fx0 = std::floor(sx), fy0 = std::floor(sy);
            const long x0 = long(fx0), y0 = long(fy0);
            const float fx = sx - fx0, fy = sy - fy0;
            QopColor_t sample;
            uint8_t *out = reinterpret_cast<uint8_t *>(&sample);
            for (int c = 0; c < 3; ++c) {
                float v = bilinear(sampleOrWhite(src, x0, y0, c), sampleOrWhite(src, x0 + 1, y0, c),
                                   sampleOrWhite(src, x0, y0 + 1, c), sampleOrWhite(src, x0 + 1, y0 + 1, c), fx, fy);
                out[c] = truncateClamp(v);
            }
            sample.a = 255;
            QopColorBlend(row + x, &sample, blendMode, alpha);
        }
    }
}

void QopBitmapBlendBitmapMask(QopBitmap_t *dst, const QopBitmap_t *srcA, const QopBitmap_t *srcB,
                              const QopBitmap_t *mask, QopBlendMode_t blendMode)
{
    // The three images are addressed alike, so they must have one size; the mask is stretched.
    if (!dst->data || !srcA->data || !srcB->data || !mask->data || srcA->width != dst->width ||
        srcA->height != dst->height || srcB->width != dst->width || srcB->height != dst->height ||
        mask->width == 0 || mask->height == 0 || dst->width == 0 || dst->height == 0)
        return;
    QopTransform_t toDst, inverse;
    QopTransformSetIdentity(toDst);
    QopTransformPostScale(toDst, double(dst->width) / double(mask->width), double(dst->height) / double(mask->height));
    QopTransformGetInverse(toDst, inverse);
    const float maskWidth = float(mask->width), maskHeight = float(mask->height);
    for (size_t y = 0; y < dst->height; ++y) {
        for (size_t x = 0; x < dst->width; ++x) {
            const float mx = float(inverse[0] * double(x) + inverse[1] * double(y) + inverse[2]);
            const float my = float(inverse[3] * double(x) + inverse[4] * double(y) + inverse[5]);
            if (!(mx >= -1.0f && mx <= maskWidth && my >= -1.0f && my <= maskHeight))
                continue;
            const float fx0 = std::floor(mx), fy0 = std::floor(my);
            const long x0 = long(fx0), y0 = long(fy0);
            const float fx = mx - fx0, fy = my - fy0;
            const size_t left = clampIndex(x0, mask->width), right = clampIndex(x0 + 1, mask->width);
            const size_t top = clampIndex(y0, mask->height), bottom = clampIndex(y0 + 1, mask->height);
            const QopColor_t *m = mask->data;
            const float w = bilinear(m[top * mask->width + left].a, m[top * mask->width + right].a,
                                     m[bottom * mask->width + left].a, m[bottom * mask->width + right].a, fx, fy) /
                            255.0f;
            const size_t i = y * dst->width + x;
            QopColor_t c = srcA->data[i];
            c.a = 255;
            QopColor_t b = srcB->data[i];
            b.a = 255;
            QopColorBlend(&c, &b, blendMode, w);
            dst->data[i].r = c.r;
            dst->data[i].g = c.g;
            dst->data[i].b = c.b;
        }
    }
}

void QopBitmapConvertRGBToLAB(QopBitmap_t *bitmap)
{
    if (bitmap->glData) {
        QopGLConvertRGBTOLAB(bitmap);
        return;
    }
    if (!bitmap->data)
        return;
    size_t count = bitmap->width * bitmap->height;
    for (size_t i = 0; i < count; ++i)
        QopColorRGB2LAB(bitmap->data + i);
}

void QopBitmapConvertLABToRBG(QopBitmap_t *bitmap, float scaleA, float scaleB)
{
    if (bitmap->glData) {
        QopGLConvertLABToRGB(bitmap, scaleA, scaleB);
        return;
    }
    if (!bitmap->data)
        return;
    size_t count = bitmap->width * bitmap->height;
    for (size_t i = 0; i < count; ++i)
        QopColorLAB2RGBScaled(bitmap->data + i, 1.0, scaleA, scaleB);
}

}
