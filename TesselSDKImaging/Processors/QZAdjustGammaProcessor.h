#pragma once
// The gamma adjustment. It calls the brightness function with its value, so it gives the pixels
// of a brightness processor of the same value.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZAdjustGammaProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZAdjustGammaProcessor> make()
    {
        return NSObject::create<QZAdjustGammaProcessor>(&QZAdjustGammaProcessor::init);
    }

    CGFloat gamma() const { return gamma_; }
    void setGamma(CGFloat gamma) { gamma_ = gamma; }

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    CGFloat gamma_ = 0;
};
