/* QopGradientMap.h: a multi-stop colour gradient (linear at an angle, radial, or linear faded in
 * by a vignette) laid over a bitmap. The gradient itself is built with QopGradientBuild. */
#pragma once

#include "QopLite/QopBorders.h"
#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QopGradientShapeMode {
    QopGradientShapeModeLinear = 0,
    QopGradientShapeModeRadial = 1,
    QopGradientShapeModeLinearVignette = 2
} QopGradientShapeMode;
typedef QopGradientShapeMode QopGradientShapeMode_t;

typedef struct QopGradientShapeParams {
    QopGradientShapeMode_t shapeMode;
    double scale;
    double xCenter;
    double yCenter;
    double angle; /* radians */
    QopBorderShapeMode_t vignetteShape;
    double vignetteScale;
    double dx;
    double dy;
} QopGradientShapeParams;
typedef QopGradientShapeParams QopGradientShapeParams_t;

/* Linear, scale 1, centre (0.5, 0.5), angle 0, vignette Normal at scale 1, no shift. */
QopGradientShapeParams_t *QopGradientShapeParamsInit(QopGradientShapeParams_t *params);
/* Fills gradMap[0 .. mapLength - 1] with the gradient's colours and opacities from location 0 to
 * 100, eased between stops. A one-entry map holds the first stops. */
void QopGradientMemoize(const QopGradient_t *gradient, QopColor_t *gradMap, size_t mapLength);
/* Blends the gradient onto the bitmap through the shape at alphaBlend. The gradient needs at
 * least two colour stops and two opacity stops. */
void QopGradientApply(QopBitmap_t *bitmap, const QopGradientShapeParams_t *shapeParams, const QopGradient_t *gradient,
                      QopBlendMode_t blendMode, double alphaBlend);

#ifdef __cplusplus
}
#endif
