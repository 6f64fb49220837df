#include "TesselSDKImaging/Processors/QZBeginQopEffectProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopBitmap.h"

QZQopBitmapBlock QZBeginQopEffectProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([](QopBitmap_t* bitmap) { QopBitmapBeginGLEffectIfEnabled(bitmap); });
}
