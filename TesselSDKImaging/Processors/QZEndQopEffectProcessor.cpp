#include "TesselSDKImaging/Processors/QZEndQopEffectProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "QopLite/QopBitmap.h"

QZQopBitmapBlock QZEndQopEffectProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([](QopBitmap_t* bitmap) { QopBitmapEndGLEffectIfEnabled(bitmap); });
}
