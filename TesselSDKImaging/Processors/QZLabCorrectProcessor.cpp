#include "TesselSDKImaging/Processors/QZLabCorrectProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopEnhance.h"

QZQopBitmapBlock QZLabCorrectProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([](QopBitmap_t* bitmap) { QopLabCorrect(bitmap); });
}
