#include "TesselSDKImaging/Processors/QZBrightnessProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopTools.h"

QZQopBitmapBlock QZBrightnessProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([value = value_](QopBitmap_t* bitmap) { QopToolBrightness(bitmap, double(value)); });
}
