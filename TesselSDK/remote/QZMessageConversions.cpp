#include "TesselSDK/remote/QZMessageConversions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "UIKit/UIColor.h"

Value QZDateFromNumber(const Value& number)
{
    return Value::date(static_cast<double>(number.longLongValue()));
}

std::shared_ptr<UIColor> QZColorFromDictionary(const Value& dictionary)
{
    if (!dictionary.isDictionary()) return nullptr;
    return UIColor::colorWithRed(dictionary["r"].floatValue(), dictionary["g"].floatValue(),
                                 dictionary["b"].floatValue(), dictionary["a"].floatValue());
}

std::optional<CGSize> QZSizeFromDictionary(const Value& dictionary)
{
    if (!dictionary.isDictionary()) return std::nullopt;
    return CGSizeMake(dictionary["width"].floatValue(), dictionary["height"].floatValue());
}

std::optional<double> QZSecondsFromNumberOrString(const Value& value)
{
    if (value.isInteger()) return static_cast<double>(value.longLongValue());
    if (value.isReal()) return std::isfinite(value.doubleValue()) ? std::optional(value.doubleValue()) : std::nullopt;
    const std::string* text = value.asString();
    if (!text || text->empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double seconds = std::strtod(text->c_str(), &end);
    if (errno != 0 || end != text->c_str() + text->size() || !std::isfinite(seconds)) return std::nullopt;
    return seconds;
}
