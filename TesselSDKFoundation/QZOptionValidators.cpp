#include "TesselSDKFoundation/QZOptionValidators.h"

#include <cmath>

#include "CoreGraphics/CGColor.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIDevice.h"

namespace {

// Every entry of a non-empty (unless allowed) array passes; the walk stops at the first refusal.
bool everyEntry(const Value& value, bool emptyAllowed, const std::function<bool(const Value&)>& entryOK)
{
    const Value::Array* array = value.asArray();
    if (!array || (array->empty() && !emptyAllowed)) return false;
    for (const Value& entry : *array)
        if (!entryOK(entry)) return false;
    return true;
}

bool numberInRange(const Value& value, float low, float high)
{
    return value.isNumber() && value.floatValue() >= low && value.floatValue() <= high;
}

}  // namespace

validatorBlock stringValueValidator(const Value& allowedValues)
{
    return [allowedValues](const Value& value) {
        const std::string* candidate = value.asString();
        if (!candidate) return false;
        if (const Value::Array* allowed = allowedValues.asArray())
            for (const Value& entry : *allowed)
                if (const std::string* s = entry.asString(); s && *s == *candidate) return true;
        return false;
    };
}

validatorBlock rgbColorValidator()
{
    return [](const Value& value) {
        std::shared_ptr<UIColor> color = value.object<UIColor>();
        return color && CGColorGetPattern(color->CGColor()) == nullptr;
    };
}

validatorBlock supportedOrientationsValidator()
{
    return [](const Value& value) {
        std::shared_ptr<UIDevice> device = UIDevice::currentDevice();
        if (!device->respondsToSelector("userInterfaceIdiom") || device->userInterfaceIdiom() == UIUserInterfaceIdiomPhone)
            return false;
        const Value::Array* array = value.asArray();
        if (!array || array->empty() || array->size() > 4) return false;
        for (const Value& entry : *array)
            if (!entry.isNumber() || entry.integerValue() < 1 || entry.integerValue() > 4) return false;
        return true;
    };
}

validatorBlock toolOrderValidator(const Value& toolKeys)
{
    return [toolKeys](const Value& value) {
        return everyEntry(value, false, [&toolKeys](const Value& entry) { return stringValueValidator(toolKeys)(entry); });
    };
}

validatorBlock singleCropPresetValidator()
{
    return [](const Value& value) {
        if (!value.isDictionary()) return false;
        for (const char* key : {kQZCropPresetWidth, kQZCropPresetHeight}) {
            Value dimension = value.objectForKey(key);
            if (!dimension.isNumber() || dimension.integerValue() < 0) return false;
        }
        Value name = value.objectForKey(kQZCropPresetName);
        return name.isNil() || name.isString();
    };
}

validatorBlock cropPresetsValidator()
{
    return [](const Value& value) { return everyEntry(value, true, singleCropPresetValidator()); };
}

validatorBlock cellWidthValidator()
{
    return [](const Value& value) { return numberInRange(value, 20, 120); };
}

validatorBlock colorChoiceValidator()
{
    return [](const Value& value) { return everyEntry(value, false, rgbColorValidator()); };
}

validatorBlock textColorValidator()
{
    return [](const Value& value) {
        if (!value.isDictionary()) return false;
        Value fill = value.objectForKey(kQZTextFillColors), border = value.objectForKey(kQZTextBorderColors);
        validatorBlock choice = colorChoiceValidator();
        return choice(fill) && choice(border) && fill.count() == border.count();
    };
}

validatorBlock brushSizeValidator()
{
    return [](const Value& value) {
        return everyEntry(value, false, [](const Value& entry) { return numberInRange(entry, 5, 80); });
    };
}

validatorBlock positiveIndexValidator()
{
    return [](const Value& value) {
        if (!value.isNumber() || value.integerValue() < 0) return false;
        float f = value.floatValue();
        return !(f > std::floor(f));
    };
}
