#pragma once
// The Hi-Def enhance: local contrast.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZLocalContrastEnhanceProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZLocalContrastEnhanceProcessor> make()
    {
        return NSObject::create<QZLocalContrastEnhanceProcessor>(&QZLocalContrastEnhanceProcessor::init);
    }

    QZQopBitmapBlock qopBitmapBlock() const override;
};
