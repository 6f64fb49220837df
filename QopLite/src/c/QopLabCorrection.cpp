// L*a*b* colour-cast correction: the middle of the a* and b* distributions (between their 10 %
// and 90 % points) is pulled half-way toward the neutral value 127.
#include "QopLite/QopEnhance.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopHistogram.h"

namespace {

float neutralScale(const double *cdf)
{
    const double low = QopCDFINV(cdf, static_cast<double>(0.1f));
    const double high = QopCDFINV(cdf, static_cast<double>(0.9f));
    const double med = (low + high) / 2.0;
    return static_cast<float>(127.0 / ((med - 127.0) * 0.5 + 127.0));
}

} // namespace

extern "C" {

void QopLabCorrect(QopBitmap_t *bitmap)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    // Both tables are made before the conversion: failing after it would hand back L*a*b* bytes
    // as if they were colours.
    QopHistogram_t *hist = nullptr;
    QopCDF_t *cdf = nullptr;
    if ((bitmap->glData || bitmap->data) && bitmap->width && bitmap->height &&
        QopArrayBuild(reinterpret_cast<void **>(&hist), 1, sizeof(QopHistogram_t)) &&
        QopArrayBuild(reinterpret_cast<void **>(&cdf), 1, sizeof(QopCDF_t))) {
        QopBitmapConvertRGBToLAB(bitmap);
        QopHistogramBuild(bitmap, hist);
        QopHistogram2CDF(hist, cdf);
        // The g channel holds a*, the b channel b*.
        QopBitmapConvertLABToRBG(bitmap, neutralScale(cdf->g), neutralScale(cdf->b));
    }
    QopArrayFree(reinterpret_cast<void **>(&hist));
    QopArrayFree(reinterpret_cast<void **>(&cdf));
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

}
