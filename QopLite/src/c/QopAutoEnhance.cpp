// Auto-enhance: each pixel is brightened by a factor read at its luminance from a smoothed
// equalisation curve of the image's own histogram (stronger in the shadows for Auto and
// Backlight), then each channel is shifted and scaled by its levels. Also the line smoothing the
// corrections share.
#include "QopLite/QopEnhance.h"

#include "QopClampedInt.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGLEnhance.h"
#include "QopLite/QopHistogram.h"

#include <cmath>

namespace {

using qop_internal::truncatedByte;

struct HistogramAndCDF {
    QopHistogram_t *hist = nullptr;
    QopCDF_t *cdf = nullptr;
    ~HistogramAndCDF()
    {
        QopArrayFree(reinterpret_cast<void **>(&hist));
        QopArrayFree(reinterpret_cast<void **>(&cdf));
    }
    bool build()
    {
        return QopArrayBuild(reinterpret_cast<void **>(&hist), 1, sizeof(QopHistogram_t)) &&
               QopArrayBuild(reinterpret_cast<void **>(&cdf), 1, sizeof(QopCDF_t));
    }
};

// Levels of one channel with the 0.7 exponent: the shift and the scale of the output.
struct ChannelLevels {
    float minPrime;
    float scale;
};

ChannelLevels channelLevels(const double *cdf)
{
    const float lo = static_cast<float>(QopCDFINV(cdf, 0.0));
    const float hi = static_cast<float>(QopCDFINV(cdf, 1.0));
    const float minPrime = std::pow(lo, 0.7f);
    const float range = 255.0f - std::pow(255.0f - hi, 0.7f) - minPrime;
    return {minPrime, 255.0f / range};
}

void enhanceCpu(QopBitmap_t *bitmap, const float *mapF, const ChannelLevels *levels)
{
    const double gain = 0.8;
    const size_t count = bitmap->width * bitmap->height;
    for (size_t i = 0; i < count; ++i) {
        QopColor_t &p = bitmap->data[i];
        const double r = p.r, g = p.g, b = p.b;
        int index = static_cast<int>(0.213 * r + 0.715 * g + 0.072 * b);
        index = index < 0 ? 0 : (index > 255 ? 255 : index);
        const double e = mapF[index];
        const double gNew = g * e + 0.5;
        const double shift = (gNew - g) * (1.0 - gain);
        p.r = truncatedByte(((r * e - r) * gain + r + shift - levels[0].minPrime) * levels[0].scale + 0.5);
        p.g = truncatedByte((gNew - levels[1].minPrime) * levels[1].scale + 0.5);
        p.b = truncatedByte(((b * e - b) * gain + b + shift - levels[2].minPrime) * levels[2].scale + 0.5);
    }
}

} // namespace

extern "C" {

void QopLineSmooth1D(float *line, uint16_t lineSize, int std)
{
    float *smoothed = nullptr;
    if (lineSize == 0 || !QopArrayBuild(reinterpret_cast<void **>(&smoothed), lineSize, sizeof(float)))
        return;
    const float twoVariance = 2.0f * static_cast<float>(std) * static_cast<float>(std);
    for (int i = 0; i < lineSize; ++i) {
        float weighted = 0.0f;
        float weights = 0.0f;
        for (int j = 0; j < lineSize; ++j) {
            const float d = static_cast<float>(i - j);
            const float w = std::exp(-(d * d) / twoVariance);
            weighted += w * line[j];
            weights += w;
        }
        smoothed[i] = weighted / weights;
    }
    for (int i = 0; i < lineSize; ++i)
        line[i] = smoothed[i];
    QopArrayFree(reinterpret_cast<void **>(&smoothed));
}

void QopAutoEnhance(QopBitmap_t *bitmap, QopAutoEnhanceMode mode)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    const size_t total = bitmap->width * bitmap->height;
    HistogramAndCDF tables;
    // An empty image has no histogram to equalise; without pixels a CPU bitmap has nothing to change.
    if (total == 0 || (!bitmap->glData && !bitmap->data) || !tables.build()) {
        QopBitmapEndGLEffectIfEnabled(bitmap);
        return;
    }
    if (mode == QopAutoEnhanceModeBacklight)
        QopBitmapContrastCurve(bitmap, 0.5f);
    QopHistogramBuild(bitmap, tables.hist);
    QopHistogram2CDF(tables.hist, tables.cdf);
    const ChannelLevels levels[3] = {channelLevels(tables.cdf->r), channelLevels(tables.cdf->g),
                                     channelLevels(tables.cdf->b)};

    float mapF[256];
    float numSoFar = 0.0f;
    for (int i = 0; i < 256; ++i) {
        numSoFar += 0.213f * static_cast<float>(tables.hist->r[i]) + 0.715f * static_cast<float>(tables.hist->g[i]) +
                    0.072f * static_cast<float>(tables.hist->b[i]);
        const float base = i == 0 ? 0.0f : numSoFar / static_cast<float>(total) / static_cast<float>(i) * 255.0f;
        float power;
        switch (mode) {
        case QopAutoEnhanceModeClarity:
            power = 0.8f;
            break;
        case QopAutoEnhanceModeNight:
            power = 0.65f;
            break;
        default:
            power = std::pow((255.0f - static_cast<float>(i)) / 255.0f, 2.2f) * 0.5f;
            break;
        }
        mapF[i] = std::pow(base, power);
    }
    QopLineSmooth1D(mapF, 256, 4);

    if (bitmap->glData)
        QopGLAutoEnhance(bitmap, 0.8f, levels[0].scale, levels[1].scale, levels[2].scale, levels[0].minPrime,
                         levels[1].minPrime, levels[2].minPrime, mapF);
    else
        enhanceCpu(bitmap, mapF, levels);
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

}
