// The mask kernels of the brush and focus tools: one similar-colour dab, and the radial and linear
// focus masks quantised to 34 levels. Only the mask's alpha byte is written.
#include "QopLite/QopMask.h"

#include "QopLite/QopColor.h"

#include <cmath>

namespace {

// Where the dab's falloff ends, in half-radii beyond sigmaR: the square of 1 - 0.86 is 0.0196.
constexpr double kEdgeFactor = 0.8599719915971991;
// The colour weight is 1 above 250/255 of the Gaussian and the pixel is skipped below 5/255.
constexpr double kColorFullBelow = 0.019802627296179754;
constexpr double kColorSkipAbove = 3.9318256327243257;
// The focus masks: 0 while the Gaussian is above 254/255 (radial) and 255 below 1/255.
constexpr double kFocusZeroBelow = 0.00392927813988955;
constexpr double kFocusFullAbove = 5.541263545158429;
// The linear mask truncates the distance from its line to whole pixels. sin and cos of a right
// angle are not exactly 1 and 0 in floating point, which would put some pixels lying exactly on a
// whole distance (say 5) a hair below it and truncate them to 4, so the 90-degree mask would not
// be the 0-degree one turned; a distance within 1/1024 pixel of a whole one counts as that one.
constexpr double kWholePixelSlack = 1.0 / 1024.0;

bool sameSize(const QopBitmap_t *bitmap, const QopBitmap_t *mask)
{
    return bitmap && mask && mask->data && bitmap->width == mask->width && bitmap->height == mask->height &&
           bitmap->width > 0 && bitmap->height > 0;
}

// trunc(v) clamped to 0..last; NaN counts as 0 (a NaN position paints nothing useful anyway).
long clampedIndex(double v, size_t last)
{
    if (!(v > 0.0))
        return 0;
    if (v >= static_cast<double>(last))
        return static_cast<long>(last);
    return static_cast<long>(v);
}

uint8_t clampTruncate(double v)
{
    if (!(v > 0.0))
        return 0;
    if (v >= 255.0)
        return 255;
    return static_cast<uint8_t>(v);
}

// The 32 level boundaries t_i = -s^2 ln(1 - (i + 0.5) / 32), squared distances in single precision.
struct FocusLevels {
    float s2;
    float thresholds[32];
    float zeroBelow;
    float fullAbove;

    explicit FocusLevels(double sigmaR)
    {
        const float sigmaR2 = static_cast<float>(sigmaR * sigmaR);
        s2 = 2.0f * sigmaR2;
        for (int i = 0; i < 32; ++i)
            thresholds[i] = -s2 * std::log(1.0f - (static_cast<float>(i) + 0.5f) / 32.0f);
        zeroBelow = static_cast<float>(s2 * kFocusZeroBelow);
        fullAbove = static_cast<float>(s2 * kFocusFullAbove);
    }
};

// 4 + 8k, k the number of bounds[1..31] at or below v.
uint8_t level(const float *bounds, float v)
{
    int k = 0;
    for (int i = 1; i < 32; ++i)
        k += bounds[i] <= v ? 1 : 0;
    return static_cast<uint8_t>(4 + 8 * k);
}

} // namespace

