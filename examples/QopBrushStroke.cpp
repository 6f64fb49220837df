// The scripted brush stroke of the example programs (see QopBrushStroke.h).
#include "QopBrushStroke.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLData.h"
#include "QopLite/QopGLMask.h"
#include "QopLite/QopTools.h"

#include <cmath>

namespace qop_brush {

std::vector<Dab> scriptedStroke(size_t width, size_t height, double radius)
{
    std::vector<Dab> dabs;
    const double w = static_cast<double>(width), h = static_cast<double>(height);
    const double step = std::fmax(radius * 0.5, 0.5); // a quarter of the brush size (2 x radius)
    for (double x = 0.1 * w; x <= 0.9 * w; x += step)
        dabs.push_back({x, h / 2.0 + 0.2 * h * std::sin((x / w) * 2.0 * M_PI)});
    return dabs;
}

bool paintStrokeCpu(QopBitmap_t *bitmap, const std::vector<Dab> &dabs, double radius, double alpha)
{
    QopBitmap_t mask;
    if (!QopBitmapBuild(&mask, bitmap->width, bitmap->height))
        return false;
    QopToolDrawParams_t params;
    QopToolDrawParamsInit(&params);
    params.toolType = QopToolTypeRedEye;
    params.radius = radius;
    params.alpha = alpha;
    for (const Dab &dab : dabs) {
        params.x = dab.x;
        params.y = dab.y;
        QopToolDraw(bitmap, &mask, &params);
    }
    QopToolRenderHiRes(bitmap, &mask, &params);
    QopBitmapFree(&mask);
    return true;
}

bool paintStrokeGpu(QopBitmap_t *bitmap, const std::vector<Dab> &dabs, double radius, double alpha)
{
    QopGLData_t *glData = bitmap->glData;
    GLuint processed = 0;
    QopMaskEffectRedeye(bitmap, &processed);
    GLuint mask = 0;
    const int width = static_cast<int>(bitmap->width), height = static_cast<int>(bitmap->height);
    QopGLMaskCreate(&mask, width, height, glData);
    if (mask == 0)
        return false;
    std::vector<float> points;
    for (const Dab &dab : dabs) {
        points.push_back(static_cast<float>(dab.x / bitmap->width));
        points.push_back(static_cast<float>(dab.y / bitmap->height));
    }
    QopGLMaskAddPoints(mask, width, height, points.data(), static_cast<int>(points.size()),
                       static_cast<float>(radius), 10.0f, static_cast<float>(alpha), QopGLMaskTypeNormal, nullptr,
                       false, glData);
    QopGLBitmapDrawExistingProcessedTextureWithMaskTexture(bitmap, processed, mask, false);
    QopGLMaskDestroy(mask);
    return glData->state == QopGLStateOk;
}

} // namespace qop_brush
