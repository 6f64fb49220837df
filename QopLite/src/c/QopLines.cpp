// Anti-aliased thick line segments on the CPU; with a GPU record the segment becomes one pass.
#include "QopLite/QopDotMatrix.h"

#include "QopLite/QopColor.h"
#include "QopLite/QopGLDotMatrix.h"

#include <algorithm>
#include <cmath>

extern "C" {

void QopDrawLine(QopBitmap_t *bitmap, const QopColor_t *color, double x1, double y1, double x2, double y2, double r)
{
    if (!bitmap || !color || bitmap->width == 0 || bitmap->height == 0)
        return;
    const double dAA = 2.0;
    const double r2 = r * r;
    const double r2AA = (r + dAA) * (r + dAA);
    const double len2 = (x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1);
    // A segment of length 0 has no normal: it is drawn as the round cap alone (a dot of radius r),
    // never as the whole box a division by zero would paint.
    const bool hasLength = len2 > 0.0;
    const double len = std::sqrt(len2);
    const double nx = hasLength ? (y1 - y2) / len : 0.0;
    const double ny = hasLength ? (x2 - x1) / len : 0.0;
    const double bA = static_cast<double>(color->a) / 255.0;
    const double P = 1.0 - bA;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    const double grow = r + dAA;
    const double left = std::max(std::floor(std::min(x1, x2) - grow), 0.0);
    const double right = std::min(std::ceil(std::max(x1, x2) + grow), W - 1.0);
    const double top = std::max(std::floor(std::min(y1, y2) - grow), 0.0);
    const double bottom = std::min(std::ceil(std::max(y1, y2) + grow), H - 1.0);
    if (!(left <= right) || !(top <= bottom))
        return;
    if (bitmap->glData) {
        QopGLAddLine(bitmap, color, static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(x1),
                     static_cast<float>(x2), static_cast<float>(y1), static_cast<float>(y2), static_cast<float>(r),
                     static_cast<float>(r2), static_cast<float>(dAA), static_cast<float>(bA),
                     static_cast<float>(r2AA), static_cast<float>(len2), static_cast<float>(left),
                     static_cast<float>(top), static_cast<float>(right), static_cast<float>(bottom));
        return;
    }
    if (!bitmap->data)
        return;
    for (int i = static_cast<int>(top); i <= static_cast<int>(bottom); ++i) {
        const double y = static_cast<double>(i);
        for (int j = static_cast<int>(left); j <= static_cast<int>(right); ++j) {
            const double x = static_cast<double>(j);
            const double m = std::fabs(nx * (x - x1) + ny * (y - y1));
            if (m > r + dAA)
                continue;
            const double d1 = (x - x1) * (x - x1) + (y - y1) * (y - y1);
            const double d2 = (x - x2) * (x - x2) + (y - y2) * (y - y2);
            const double dMin = std::min(d1, d2);
            double w;
            if (hasLength && std::max(d1, d2) <= len2 + dMin) {
                w = P;
                if (m > r)
                    w += (m - r) * bA * 0.5;
            } else if (dMin < r2) {
                w = P;
            } else if (dMin < r2AA) {
                w = (std::sqrt(dMin) - r) * bA * 0.5 + P;
            } else {
                continue;
            }
            if (w < 0.995)
                QopColorBlend(&bitmap->data[static_cast<size_t>(i) * bitmap->width + static_cast<size_t>(j)], color,
                              QopBlendModeNormal, static_cast<float>(1.0 - w));
        }
    }
}

} // extern "C"
