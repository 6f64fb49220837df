#pragma once
// The platform's numeric string comparison (compare:options:NSNumericSearch): runs of decimal
// digits compare by their value, everything else character by character. Version strings compare
// as people read them: "10.0" is after "5.0", "6.1" after "6.0.2".

#include "Foundation/NSObjCRuntime.h"

#include <string_view>

NSComparisonResult NSStringCompareNumeric(std::string_view a, std::string_view b);
