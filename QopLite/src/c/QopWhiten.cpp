// Whitening (teeth): pixels near a slightly red, yellowish target colour are lightened by a gamma
// and lose part of their yellow; the strength falls off as a Gaussian of the L*a*b* distance from
// the target, so neutral and strongly coloured pixels keep their colour.
#include "QopLite/QopTools.h"

#include "QopClampedInt.h"

#include "QopLite/QopColor.h"

#include <cmath>

namespace {

using qop_internal::truncatedByte;

// Target a* and b* (bytes, neutral 127) and the width of the Gaussian (2 sigma^2).
constexpr float kTargetA = 132.0f;
constexpr float kNeutralB = 127.0f;
constexpr float kWidth = 98.0f;
constexpr float kStrength = 0.65f;

} // namespace

extern "C" {

void QopWhiten(QopBitmap_t *src)
{
    if (!src || !src->data || src->height == 0)
        return;
    const size_t count = src->width * src->height;
    for (size_t i = 0; i < count; ++i) {
        QopColor_t &c = src->data[i];
        double l, a, b;
        QopColorRGB2LABDoublesWithCbrtMapping(&c, &l, &a, &b);
        const float fa = static_cast<float>(a), fb = static_cast<float>(b);
        // Yellow of any strength is welcome (judged by a* alone); blue moves a pixel away from the target.
        const float q = fb < kNeutralB ? (fb - kNeutralB) * (fb - kNeutralB) : 0.0f;
        const float e = std::exp(-((fa - kTargetA) * (fa - kTargetA) + q) / kWidth);
        const float f = kStrength * e;
        const float lightness = std::trunc(255.0f * std::pow(static_cast<float>(l) / 255.0f, 1.0f / (0.5f * f + 1.0f)));
        QopColor_t lab = c;
        lab.r = truncatedByte(lightness);
        lab.g = truncatedByte(std::trunc(fa));
        lab.b = truncatedByte(std::trunc((1.0f - f) * (fb - kNeutralB) + kNeutralB));
        QopColorLAB2RGB(&lab);
        c.r = lab.r;
        c.g = lab.g;
        c.b = lab.b;
    }
}

}
