#pragma once
// The brightness slider, with the value of the moment. The gamma processor is held for the screen
// that made it; the block does not use it.

#include "TesselSDKImaging/Processors/QZAdjustGammaProcessor.h"

class QZBrightnessProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZBrightnessProcessor> make()
    {
        return NSObject::create<QZBrightnessProcessor>(&QZBrightnessProcessor::init);
    }

    float value() const { return value_; }
    void setValue(float value) { value_ = value; }
    const std::shared_ptr<QZAdjustGammaProcessor>& gammaProcessor() const { return gammaProcessor_; }
    void setGammaProcessor(std::shared_ptr<QZAdjustGammaProcessor> processor)
    {
        gammaProcessor_ = std::move(processor);
    }

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    float value_ = 0;
    std::shared_ptr<QZAdjustGammaProcessor> gammaProcessor_;
};
