#include "TesselSDKImaging/Processors/QZColorSplashProcessor.h"

#include "QopLite/QopGLMask.h"

GLuint QZColorSplashProcessor::runQopPreprocessFunction(QopBitmap_t* bitmap)
{
    GLuint texture = 0;
    QopMaskEffectDesaturateProcess(bitmap, &texture);
    return texture;
}