extern "C" {

void QopMaskSimilarColors(QopBitmap_t *bitmap, QopBitmap_t *mask, const QopColor_rgba *color, double posX,
                          double posY, double sigmaR, double sigmaC, double constant, double alpha, bool erase,
                          bool considerLuminosity, bool freeMask)
{
    (void)constant;
    if (!sameSize(bitmap, mask) || (!freeMask && (!bitmap->data || !color)))
        return;
    const double h = sigmaR / 2.0;
    const double R = sigmaR + kEdgeFactor * h;
    if (!(R > 0.0))
        return;
    const long x0 = clampedIndex(posX - R + 0.5, bitmap->width - 1);
    const long x1 = clampedIndex(posX + R + 0.5, bitmap->width - 1);
    const long y0 = clampedIndex(posY - R + 0.5, bitmap->height - 1);
    const long y1 = clampedIndex(posY + R + 0.5, bitmap->height - 1);

    double l0 = 0, a0 = 0, b0 = 0;
    if (!freeMask)
        QopColorRGB2LABDoublesWithCbrtMapping(color, &l0, &a0, &b0);
    const double s2 = 2.0 * sigmaC * sigmaC;
    const double R2 = R * R;

    for (long y = y0; y <= y1; ++y) {
        const double dy = static_cast<double>(y) - posY;
        for (long x = x0; x <= x1; ++x) {
            const double dx = static_cast<double>(x) - posX;
            const double d2 = dx * dx + dy * dy;
            if (!(d2 < R2))
                continue;
            const size_t index = static_cast<size_t>(y) * bitmap->width + static_cast<size_t>(x);
            const double d = std::sqrt(d2);
            const double edge = 1.0 - (d - sigmaR) / h;
            const double spatial = d < sigmaR ? 1.0 : edge * edge;
            double colour = 1.0;
            if (!freeMask) {
                double l, a, b;
                QopColorRGB2LABDoublesWithCbrtMapping(&bitmap->data[index], &l, &a, &b);
                double D2 = (a0 - a) * (a0 - a) + (b0 - b) * (b0 - b);
                if (considerLuminosity)
                    D2 += (l0 - l) * (l0 - l);
                if (s2 == 0.0) {
                    // sigmaC 0 accepts only the reference colour itself (exp(-0/0) has no value).
                    if (D2 != 0.0)
                        continue;
                } else if (D2 > kColorSkipAbove * s2) {
                    continue;
                } else if (!(D2 < kColorFullBelow * s2)) {
                    colour = std::exp(static_cast<float>(-D2 / s2));
                }
            }
            const double w = spatial * alpha * colour;
            const double old = mask->data[index].a;
            const double t = old * (1.0 - w) / 255.0;
            mask->data[index].a = clampTruncate((erase ? t : w + t) * 255.0 + 0.5);
        }
    }
}

void QopMaskRadial(QopBitmap_t *bitmap, QopBitmap_t *mask, double posX, double posY, double sigmaR)
{
    if (!sameSize(bitmap, mask))
        return;
    const FocusLevels levels(sigmaR);
    const float px = static_cast<float>(posX), py = static_cast<float>(posY);
    for (size_t y = 0; y < mask->height; ++y) {
        const float dy = static_cast<float>(y) - py;
        for (size_t x = 0; x < mask->width; ++x) {
            const float dx = static_cast<float>(x) - px;
            const float l = dx * dx + dy * dy;
            uint8_t value;
            if (l < levels.zeroBelow)
                value = 0;
            else if (l > levels.fullAbove)
                value = 255;
            else
                value = level(levels.thresholds, l);
            mask->data[y * mask->width + x].a = value;
        }
    }
}

void QopMaskLinear(QopBitmap_t *bitmap, QopBitmap_t *mask, double posX, double posY, double sigmaR, double angle)
{
    if (!sameSize(bitmap, mask))
        return;
    const FocusLevels levels(sigmaR);
    float roots[32];
    for (int i = 0; i < 32; ++i)
        roots[i] = std::sqrt(levels.thresholds[i]);
    const float fullAbove = std::sqrt(levels.fullAbove);
    const double normX = -std::sin(angle), normY = std::cos(angle);
    for (size_t y = 0; y < mask->height; ++y) {
        for (size_t x = 0; x < mask->width; ++x) {
            const double signedDistance =
                (posX - static_cast<double>(x)) * normX + (static_cast<double>(y) - posY) * normY;
            const float m = static_cast<float>(std::floor(std::fabs(signedDistance) + kWholePixelSlack));
            uint8_t value;
            if (m < roots[0])
                value = 0;
            else if (m > fullAbove)
                value = 255;
            else
                value = level(roots, m);
            mask->data[y * mask->width + x].a = value;
        }
    }
}

}
