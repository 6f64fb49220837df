#pragma once
// The warmth slider: positive values warm, negative ones cool.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZWarmthProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZWarmthProcessor> make()
    {
        return NSObject::create<QZWarmthProcessor>(&QZWarmthProcessor::init);
    }

    float value() const { return value_; }
    void setValue(float value) { value_ = value; }

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    float value_ = 0;
};
