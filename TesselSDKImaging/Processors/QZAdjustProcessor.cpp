#include "TesselSDKImaging/Processors/QZAdjustProcessor.h"

#include "TesselSDKImaging/Processors/QZQopCallBlock.h"

#include "Foundation/NSLog.h"
#include "QopLite/QopTools.h"

void QZAdjustProcessor::setValue(const Value& value, const std::string& key)
{
    CGFloat QZAdjustProcessor::*const field = key == "brightnessValue"   ? &QZAdjustProcessor::brightnessValue_
                                              : key == "contrastValue"   ? &QZAdjustProcessor::contrastValue_
                                              : key == "warmthValue"     ? &QZAdjustProcessor::warmthValue_
                                              : key == "saturationValue" ? &QZAdjustProcessor::saturationValue_
                                                                         : nullptr;
    if (!field) {
        NSLog("%s %@", "-[QZAdjustProcessor setValue:forKey:]", "Unknown key: " + key);
        return;
    }
    if (!value.isNumber()) {
        NSLog("%s %@", "-[QZAdjustProcessor setValue:forKey:]", "Expected a number for " + key);
        return;
    }
    this->*field = value.floatValue();
}

QZQopBitmapBlock QZAdjustProcessor::qopBitmapBlock() const
{
    return QZQopCallBlock([brightness = brightnessValue_, contrast = contrastValue_, warmth = warmthValue_,
                           saturation = saturationValue_](QopBitmap_t* bitmap) {
        QopToolAdjustBrightnessContrastWarmthSaturation(bitmap, double(brightness), double(contrast), double(warmth),
                                                        double(saturation));
    });
}
