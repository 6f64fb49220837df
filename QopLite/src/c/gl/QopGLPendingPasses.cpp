// Temporary bodies for GPU passes whose implementations have not landed yet. Nothing can reach
// them today: no GPU record can be created until the GL record exists, and a CPU bitmap never
// calls into the GPU library. Each function is deleted from here when its real pass lands.
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopGLEnhance.h"

extern "C" {

void QopGLCreateEffect(QopBitmap_t *) {}
void QopGLFinalizeEffect(QopBitmap_t *) {}

void QopGLDrawCurrentBitmapIdentity(QopGLData_t *) {}
void QopGLDrawCurrentBitmapWithResizeRect(QopGLData_t *, const QopBitmapResizeRect_t *) {}
void QopGLBitmapComposite(QopBitmap_t *, QopBitmap_t *) {}
void QopGLBitmapBlendSeparate(QopBitmap_t *, QopBitmap_t *, float, float) {}
void QopGLBitmapBlend(QopBitmap_t *, QopBitmap_t *, float, QopBlendMode_t) {}
void QopGLBitmapColorBlendColor(QopBitmap_t *, const QopColor_hsl *, float, float) {}

void QopGLAddColorTransform(const float *, QopGLData_t *) {}
void QopGLAddColorTransformAndOverlayWithOriginal(const float *, QopGLData_t *, float) {}
void QopGLAddColorMap(const QopHistMap_t *, QopGLData_t *) {}
void QopGLAddIntensityMap(const QopHistMap_t *, QopBlendMode_t, double, QopGLData_t *) {}
void QopGLAddNoise(QopBitmap_t *, float, uint32_t) {}
void QopGLHistogramBuild(QopBitmap_t *, QopHistogram_t *) {}

void QopGLConvertRGBTOLAB(QopBitmap_t *) {}
void QopGLConvertLABToRGB(QopBitmap_t *, float, float) {}

}
