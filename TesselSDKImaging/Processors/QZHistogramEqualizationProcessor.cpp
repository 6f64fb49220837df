#include "TesselSDKImaging/Processors/QZHistogramEqualizationProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

QZQopBitmapBlock QZHistogramEqualizationProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([mode = mode_](QopBitmap_t* bitmap) { QopAutoEnhance(bitmap, mode); });
}
