#include "TesselSDK/tools/QZCropPreset.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

#include <algorithm>

bool QZCropPreset::initWithDictionary(const Value& dictionary, bool isLandscape, bool isStrict)
{
    const CGFloat w = dictionary[kQZCropPresetWidth].floatValue();
    const CGFloat h = dictionary[kQZCropPresetHeight].floatValue();
    if (isStrict) {
        width_ = w;
        height_ = h;
    } else if ((isLandscape && h >= 0) || (!isLandscape && h < 0)) {
        width_ = std::max(w, h);
        height_ = std::min(w, h);
    } else {
        width_ = std::min(w, h);
        height_ = std::max(w, h);
    }
    strict_ = isStrict;
    const Value name = dictionary[kQZCropPresetName];
    if (name.isString())
        name_ = QZLocalizedString(name.stringValue());
    else
        name_.reset();
    return true;
}
