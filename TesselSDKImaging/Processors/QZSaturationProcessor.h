#pragma once
// The saturation slider, with the value of the moment.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZSaturationProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZSaturationProcessor> make()
    {
        return NSObject::create<QZSaturationProcessor>(&QZSaturationProcessor::init);
    }

    float value() const { return value_; }
    void setValue(float value) { value_ = value; }

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    float value_ = 0;
};
