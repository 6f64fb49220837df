#pragma once
// The identity effect the geometry modules add after their resize when hi-res: QopEffectOriginal
// with seed 0, intensity 0 and border off (QopEffectOriginal reads no parameter).

#include "TesselSDKImaging/Processors/QZQopEffectProcessor.h"

#include "QopLite/QopBitmap.h"

inline std::shared_ptr<QZProcessor> QZIdentityEffectProcessor()
{
    QopEffectParams_t params{};
    params.seed = 0;
    params.intensity = 0.0;
    params.border = false;
    params.scale = 1.0;
    return QZQopEffectProcessor::make(QopEffectOriginal, params);
}
