#include "TesselSDKImaging/Processors/QZLocalContrastEnhanceProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopEnhance.h"

QZQopBitmapBlock QZLocalContrastEnhanceProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([](QopBitmap_t* bitmap) { QopLocalContrastEnhance(bitmap); });
}
