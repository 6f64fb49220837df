#include "TesselSDKImaging/Processors/QZSelectiveBlurProcessor.h"

#include "QopLite/QopGLConvolution.h"

GLuint QZSelectiveBlurProcessor::runQopPreprocessFunction(QopBitmap_t* bitmap)
{
    GLuint texture = 0;
    QopConvolutionEffectBlurProcess(bitmap, &texture);
    return texture;
}
