#pragma once
// One stored value of an entity. Values are stored as they come (setValueForKey takes any
// Value); a save checks them against the type (see NSManagedObjectContext::save).

#include "CoreData/NSPropertyDescription.h"
#include "CoreData/NSValueTransformer.h"
#include "Foundation/Value.h"

#include <memory>
#include <string>

enum class NSAttributeType {
    String,
    Integer64,
    Double,
    Boolean,
    Date,
    BinaryData,
    Transformable,
};

class NSAttributeDescription : public NSPropertyDescription {
public:
    using NSPropertyDescription::NSPropertyDescription;
    static std::shared_ptr<NSAttributeDescription> attribute(std::string name, NSAttributeType type);
    // A transformable attribute whose values are objects of `valueClassName`, stored through the
    // transformer.
    static std::shared_ptr<NSAttributeDescription>
    transformable(std::string name, std::shared_ptr<NSValueTransformer> transformer, std::string valueClassName);

    NSAttributeType attributeType() const { return type_; }
    // "NSString", "NSNumber", "NSDate", "NSData", or a transformable's value class.
    std::string attributeValueClassName() const;
    const std::shared_ptr<NSValueTransformer>& valueTransformer() const { return transformer_; }
    // The value a new object starts with (nil unless set).
    const Value& defaultValue() const { return defaultValue_; }
    void setDefaultValue(Value value) { defaultValue_ = std::move(value); }
    // An indexed attribute has an index in the store, so that fetching by its value (a
    // `key == value` predicate) reads the matching rows only.
    bool isIndexed() const { return indexed_; }
    void setIndexed(bool indexed) { indexed_ = indexed; }

private:
    NSAttributeType type_ = NSAttributeType::String;
    std::shared_ptr<NSValueTransformer> transformer_;
    std::string valueClassName_;
    Value defaultValue_;
    bool indexed_ = false;
};
