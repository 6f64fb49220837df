// Flares: nineteen procedural light shapes, each a strength per pixel in flare coordinates, laid
// on in a colour and blend mode through a memo of one table row per alpha. Each shape only visits
// the box its strength can reach (open shapes visit the whole image).
#include "QopLite/QopFlare.h"

#include "QopLite/QopColor.h"
#include "QopLite/QopGLFlare.h"

#include "QopClampedInt.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr double kOpen = 99999.0;

// The box each shape can reach, in flare coordinates: yMax, xMax, yMin, xMin.
struct FlareExtent {
    double yMax, xMax, yMin, xMin;
};

constexpr FlareExtent kFlareExtents[19] = {
    {15, 15, -15, -15},                  // 0 Sinc
    {1.45, 1.35, -1.4, -1.4},            // 1 Gaussianthing
    {1.4, 1.35, -1.4, -1.3},             // 2 Gaussianthing2
    {1.35, 1.35, -1.6, -0.95},           // 3 Gaussianthing3
    {5.0, 1.6, -5.0, -1.6},              // 4 Gaussianthing4
    {kOpen, kOpen, -kOpen, -kOpen},      // 5 Anglegaussian
    {kOpen, kOpen, -kOpen, -kOpen},      // 6 Stardom
    {1.6, 1.6, -1.6, -1.6},              // 7 Lobes
    {kOpen, kOpen, -kOpen, -kOpen},      // 8 Lensflare
    {15, 2.15, -15, -2.15},              // 9 Stripe
    {2.15, 15, -2.15, -15},              // 10 Stripe2
    {1.4, 1.4, -1.4, -1.4},              // 11 Dimondflare
    {20, 20, -20, -20},                  // 12 Crossflare
    {kOpen, kOpen, -kOpen, -kOpen},      // 13 Cornerflares
    {kOpen, kOpen, -kOpen, -kOpen},      // 14 Fingerflare
    {1.35, 1.35, -1.6, -1.55},           // 15 Blobflare
    {kOpen, kOpen, -kOpen, -kOpen},      // 16 Blah
    {0.71, 0.71, -0.71, -0.71},          // 17 Blob
    {0.85, 0.85, -0.85, -0.85},          // 18 Blob2
};

struct FlareStrength {
    float alpha;  // A / 255
    float minEXP; // ln(1 / A): below it e^N rounds to no level at all

    // alpha * e^N, cut to 0 below minEXP and to alpha above 0.
    float E(float N) const
    {
        if (N < minEXP)
            return 0.0f;
        if (N > 0.0f)
            return alpha;
        return alpha * expf(N);
    }

    float operator()(QopFlareType_t type, float x, float y) const
    {
        const float r2 = x * x + y * y;
        switch (type) {
        case QopFlareSinc: {
            const float theta = 80.0f * r2;
            return theta == 0.0f ? 0.0f : 0.4f * alpha * sinf(theta) / sqrtf(theta);
        }
        case QopFlareGaussianthing:
            return E(-2.0f * r2 - 16.0f * (y + 0.5f) * (y + 0.5f) * (x + 0.5f) * (x + 0.5f));
        case QopFlareGaussianthing2:
            return E(-2.0f * r2 - 16.0f * (y + 1.0f) * (y + 1.0f) * (x - 0.5f) * (x - 0.5f));
        case QopFlareGaussianthing3:
            return E(-2.0f * r2 - (y + 1.7f) * (y + 1.7f) * (x - 0.6f) * (x - 0.6f));
        case QopFlareGaussianthing4:
            return E(-0.5f * (y - 1.7f) * (y - 1.7f) * (x + 0.6f) * (x + 0.6f) -
                     0.5f * (y + 1.7f) * (y + 1.7f) * (x - 0.6f) * (x - 0.6f));
        case QopFlareAnglegaussian: {
            const float N = -2.0f * r2 - 5.0f * (x + 0.2f) * (y + 0.2f) * x * x;
            if (N < minEXP)
                return 0.0f;
            return N > 0.0f ? 0.5f * alpha : 0.5f * alpha * expf(N);
        }
        case QopFlareStardom:
            return 0.2f * alpha * (r2 * r2 * sinf(-10.0f * atan2f(y, x)) + 1.0f);
        case QopFlareLobes:
            return 0.5f * alpha * expf(-2.0f * r2) * (0.5f * sinf(4.0f * atan2f(y, x) + 1.0f) + 0.5f);
        case QopFlareStripe:
            return E(-y * y / 64.0f - x * x);
        case QopFlareStripe2:
            return E(-x * x / 64.0f - y * y);
        case QopFlareDimondflare:
            return alpha * expf(-2.0f * r2 * r2 - 8.0f * (x - 0.5f) * (x + 0.5f) * (y + 0.5f) * (y - 0.5f));
        case QopFlareCrossflare:
            return E(-2.0f * r2 / 180.0f - 16.0f * (y + 0.5f) * (y + 0.5f) * (x + 0.5f) * (x + 0.5f));
        case QopFlareCornerflares:
            return alpha * expf(-2.0f * r2 / 180.0f) * expf(-8.0f * (x - 1.0f) * (x + 1.0f) * (y + 1.0f) * (y - 1.0f));
        case QopFlareFingerflare: {
            const float u = x - 1.0f, v = y - 1.0f;
            return 1.0f - alpha * expf(v / u - (x * u + v * v) * expf(expf(v) * u));
        }
        case QopFlareBlobflare:
            return alpha * expf(-0.9f * (x - 1.5f) * (y - 1.7f) * (y + 0.5f) * (x + 0.5f) - r2 * r2);
        case QopFlareBlah:
            return 0.2f * alpha * (1.0f - sinf(r2) * sinf(10.0f * r2) * sinf(10.0f * atan2f(y, x)));
        case QopFlareBlob:
            return E(-100.0f * r2 * r2 * r2 * r2);
        case QopFlareBlob2:
            return E(-10.0f * r2 * r2);
        default: // Lensflare draws nothing
            return 0.0f;
        }
    }
};

