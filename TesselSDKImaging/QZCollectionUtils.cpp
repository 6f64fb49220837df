#include "TesselSDKImaging/QZCollectionUtils.h"

Value QZNSArrayMappedByFunction(const Value& array, const std::function<Value(const Value&)>& function) {
  const Value::Array* items = array.asArray();
  if (!items || !function) return {};
  Value::Array mapped;
  mapped.reserve(items->size());
  for (const Value& item : *items) {
    Value result = function(item);
    mapped.push_back(result.isNil() ? Value::null() : std::move(result));
  }
  return Value(std::move(mapped));
}
