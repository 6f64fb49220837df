#include "TesselSDKImaging/Processors/QZSharpnessProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopTools.h"

QZQopBitmapBlock QZSharpnessProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock(
        [inputSharpness = inputSharpness_](QopBitmap_t* bitmap) { QopToolSharpness(bitmap, double(inputSharpness)); });
}
