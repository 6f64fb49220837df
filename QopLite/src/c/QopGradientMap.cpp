// The gradient map: colour and opacity stops baked into a 1024-entry map with a slight S-shaped
// easing between stops, then laid over the image by a linear, radial or vignette-faded linear
// factor.
#include "QopLite/QopGradientMap.h"

#include "QopClampedInt.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopGLGradient.h"

#include <cmath>
#include <cstdio>

namespace {

using qop_internal::truncatedByte;

constexpr size_t kMapLength = 1024;
constexpr float kTwoPi = 6.28318530717958647692f;

inline float clamp01(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }

// The slight S-shaped easing of a fraction between two stops.
inline float eased(float f)
{
    const float m = f - 0.5f;
    return clamp01(f + (1.5f * std::fabs(m) + 1.0f) * 9.0f * sinf(kTwoPi * m) / 255.0f);
}

// The walk over one list of stops. The upper stop only ever moves forward, starting at stop 1.
template <class Stop>
struct StopWalk {
    const Stop *stops;
    size_t count;
    size_t upper = 1;

    // The eased fraction between the lower and upper stop at location p; sets *lower, *upperStop.
    float at(double p, const Stop **lower, const Stop **upperStop)
    {
        while (upper < count - 1 && !(stops[upper].location > p))
            ++upper;
        *lower = &stops[upper - 1];
        *upperStop = &stops[upper];
        const double span = (*upperStop)->location - (*lower)->location;
        float f;
        // Two stops at one location make a hard edge (the usual way to draw one); dividing by
        // their zero span would give NaN colours.
        if (span == 0.0)
            f = p >= (*upperStop)->location ? 1.0f : 0.0f;
        else
            f = clamp01(static_cast<float>((p - (*lower)->location) / span));
        return eased(f);
    }
};

// The vignette falloff of the LinearVignette shape (the series of the colour vignette).
inline float vignetteStrength(float theta, QopBorderShapeMode_t shape, float alphaBlend)
{
    switch (shape) {
    case QopBorderShapeModeSharp:
        theta = theta * theta;
        break;
    case QopBorderShapeModeMediumSharp:
        theta = powf(theta, 1.5f);
        break;
    case QopBorderShapeModeUltraSharp:
        theta = theta * theta * theta * theta;
        break;
    default:
        break;
    }
    if (theta > 1.15f)
        return alphaBlend;
    if (theta < 0.04f)
        return 0.0f;
    const float t = theta * theta;
    const float g = 1.0f - 2.0f * t + 1.6666666f * t * t - 0.75555557f * t * t * t + 0.20634921f * t * t * t * t -
                    0.036261022f * t * t * t * t * t;
    return alphaBlend * (1.0f - g);
}

} // namespace

