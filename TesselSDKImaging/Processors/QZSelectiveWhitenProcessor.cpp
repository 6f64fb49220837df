#include "TesselSDKImaging/Processors/QZSelectiveWhitenProcessor.h"

#include "QopLite/QopGLMask.h"

GLuint QZSelectiveWhitenProcessor::runQopPreprocessFunction(QopBitmap_t* bitmap)
{
    GLuint texture = 0;
    QopMaskEffectWhiten(bitmap, &texture);
    return texture;
}
