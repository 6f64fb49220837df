#pragma once
// Closes the GPU effect a QZBeginQopEffectProcessor opened. Nothing on the CPU.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZEndQopEffectProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZEndQopEffectProcessor> make()
    {
        return NSObject::create<QZEndQopEffectProcessor>(&QZEndQopEffectProcessor::init);
    }

    QZQopBitmapBlock qopBitmapBlock() const override;
};
