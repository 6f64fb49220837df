// Local contrast ("clarity"): a tone table that lifts the shadows is applied not to each pixel but
// to its local grey average, so local detail survives; every box mean comes from summed-area
// tables at four lookups. Also the summed-area tables themselves.
#include "QopLite/QopEnhance.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopGLEnhance.h"
#include "QopLite/QopHistogram.h"

#include <cmath>

namespace {

inline uint32_t grayOf(const QopColor_t &p)
{
    return static_cast<uint32_t>(static_cast<int>(static_cast<float>(0.2 * p.r + 0.7 * p.g + 0.1 * p.b) + 0.5));
}

// Row-major running sums of one value per pixel; unsigned wrap keeps box differences exact.
template <typename Value>
void buildIntegral(const QopBitmap_t *bitmap, uint32_t *integral, Value value)
{
    const size_t w = bitmap->width;
    for (size_t y = 0; y < bitmap->height; ++y) {
        const QopColor_t *row = bitmap->data + y * w;
        uint32_t *out = integral + y * w;
        const uint32_t *above = y ? integral + (y - 1) * w : nullptr;
        uint32_t rowSum = 0;
        for (size_t x = 0; x < w; ++x) {
            rowSum += value(row[x]);
            out[x] = above ? above[x] + rowSum : rowSum;
        }
    }
}

inline uint8_t clampByte(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// The mixing of one channel, in the fixed-point order of the definition (0.4 and 0.6 in 4096ths).
inline uint8_t mixChannel(int c, int w, int t, int r, int m)
{
    const int cPrime = c + w;
    int out;
    if (m != 0)
        out = (cPrime + t) * 1639 / 4096 + ((cPrime * r / m) * 2457) / 4096;
    else
        out = (r * 2457 * cPrime) / 4096 + ((cPrime + t) * 1639) / 16777216;
    return clampByte(out);
}

void blurHistMapCpu(QopBitmap_t *bitmap, const QopHistMap_t *histMap, int radius)
{
    const size_t w = bitmap->width;
    const size_t h = bitmap->height;
    QopBitmap_t mapped;
    if (!QopBitmapBuild(&mapped, w, h))
        return;
    uint32_t *mappedIntegral = nullptr;
    if (!QopArrayCopy2(mapped.data, bitmap->data, w, h, sizeof(QopColor_t)) ||
        !QopArrayBuild2(reinterpret_cast<void **>(&mappedIntegral), w, h, sizeof(uint32_t))) {
        QopBitmapFree(&mapped);
        return;
    }
    QopBitmapHistogramTransform(&mapped, histMap);
    QopBuildIntegralImageGray(&mapped, mappedIntegral);
    // The mapped pixels are no longer needed: their buffer (four bytes a pixel) takes the
    // original's grey integral.
    uint32_t *originalIntegral = reinterpret_cast<uint32_t *>(mapped.data);
    QopBuildIntegralImageGray(bitmap, originalIntegral);

    for (size_t y = 0; y < h; ++y) {
        const int y1 = static_cast<int>(y) - radius < 0 ? 0 : static_cast<int>(y) - radius;
        const int y2 = static_cast<int>(y) + radius > static_cast<int>(h) - 1 ? static_cast<int>(h) - 1
                                                                             : static_cast<int>(y) + radius;
        for (size_t x = 0; x < w; ++x) {
            const int x1 = static_cast<int>(x) - radius < 0 ? 0 : static_cast<int>(x) - radius;
            const int x2 = static_cast<int>(x) + radius > static_cast<int>(w) - 1 ? static_cast<int>(w) - 1
                                                                                 : static_cast<int>(x) + radius;
            const uint32_t area = static_cast<uint32_t>((x2 - x1 + 1) * (y2 - y1 + 1));
            const int m = static_cast<int>(QopSumBoxFromIntegralImage(originalIntegral, w, h, x1, y1, x2, y2) / area);
            const int r = static_cast<int>(QopSumBoxFromIntegralImage(mappedIntegral, w, h, x1, y1, x2, y2) / area);
            const int t = r - m;
            QopColor_t &p = bitmap->data[y * w + x];
            const int grey = (4096 * p.b + 8192 * p.r + 28672 * p.g + 2048) / 40960;
            const int detail = (grey - m) * 1228 / 4096;
            p.r = mixChannel(p.r, detail, t, r, m);
            p.g = mixChannel(p.g, detail, t, r, m);
            p.b = mixChannel(p.b, detail, t, r, m);
            p.a = 255;
        }
    }
    QopArrayFree(reinterpret_cast<void **>(&mappedIntegral));
    QopBitmapFree(&mapped);
}

} // namespace

extern "C" {

void QopBuildIntegralImage(const QopBitmap_t *bitmap, uint32_t *iR, uint32_t *iG, uint32_t *iB)
{
    buildIntegral(bitmap, iR, [](const QopColor_t &p) { return static_cast<uint32_t>(p.r); });
    buildIntegral(bitmap, iG, [](const QopColor_t &p) { return static_cast<uint32_t>(p.g); });
    buildIntegral(bitmap, iB, [](const QopColor_t &p) { return static_cast<uint32_t>(p.b); });
}

void QopBuildIntegralImageGray(const QopBitmap_t *bitmap, uint32_t *iGray)
{
    buildIntegral(bitmap, iGray, grayOf);
}

uint32_t QopSumBoxFromIntegralImage(const uint32_t *integral, size_t w, size_t h, int x1, int y1, int x2, int y2)
{
    (void)h;
    auto at = [integral, w](int x, int y) { return integral[static_cast<size_t>(y) * w + static_cast<size_t>(x)]; };
    uint32_t sum = at(x2, y2);
    if (x1 > 0)
        sum -= at(x1 - 1, y2);
    if (y1 > 0)
        sum -= at(x2, y1 - 1);
    if (x1 > 0 && y1 > 0)
        sum += at(x1 - 1, y1 - 1);
    return sum;
}

void QopBlurHistMap(QopBitmap_t *bitmap, const QopHistMap_t *histMap)
{
    const float x = static_cast<float>(bitmap->width + bitmap->height) * 120.0f / 1600.0f;
    const int radius = static_cast<int>(static_cast<int>(x) / 5 * 0.5 + 0.5);
    if (bitmap->glData) {
        QopGLApplyClarity(bitmap, histMap, radius, 0.6f, 0.3f);
        return;
    }
    if (!bitmap->data || bitmap->width == 0 || bitmap->height == 0)
        return;
    blurHistMapCpu(bitmap, histMap, radius);
}

void QopLocalContrastEnhanceProcessor(QopBitmap_t *bitmap)
{
    const size_t total = bitmap->width * bitmap->height;
    QopHistogram_t *hist = nullptr;
    QopCDF_t *cdf = nullptr;
    if (total == 0 || (!bitmap->glData && !bitmap->data) ||
        !QopArrayBuild(reinterpret_cast<void **>(&hist), 1, sizeof(QopHistogram_t)) ||
        !QopArrayBuild(reinterpret_cast<void **>(&cdf), 1, sizeof(QopCDF_t))) {
        QopArrayFree(reinterpret_cast<void **>(&hist));
        return;
    }
    QopHistogramBuild(bitmap, hist);
    QopHistogram2CDF(hist, cdf);
    float f[256];
    f[0] = 1.0f;
    uint64_t runningSum = hist->g[0];
    for (int i = 1; i < 256; ++i) {
        runningSum += hist->g[i];
        const float c = static_cast<float>(runningSum) / static_cast<float>(total);
        const float base = c / (static_cast<float>(i) / 255.0f);
        f[i] = base > 1.0f ? std::pow(base, 0.33f) : 1.0f;
    }
    QopLineSmooth1D(f, 256, 15);
    uint8_t table[256];
    for (int j = 0; j < 256; ++j)
        table[j] = clampByte(static_cast<int>(static_cast<float>(j) / 255.0f * f[j] * 255.0f + 0.5f));
    QopHistMap_t map;
    QopHistMapSet(&map, table, table, table);
    QopBlurHistMap(bitmap, &map);
    QopArrayFree(reinterpret_cast<void **>(&hist));
    QopArrayFree(reinterpret_cast<void **>(&cdf));
}

void QopLocalContrastEnhance(QopBitmap_t *bitmap)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    QopLocalContrastEnhanceProcessor(bitmap);
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

}
