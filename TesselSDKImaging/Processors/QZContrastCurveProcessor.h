#pragma once
// The contrast slider: the library's S-curve with the value of the moment.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZContrastCurveProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZContrastCurveProcessor> make()
    {
        return NSObject::create<QZContrastCurveProcessor>(&QZContrastCurveProcessor::init);
    }

    float value() const { return value_; }
    void setValue(float value) { value_ = value; }

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    float value_ = 0;
};
