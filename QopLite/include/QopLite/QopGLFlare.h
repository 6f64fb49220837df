/* QopGLFlare.h: the GPU passes of the flares and the ring flare. */
#pragma once

#include "QopLite/QopFlare.h"
#include "QopLite/QopGLData.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One flare: a dedicated program for the common Normal and Overlay shapes, else the fallback
 * program, which evaluates every type and every blend mode. */
void QopGLAddFlare(QopBlendMode_t blendMode, QopFlareType_t type, float scale, const QopColor_t *color, float dx,
                   float dy, float dsx, float dsy, QopGLData_t *glData);
/* One ring: dr22, dr12 the squared outer and inner radii, daa the soft-edge width, avgD the mean
 * of width and height, bA the opacity. */
void QopGLAddRingFlare(QopBitmap_t *bitmap, const QopColor_t *color, float xCenter, float yCenter, float dr22,
                       float dr12, float daa, float avgD, float bA);

#ifdef __cplusplus
}
#endif
