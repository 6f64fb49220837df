// Colour histograms, their cumulative distributions and the inverse of a distribution, and the
// small helpers that build and combine per-channel lookup tables.
#include "QopLite/QopHistogram.h"
#include "QopLite/QopGLColor.h"

#include <cstring>

namespace {

void cdfOfChannel(const uint32_t *hist, double *cdf)
{
    // 64-bit sums: a caller may add several images into one histogram.
    uint64_t total = 0;
    for (int i = 0; i < 256; ++i)
        total += hist[i];
    if (total == 0) {
        for (int i = 0; i < 256; ++i)
            cdf[i] = i / 255.0;
        return;
    }
    uint64_t sum = 0;
    for (int i = 0; i < 256; ++i) {
        sum += hist[i];
        cdf[i] = static_cast<double>(sum) / static_cast<double>(total);
    }
}

uint8_t fadeEntry(uint8_t v, int i, double alpha)
{
    double x = v * alpha + (1.0 - alpha) * i + 0.5;
    // Clamped before the conversion so that an extreme alpha cannot overflow it (NaN gives 0);
    // for every finite value this equals truncating first and clamping afterwards.
    x = x > 0.0 ? x : 0.0;
    x = x < 255.0 ? x : 255.0;
    return static_cast<uint8_t>(static_cast<int>(x));
}

} // namespace

extern "C" {

void QopHistogramBuild(QopBitmap_t *bitmap, QopHistogram_t *hist)
{
    if (bitmap->glData) {
        QopGLHistogramBuild(bitmap, hist);
        return;
    }
    // Four interleaved partial histograms: runs of equal pixels (flat skies, borders) would
    // otherwise make every increment wait for the one before it on the same counter.
    uint32_t part[4][3][256] = {};
    const size_t count = bitmap->width * bitmap->height;
    const QopColor_t *data = bitmap->data;
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        for (int k = 0; k < 4; ++k) {
            ++part[k][0][data[i + k].r];
            ++part[k][1][data[i + k].g];
            ++part[k][2][data[i + k].b];
        }
    }
    for (; i < count; ++i) {
        ++part[0][0][data[i].r];
        ++part[0][1][data[i].g];
        ++part[0][2][data[i].b];
    }
    for (int v = 0; v < 256; ++v) {
        hist->r[v] += part[0][0][v] + part[1][0][v] + part[2][0][v] + part[3][0][v];
        hist->g[v] += part[0][1][v] + part[1][1][v] + part[2][1][v] + part[3][1][v];
        hist->b[v] += part[0][2][v] + part[1][2][v] + part[2][2][v] + part[3][2][v];
    }
}

void QopHistogram2CDFChan(const uint32_t *histChannel, double *cdfChannel) { cdfOfChannel(histChannel, cdfChannel); }

void QopHistogram2CDF(const QopHistogram_t *hist, QopCDF_t *cdf)
{
    cdfOfChannel(hist->r, cdf->r);
    cdfOfChannel(hist->g, cdf->g);
    cdfOfChannel(hist->b, cdf->b);
}

double QopCDFINV(const double *cdfChannel, double value)
{
    if (value <= 0.0)
        return 0.0;
    if (value >= 1.0)
        return 255.0;
    for (int i = 0; i < 256; ++i) {
        if (cdfChannel[i] >= value) {
            if (i == 0)
                return value / cdfChannel[0];
            return (i - 1) + (value - cdfChannel[i - 1]) / (cdfChannel[i] - cdfChannel[i - 1]);
        }
    }
    // The distribution ends just under value (rounding in a caller's table): the value lies
    // beyond the last level.
    return 255.0;
}

void QopHistMapSet(QopHistMap_t *map, const uint8_t *r, const uint8_t *g, const uint8_t *b)
{
    std::memmove(map->r, r, 256);
    std::memmove(map->g, g, 256);
    std::memmove(map->b, b, 256);
}

void QopHistMapSetIdentity(QopHistMap_t *map)
{
    for (int i = 0; i < 256; ++i)
        map->r[i] = map->g[i] = map->b[i] = static_cast<uint8_t>(i);
}

void QopHistMapFade(QopHistMap_t *map, double alpha)
{
    if (alpha == 1.0)
        return;
    for (int i = 0; i < 256; ++i) {
        map->r[i] = fadeEntry(map->r[i], i, alpha);
        map->g[i] = fadeEntry(map->g[i], i, alpha);
        map->b[i] = fadeEntry(map->b[i], i, alpha);
    }
}

void QopHistMapMap(QopHistMap_t *histMap, const QopHistMap_t *map)
{
    for (int i = 0; i < 256; ++i) {
        histMap->r[i] = map->r[histMap->r[i]];
        histMap->g[i] = map->g[histMap->g[i]];
        histMap->b[i] = map->b[histMap->b[i]];
    }
}

} // extern "C"
