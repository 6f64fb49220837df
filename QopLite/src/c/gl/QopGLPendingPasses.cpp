// Temporary bodies for GPU passes whose implementations have not landed yet: until each lands,
// its operation records no pass on a GPU bitmap (a CPU bitmap never calls into the GPU library).
// Each function is deleted from here when its real pass lands.
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopGLEnhance.h"

extern "C" {

void QopGLConvertRGBTOLAB(QopBitmap_t *) {}
void QopGLConvertLABToRGB(QopBitmap_t *, float, float) {}

}
