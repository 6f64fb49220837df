#include "TesselSDKImaging/Processors/QZAutoEnhanceProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

QZQopBitmapBlock QZAutoEnhanceProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([mode = mode_](QopBitmap_t* bitmap) { QopAutoEnhance(bitmap, mode); });
}
