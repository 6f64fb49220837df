#pragma once
// Private to the object store: how predicates and sort descriptors compare values. nil equals
// only nil and has no order; numbers compare by value (YES == 1); strings by UTF-8 bytes; dates
// by time; managed objects and their IDs by identity of the stored object.

#include "Foundation/Value.h"

#include <optional>

bool storeValuesEqual(const Value& a, const Value& b);
// Negative, zero or positive; nullopt when the two have no order (nil, or unlike kinds).
std::optional<int> storeValuesCompare(const Value& a, const Value& b);
