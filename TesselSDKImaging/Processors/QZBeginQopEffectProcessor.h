#pragma once
// Opens one GPU effect for the processors that follow, up to a QZEndQopEffectProcessor, so their
// passes render as one effect. Nothing on the CPU.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZBeginQopEffectProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZBeginQopEffectProcessor> make()
    {
        return NSObject::create<QZBeginQopEffectProcessor>(&QZBeginQopEffectProcessor::init);
    }

    QZQopBitmapBlock qopBitmapBlock() const override;
};
