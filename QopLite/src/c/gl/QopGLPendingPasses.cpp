// Temporary bodies for GPU passes whose implementations have not landed yet: until each lands,
// its operation records no pass on a GPU bitmap (a CPU bitmap never calls into the GPU library).
// Each function is deleted from here when its real pass lands.
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopGLEnhance.h"

extern "C" {

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
