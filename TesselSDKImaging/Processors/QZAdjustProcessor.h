#pragma once
// The adjust screen's four sliders in one processor: brightness, contrast and warmth composed into
// one table, then saturation, as the library's combined function does.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "Foundation/Value.h"

#include <string>

class QZAdjustProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZAdjustProcessor> make()
    {
        return NSObject::create<QZAdjustProcessor>(&QZAdjustProcessor::init);
    }

    CGFloat contrastValue() const { return contrastValue_; }
    void setContrastValue(CGFloat value) { contrastValue_ = value; }
    CGFloat warmthValue() const { return warmthValue_; }
    void setWarmthValue(CGFloat value) { warmthValue_ = value; }
    CGFloat saturationValue() const { return saturationValue_; }
    void setSaturationValue(CGFloat value) { saturationValue_ = value; }
    CGFloat brightnessValue() const { return brightnessValue_; }
    void setBrightnessValue(CGFloat value) { brightnessValue_ = value; }

    // setValue:forKey: as the adjust screen sets its sliders: "brightnessValue", "contrastValue",
    // "warmthValue" or "saturationValue", each a number. Any other key, or a value that is no
    // number, is logged and changes nothing.
    void setValue(const Value& value, const std::string& key);

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    CGFloat contrastValue_ = 0;
    CGFloat warmthValue_ = 0;
    CGFloat saturationValue_ = 0;
    CGFloat brightnessValue_ = 0;
};
