#include "TesselSDK/remote/QZManagedObject.h"

#include <unordered_map>
#include <vector>

#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"

namespace {

constexpr const char* kUpdateRelationship = "-[QZManagedObject updateRelationship:withValue:]";

void logMapping(const std::string& message)
{
    NSLog("%s %@", kUpdateRelationship, message);
}

}  // namespace

std::shared_ptr<const QZManagedObjectClass> QZManagedObject::classObject() const
{
    if (auto own = QZManagedObjectClass::classNamed(className())) return own;
    return QZManagedObjectClass::classNamed("QZManagedObject");
}

void QZManagedObject::updateWithDictionary(const Value& dictionary)
{
    const Value::Dictionary* entries = dictionary.asDictionary();
    if (!entries || !entity()) return;
    for (const auto& [key, value] : *entries) {
        if (auto attribute = entity()->attributeNamed(key))
            updateAttribute(*attribute, value);
        else if (auto relationship = entity()->relationshipNamed(key))
            updateRelationship(*relationship, value);
    }
}

void QZManagedObject::updateAttribute(const NSAttributeDescription& attribute, const Value& value)
{
    setValueForKey(value, attribute.name());
}

void QZManagedObject::updateRelationship(const NSRelationshipDescription& relationship, const Value& value)
{
    std::shared_ptr<const QZManagedObjectClass> own = classObject();
    std::shared_ptr<const NSClass> targetClass = own ? own->targetClassForRelationship(relationship) : nullptr;
    if (!targetClass) {
        logMapping(NSStringWithFormat("Nil target class for relationship: %@", relationship.name()));
        return;
    }
    std::shared_ptr<const QZManagedObjectClass> target = QZManagedObjectClass::classObjectOf(*targetClass);
    if (!target) {
        // A class with no record operations: sending it any would fail, so nothing changes.
        logMapping("Expected subclass of QZManagedObject");
        return;
    }
    std::shared_ptr<NSManagedObjectContext> context = managedObjectContext();
    if (!context) return;

    if (const Value::Array* elements = value.asArray()) {
        if (!relationship.isToMany()) {
            logMapping("Expected to-many relationship.");
            return;
        }
        mergeToMany(relationship, *target, *elements);
        return;
    }
    if (relationship.isToMany()) {
        logMapping("Expected to-one relationship.");
        return;
    }
    if (!value.isDictionary()) {
        logMapping("Expected dictionary.");
        return;
    }
    std::shared_ptr<QZManagedObject> related = target->updateOrCreateWithDictionary(value, *context);
    if (related) setValueForKey(Value(related), relationship.name());
}

void QZManagedObject::mergeToMany(const NSRelationshipDescription& relationship, const QZManagedObjectClass& target,
                                  const Value::Array& elements)
{
    std::shared_ptr<NSManagedObjectContext> context = managedObjectContext();
    const std::optional<std::string> key = target.uniqueKeyAttribute();

    // The elements by key, a later one replacing an earlier; keys in the order first met.
    std::unordered_map<Value, Value> byKey;
    std::vector<Value> keyOrder;
    std::vector<Value> unkeyed;
    for (const Value& element : elements) {
        if (!element.isDictionary()) {
            logMapping("Expected dictionary.");
            continue;
        }
        if (!key) {
            unkeyed.push_back(element);
            continue;
        }
        Value keyValue = element[*key];
        if (keyValue.isNil() || keyValue.isNull()) {
            logMapping(NSStringWithFormat("Expected a value for the unique key %@.", *key));
            continue;
        }
        if (byKey.find(keyValue) == byKey.end()) keyOrder.push_back(keyValue);
        byKey[keyValue] = element;
    }

    Value::Array kept;
    if (key) {
        Value current = valueForKey(relationship.name());
        if (const Value::Array* members = current.asArray())
            for (const Value& member : *members) {
                auto record = member.object<QZManagedObject>();
                if (!record) continue;
                auto match = byKey.find(record->valueForKey(*key));
                if (match == byKey.end()) continue;  // leaves the relationship; the row stays
                record->updateWithDictionary(match->second);
                kept.emplace_back(record);
                byKey.erase(match);
            }
        for (const Value& keyValue : keyOrder)
            if (auto remaining = byKey.find(keyValue); remaining != byKey.end()) unkeyed.push_back(remaining->second);
    }
    for (const Value& element : unkeyed)
        if (std::shared_ptr<QZManagedObject> created = target.createInManagedObjectContext(*context)) {
            created->updateWithDictionary(element);
            kept.emplace_back(created);
        }
    setValueForKey(Value(std::move(kept)), relationship.name());
}

void QZManagedObjectRegisterClass()
{
    QZManagedObjectClass::registerRecordClass<QZManagedObject>("QZManagedObject");
}
