/* QopGL.h: the GPU record's effect bracket. Every GPU pass is recorded between
 * QopGLCreateEffect and QopGLFinalizeEffect on the GL thread with the shared context current. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

void QopGLCreateEffect(QopBitmap_t *bitmap);
void QopGLFinalizeEffect(QopBitmap_t *bitmap);

#ifdef __cplusplus
}
#endif
