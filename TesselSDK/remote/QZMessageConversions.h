#pragma once
// The conversions of the message documents' JSON values into what the message records keep.

#include <memory>
#include <optional>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/Value.h"

class UIColor;

// A number of whole seconds since 1970-01-01 UTC (the integer part of a fractional one).
Value QZDateFromNumber(const Value& number);
// {"r", "g", "b", "a"} of numbers from 0 to 1; null for a value that is no dictionary.
std::shared_ptr<UIColor> QZColorFromDictionary(const Value& dictionary);
// {"width", "height"}; nullopt for a value that is no dictionary.
std::optional<CGSize> QZSizeFromDictionary(const Value& dictionary);
// A number or a numeric string as seconds since 1970-01-01 UTC, kept to the second; nullopt for
// anything else.
std::optional<double> QZSecondsFromNumberOrString(const Value& value);
