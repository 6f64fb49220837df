#include "TesselSDKImaging/Processors/QZContrastCurveProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopTools.h"

QZQopBitmapBlock QZContrastCurveProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([value = value_](QopBitmap_t* bitmap) { QopToolContrast(bitmap, double(value)); });
}
