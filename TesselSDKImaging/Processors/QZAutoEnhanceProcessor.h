#pragma once
// The one-tap automatic corrections (auto, night, backlight, clarity), by mode.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "QopLite/QopEnhance.h"

class QZAutoEnhanceProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZAutoEnhanceProcessor> make()
    {
        return NSObject::create<QZAutoEnhanceProcessor>(&QZAutoEnhanceProcessor::init);
    }

    QopAutoEnhanceMode mode() const { return mode_; }
    void setMode(QopAutoEnhanceMode mode) { mode_ = mode; }

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    QopAutoEnhanceMode mode_ = QopAutoEnhanceModeClarity;
};
