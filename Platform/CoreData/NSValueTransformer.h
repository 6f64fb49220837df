#pragma once
// Turns an attribute's value into bytes for the store and back: transformable attributes keep
// their values (colours, for example) through one. Either direction answers nil when the value
// cannot be turned.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

class NSValueTransformer : public NSObject {
public:
    using NSObject::NSObject;
    // Value -> data.
    virtual Value transformedValue(const Value& value) const = 0;
    // Data -> value.
    virtual Value reverseTransformedValue(const Value& data) const = 0;
};
