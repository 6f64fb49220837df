#include "TesselSDKImaging/Processors/QZSelectiveRedeyeProcessor.h"

#include "QopLite/QopGLMask.h"

GLuint QZSelectiveRedeyeProcessor::runQopPreprocessFunction(QopBitmap_t* bitmap)
{
    GLuint texture = 0;
    QopMaskEffectRedeye(bitmap, &texture);
    return texture;
}
