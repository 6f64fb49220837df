// The colour vignette: the colour laid on with a cos^4 falloff (as a polynomial series) from a
// possibly shifted centre; the soft zone blends through a memo of one table row per alpha.
#include "QopLite/QopBorders.h"

#include "QopLite/QopColor.h"
#include "QopLite/QopGLBorders.h"

#include "QopClampedInt.h"

#include <cmath>
#include <memory>

namespace {

// theta shaped by the falloff mode.
inline float shaped(float theta, QopBorderShapeMode_t shapeMode)
{
    switch (shapeMode) {
    case QopBorderShapeModeSharp:
        return theta * theta;
    case QopBorderShapeModeMediumSharp:
        return powf(theta, 1.5f);
    case QopBorderShapeModeUltraSharp:
        return theta * theta * theta * theta;
    default:
        return theta;
    }
}

} // namespace

extern "C" {

void QopVignette(QopBitmap_t *bitmap, QopBorderParams_t *params)
{
    if (!bitmap || !params)
        return;
    if (bitmap->glData) {
        QopGLAddBorderVignette(bitmap, params);
        return;
    }
    if (!bitmap->data || bitmap->width == 0 || bitmap->height == 0)
        return;
    // About 200 KB of tables: on the heap, not on the caller's stack.
    auto memo = std::make_unique<QopColorMemoData_t>();
    QopColorBlendInitMemozied(memo.get(), params->blendMode);

    const int W = static_cast<int>(bitmap->width), H = static_cast<int>(bitmap->height);
    float denom = static_cast<float>(params->vignetteScale * params->vignetteScale / 1.15);
    if (denom == 0.0f)
        denom = 1e-8f;
    const int dx = qop_internal::clampedFloor((W / 2) * params->dx + 0.5);
    const int dy = qop_internal::clampedFloor((H / 2) * params->dy + 0.5);
    const QopColor_t colour = params->color;
    const float fullAlpha = colour.a / 255.0f;
    const float W2 = static_cast<float>(W) * static_cast<float>(W);
    const float H2 = static_cast<float>(H) * static_cast<float>(H);
    for (int y = 0; y < H; ++y) {
        const float yc = static_cast<float>(static_cast<double>(y) - H / 2 - dy);
        QopColor_t *row = &bitmap->data[static_cast<size_t>(y) * bitmap->width];
        for (int x = 0; x < W; ++x) {
            const float xc = static_cast<float>(static_cast<double>(x) - W / 2 - dx);
            float theta = params->stretch ? xc * xc / W2 + yc * yc / H2 : xc * xc + yc * yc;
            theta = shaped(theta / denom, params->shapeMode);
            if (theta > 1.15f) {
                QopColorBlend(&row[x], &colour, params->blendMode, fullAlpha);
            } else if (theta >= 0.04f) {
                const float t = theta * theta;
                const float f = 1.0f - 2.0f * t + 1.6666666f * t * t - 0.75555557f * t * t * t +
                                0.20634921f * t * t * t * t - 0.036261022f * t * t * t * t * t;
                int alpha = static_cast<int>(colour.a * (1.0f - f));
                alpha = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
                QopColorBlendMemoized(&row[x], &colour, static_cast<uint8_t>(alpha), memo.get());
            }
        }
    }
}

} // extern "C"
