/* QopGLGradient.h: the GPU pass of the gradient map. */
#pragma once

#include "QopLite/QopGLData.h"
#include "QopLite/QopGradientMap.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One gradient pass reading the colour map from a texture, in every shape and blend mode: Normal
 * is blended by GL over the result, the other modes by the overlay program (a None pass). */
void QopGLAddGradient(QopBitmap_t *bitmap, const QopGradientShapeParams_t *shapeParams, const QopColor_t *gradMap,
                      size_t mapLength, QopBlendMode_t blendMode, double alphaBlend, float angleSin, float angleCos,
                      float denomI);
/* The map as a 1 x mapLength RGBA texture on unit texIndex, linear filtering, clamped. */
GLuint createGradientTexture(QopGLData_t *glData, GLuint texIndex, const QopColor_t *gradMap, size_t mapLength);

#ifdef __cplusplus
}
#endif
