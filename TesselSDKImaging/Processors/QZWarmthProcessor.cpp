#include "TesselSDKImaging/Processors/QZWarmthProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopTools.h"

QZQopBitmapBlock QZWarmthProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([value = value_](QopBitmap_t* bitmap) { QopToolWarmth(bitmap, double(value)); });
}
