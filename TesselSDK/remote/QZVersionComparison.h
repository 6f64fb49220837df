#pragma once
// Order of version strings (packs, manifests, messages): runs of digits compare by value (leading
// zeros ignored, any length), ASCII letters without regard to case, other characters by code. The
// first difference decides; when one string is a prefix of the other, the shorter is lower, so
// "1.0" < "1.0.0", while "1.10" > "1.9" and "1.0a" == "1.0A".

#include <string_view>

// Negative, zero or positive as `a` is lower than, equal to or higher than `b`.
int QZCompareVersions(std::string_view a, std::string_view b);
