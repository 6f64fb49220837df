#include "TesselSDKImaging/Processors/QZSaturationProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopTools.h"

QZQopBitmapBlock QZSaturationProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([value = value_](QopBitmap_t* bitmap) { QopToolSaturation(bitmap, double(value)); });
}