// Pixel range [first, last) of a box edge pair in normalised coordinates, clipped to 0..size in
// floating point (open extents scaled by a large fScale would not fit an int).
void boxRange(double lo, double hi, int size, int *first, int *last)
{
    if (lo > hi)
        std::swap(lo, hi);
    const double a = std::floor((lo + 1.0) * size * 0.5 + 0.5);
    const double b = std::floor((hi + 1.0) * size * 0.5 + 0.5);
    *first = static_cast<int>(std::clamp(a, 0.0, static_cast<double>(size)));
    *last = static_cast<int>(std::clamp(b, 0.0, static_cast<double>(size)));
    if (!(a == a) || !(b == b))
        *first = *last = 0;
}

} // namespace

extern "C" {

void QopFlare(QopBitmap_t *bitmap, float fScale, const QopColor_t *color, QopFlareType_t type, float dx, float dy,
              float dsx, float dsy, QopBlendMode_t blendMode)
{
    if (!bitmap || !color || color->a == 0 || dsx == 0.0f || dsy == 0.0f || fScale == 0.0f)
        return;
    if (static_cast<unsigned>(type) > QopFlareBlob2)
        return;
    if (bitmap->glData) {
        QopGLAddFlare(blendMode, type, fScale, color, dx, dy, dsx, dsy, bitmap->glData);
        return;
    }
    if (!bitmap->data || type == QopFlareLensflare)
        return;
    const int W = static_cast<int>(bitmap->width), H = static_cast<int>(bitmap->height);
    const int w2 = W / 2, h2 = H / 2;
    const FlareStrength strength{color->a / 255.0f, logf(1.0f / color->a)};
    float kx, ky;
    if (type == QopFlareSinc) {
        kx = ky = 2.0f / fScale / static_cast<float>(w2 + h2);
    } else {
        kx = 1.0f / fScale / static_cast<float>(w2) / dsx;
        ky = 1.0f / fScale / static_cast<float>(h2) / dsy;
    }
    const FlareExtent &extent = kFlareExtents[type];
    int col0, col1, row0, row1;
    boxRange(extent.xMin * dsx * fScale + dx, extent.xMax * dsx * fScale + dx, W, &col0, &col1);
    boxRange(extent.yMin * dsy * fScale + dy, extent.yMax * dsy * fScale + dy, H, &row0, &row1);
    if (col0 >= col1 || row0 >= row1)
        return;

    auto memo = std::make_unique<QopColorMemoData_t>();
    QopColorBlendInitMemozied(memo.get(), blendMode);
    for (int row = row0; row < row1; ++row) {
        const float y = (static_cast<float>(row - h2) - dy * static_cast<float>(h2)) * ky;
        QopColor_t *line = &bitmap->data[static_cast<size_t>(row) * bitmap->width];
        for (int col = col0; col < col1; ++col) {
            const float x = (static_cast<float>(col - w2) - dx * static_cast<float>(w2)) * kx;
            float t = strength(type, x, y);
            // Fingerflare divides by x - 1, which is exactly 0 on one column of odd widths, and a
            // degenerate scale makes every coordinate NaN: such a pixel gets no flare.
            if (!std::isfinite(t))
                t = 0.0f;
            t = t > 0.0f ? (t < 1.0f ? t : 1.0f) : 0.0f;
            QopColorBlendMemoized(&line[col], color, static_cast<uint8_t>(static_cast<int>(255.0f * t)), memo.get());
        }
    }
}

} // extern "C"
