#pragma once
// Array mapping for untyped arrays.

#include "Foundation/Value.h"

#include <functional>

// nil for a nil array (or any value that is not an array); otherwise an array of the same
// length holding the function's result for each element in order, with null (NSNull) in place
// of a nil result.
Value QZNSArrayMappedByFunction(const Value& array, const std::function<Value(const Value&)>& function);
