#pragma once
// Histogram equalisation: the automatic correction of its mode, under the name older screens use.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "QopLite/QopEnhance.h"

class QZHistogramEqualizationProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZHistogramEqualizationProcessor> make()
    {
        return NSObject::create<QZHistogramEqualizationProcessor>(&QZHistogramEqualizationProcessor::init);
    }

    QopAutoEnhanceMode mode() const { return mode_; }
    void setMode(QopAutoEnhanceMode mode) { mode_ = mode; }

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    QopAutoEnhanceMode mode_ = QopAutoEnhanceModeClarity;
};