extern "C" {

QopGradientShapeParams_t *QopGradientShapeParamsInit(QopGradientShapeParams_t *params)
{
    if (!params)
        return params;
    params->shapeMode = QopGradientShapeModeLinear;
    params->scale = 1.0;
    params->xCenter = 0.5;
    params->yCenter = 0.5;
    params->angle = 0;
    params->vignetteShape = QopBorderShapeModeNormal;
    params->vignetteScale = 1.0;
    params->dx = 0;
    params->dy = 0;
    return params;
}

void QopGradientMemoize(const QopGradient_t *gradient, QopColor_t *gradMap, size_t mapLength)
{
    if (!gradient || !gradMap || mapLength == 0 || gradient->colorLength == 0 || gradient->opacityLength == 0)
        return;
    // A list of one stop has nothing to interpolate: every entry is that stop (a one-entry map
    // would otherwise divide by mapLength - 1 = 0).
    if (mapLength == 1 || gradient->colorLength < 2 || gradient->opacityLength < 2) {
        const QopColor_t first = gradient->color[0].color;
        const float alpha = static_cast<float>(gradient->opacity[0].opacity * 255.0);
        for (size_t i = 0; i < mapLength; ++i)
            gradMap[i] = {first.r, first.g, first.b, truncatedByte(alpha)};
        return;
    }
    StopWalk<QopGradientColor_t> colours{gradient->color, gradient->colorLength};
    StopWalk<QopGradientOpacity_t> opacities{gradient->opacity, gradient->opacityLength};
    for (size_t i = 0; i < mapLength; ++i) {
        const double p =
            (1.0 - static_cast<double>(mapLength - i - 1) / static_cast<double>(mapLength - 1)) * 100.0;
        const QopGradientColor_t *lo, *hi;
        const float f = colours.at(p, &lo, &hi);
        QopColor_t &entry = gradMap[i];
        entry.r = truncatedByte(lo->color.r * (1.0f - f) + hi->color.r * f);
        entry.g = truncatedByte(lo->color.g * (1.0f - f) + hi->color.g * f);
        entry.b = truncatedByte(lo->color.b * (1.0f - f) + hi->color.b * f);
        const QopGradientOpacity_t *olo, *ohi;
        const float fo = opacities.at(p, &olo, &ohi);
        entry.a = truncatedByte(static_cast<float>((olo->opacity * (1.0f - fo) + ohi->opacity * fo) * 255.0));
    }
}

void QopGradientApply(QopBitmap_t *bitmap, const QopGradientShapeParams_t *shapeParams, const QopGradient_t *gradient,
                      QopBlendMode_t blendMode, double alphaBlend)
{
    if (!bitmap || !shapeParams || !gradient || shapeParams->scale == 0)
        return;
    if (gradient->colorLength < 2 || gradient->opacityLength < 2 || !gradient->color || !gradient->opacity) {
        std::printf("A gradient needs at least two colour stops and two opacity stops: nothing drawn.\n");
        return;
    }
    QopColor_t *map = nullptr;
    if (!QopArrayBuild(reinterpret_cast<void **>(&map), kMapLength, sizeof(QopColor_t)))
        return;
    QopGradientMemoize(gradient, map, kMapLength);

    const int W = static_cast<int>(bitmap->width), H = static_cast<int>(bitmap->height);
    const double dyShift = std::floor((H / 2) * shapeParams->dy + 0.5);
    const double dxShift = std::floor((W / 2) * shapeParams->dx + 0.5);
    const float angleSin = static_cast<float>(std::sin(shapeParams->angle));
    const float angleCos = static_cast<float>(std::cos(shapeParams->angle));
    float denom = static_cast<float>(shapeParams->vignetteScale * shapeParams->vignetteScale / 1.15);
    if (denom == 0.0f)
        denom = 1e-8f;
    const float denomI = 1.0f / denom;

    if (bitmap->glData) {
        QopGLAddGradient(bitmap, shapeParams, map, kMapLength, blendMode, alphaBlend, angleSin, angleCos, denomI);
        QopArrayFree(reinterpret_cast<void **>(&map));
        return;
    }
    if (bitmap->data) {
        const float scale = static_cast<float>(shapeParams->scale);
        const float xCenter = static_cast<float>(shapeParams->xCenter);
        const float yCenter = static_cast<float>(shapeParams->yCenter);
        const float alpha = static_cast<float>(alphaBlend);
        const float W2 = static_cast<float>(W) * static_cast<float>(W);
        const float H2 = static_cast<float>(H) * static_cast<float>(H);
        for (int y = 0; y < H; ++y) {
            const float v = (static_cast<float>(y) / static_cast<float>(H) - yCenter) / scale;
            const float yc = static_cast<float>(y - H / 2 - dyShift);
            QopColor_t *row = &bitmap->data[static_cast<size_t>(y) * bitmap->width];
            for (int x = 0; x < W; ++x) {
                const float u = (static_cast<float>(x) / static_cast<float>(W) - xCenter) / scale;
                float factor;
                float s = alpha;
                if (shapeParams->shapeMode == QopGradientShapeModeRadial) {
                    factor = sqrtf(u * u + v * v);
                } else {
                    factor = u * angleCos - v * angleSin;
                    if (shapeParams->shapeMode == QopGradientShapeModeLinearVignette) {
                        const float xc = static_cast<float>(x - W / 2 - dxShift);
                        s = vignetteStrength((xc * xc / W2 + yc * yc / H2) * denomI, shapeParams->vignetteShape, alpha);
                    }
                }
                size_t index;
                if (factor < 0.0f || !(factor == factor))
                    index = 0;
                else if (factor > 1.0f)
                    index = 1023;
                else
                    index = static_cast<size_t>(std::floor(factor * 1023.0f + 0.5f));
                const QopColor_t entry = map[index];
                QopColorBlend(&row[x], &entry, blendMode, entry.a / 255.0f * s);
            }
        }
    }
    QopArrayFree(reinterpret_cast<void **>(&map));
}

} // extern "C"
