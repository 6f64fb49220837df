// Auto colours: levels per channel from the image's own histogram. Each channel is shifted down by
// its 0.5 % point and stretched so that its 99.5 % point (or maxColor, when brighter) reaches 255,
// both faded by `fade`.
#include "QopLite/QopAutoColors.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopHistogram.h"

namespace {

struct ChannelStretch {
    float translation;
    float scale;
};

ChannelStretch channelStretch(const double *cdf, double fade, uint8_t maxColorChannel)
{
    const double lo = QopCDFINV(cdf, 0.005);
    const double hi = QopCDFINV(cdf, 0.995);
    const double top = hi * fade + (1.0 - fade) * 255.0;
    const double brightest = maxColorChannel > top ? maxColorChannel : top;
    // The interpolated points of the distribution are always apart (by about a level even on a
    // flat channel), so the span is positive.
    const double span = brightest * fade + (1.0 - fade) * top - lo * fade;
    return {-static_cast<float>(lo * fade), static_cast<float>(255.0 / span)};
}

} // namespace

extern "C" {

void QopAutoColorsFadeMaxColor(QopBitmap_t *bitmap, double fade, const QopColor_t *maxColor)
{
    QopHistogram_t *hist = nullptr;
    QopCDF_t *cdf = nullptr;
    if ((bitmap->glData || bitmap->data) && bitmap->width && bitmap->height &&
        QopArrayBuild(reinterpret_cast<void **>(&hist), 1, sizeof(QopHistogram_t)) &&
        QopArrayBuild(reinterpret_cast<void **>(&cdf), 1, sizeof(QopCDF_t))) {
        QopHistogramBuild(bitmap, hist);
        QopHistogram2CDF(hist, cdf);
        const ChannelStretch r = channelStretch(cdf->r, fade, maxColor->r);
        const ChannelStretch g = channelStretch(cdf->g, fade, maxColor->g);
        const ChannelStretch b = channelStretch(cdf->b, fade, maxColor->b);
        const QopColorMatrix_t shift = {
            1.0f, 0.0f, 0.0f, r.translation,
            0.0f, 1.0f, 0.0f, g.translation,
            0.0f, 0.0f, 1.0f, b.translation,
        };
        const QopColorMatrix_t stretch = {
            r.scale, 0.0f, 0.0f, 0.0f,
            0.0f, g.scale, 0.0f, 0.0f,
            0.0f, 0.0f, b.scale, 0.0f,
        };
        QopBitmapColorMatrixTransform(bitmap, shift);
        QopBitmapColorMatrixTransform(bitmap, stretch);
    }
    QopArrayFree(reinterpret_cast<void **>(&hist));
    QopArrayFree(reinterpret_cast<void **>(&cdf));
}

void QopAutoColors(QopBitmap_t *bitmap)
{
    const QopColor_t black = {0, 0, 0, 255};
    QopAutoColorsFadeMaxColor(bitmap, 1.0, &black);
}

void QopAutoColorsFade(double fade, QopBitmap_t *bitmap)
{
    const QopColor_t black = {0, 0, 0, 255};
    QopAutoColorsFadeMaxColor(bitmap, fade, &black);
}

}
