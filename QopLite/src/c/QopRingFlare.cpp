// The ring flare: a soft ring in squared normalised distance, with edges 0.01 x dr2 wide, laid on
// Normal. Only the ring's bounding square (plus a small margin) is visited.
#include "QopLite/QopFlare.h"

#include "QopLite/QopColor.h"
#include "QopLite/QopGLFlare.h"

#include <algorithm>
#include <cmath>

namespace {

// [first, last) of (int)(centre - R - 4) .. (int)(centre + R + 4), clipped to 0..size before the
// conversion (a far-away centre or a huge radius must not overflow it).
void ringRange(double centre, double R, int size, int *first, int *last)
{
    const double lo = std::trunc(centre - R - 4.0), hi = std::trunc(centre + R + 4.0);
    if (!(lo == lo) || !(hi == hi)) {
        *first = *last = 0;
        return;
    }
    *first = static_cast<int>(std::clamp(lo, 0.0, static_cast<double>(size)));
    *last = static_cast<int>(std::clamp(hi, 0.0, static_cast<double>(size)));
}

} // namespace

extern "C" {

void QopRingFlare(QopBitmap_t *bitmap, const QopColor_t *color, double xCenter, double yCenter, double dr1,
                  double dr2)
{
    if (!bitmap || !color)
        return;
    const int W = static_cast<int>(bitmap->width), H = static_cast<int>(bitmap->height);
    const double avgD = (static_cast<double>(W) + H) / 2.0;
    const double R = dr2 * avgD;
    const float dr22 = static_cast<float>(dr2 * dr2), dr12 = static_cast<float>(dr1 * dr1);
    const float daa = static_cast<float>(0.01 * dr2);
    const float bA = color->a / 255.0f;
    if (bitmap->glData) {
        QopGLAddRingFlare(bitmap, color, static_cast<float>(xCenter), static_cast<float>(yCenter), dr22, dr12, daa,
                          static_cast<float>(avgD), bA);
        return;
    }
    if (!bitmap->data || W == 0 || H == 0)
        return;
    int row0, row1, col0, col1;
    ringRange(yCenter, R, H, &row0, &row1);
    ringRange(xCenter, R, W, &col0, &col1);
    for (int row = row0; row < row1; ++row) {
        const float v = static_cast<float>((row - yCenter) / avgD);
        QopColor_t *line = &bitmap->data[static_cast<size_t>(row) * bitmap->width];
        for (int col = col0; col < col1; ++col) {
            const float u = static_cast<float>((col - xCenter) / avgD);
            const float q = u * u + v * v;
            float B;
            if (q > dr22 + daa)
                B = 0.0f;
            else if (q > dr22)
                B = (dr22 + daa - q) / daa;
            else if (q > dr12)
                B = 1.0f;
            else if (q > dr12 - daa)
                B = 1.0f - (dr12 - q) / daa;
            else
                B = 0.0f;
            const float c = 1.0f - B * B * bA;
            if (c < 0.995f)
                QopColorBlend(&line[col], color, QopBlendModeNormal, 1.0f - c);
        }
    }
}

} // extern "C"
