/* QopGLEnhance.h: GPU passes of the colour-model conversions used by the corrections. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

void QopGLConvertRGBTOLAB(QopBitmap_t *bitmap);
void QopGLConvertLABToRGB(QopBitmap_t *bitmap, float scaleA, float scaleB);

#ifdef __cplusplus
}
#endif
