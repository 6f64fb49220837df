#include "TesselSDKImaging/Processors/QZAdjustGammaProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopTools.h"

QZQopBitmapBlock QZAdjustGammaProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([gamma = gamma_](QopBitmap_t* bitmap) { QopToolBrightness(bitmap, double(gamma)); });
}
