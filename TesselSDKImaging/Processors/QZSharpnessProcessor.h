#pragma once
// The sharpness slider: positive values sharpen, negative ones soften.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZSharpnessProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZSharpnessProcessor> make()
    {
        return NSObject::create<QZSharpnessProcessor>(&QZSharpnessProcessor::init);
    }

    float inputSharpness() const { return inputSharpness_; }
    void setInputSharpness(float inputSharpness) { inputSharpness_ = inputSharpness; }

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    float inputSharpness_ = 0;
};
