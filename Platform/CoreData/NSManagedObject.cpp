#include "CoreData/NSManagedObject.h"

#include "CoreData/NSManagedObjectContext.h"
#include "Foundation/NSLog.h"

#include <algorithm>

void NSManagedObject::requireContextQueue(const char* what) const
{
    if (auto context = context_.lock()) context->assertOnQueue(what);
}

std::shared_ptr<NSManagedObjectID> NSManagedObject::referencedID(const Value& value)
{
    if (auto object = value.object<NSManagedObject>()) return object->objectID();
    return value.object<NSManagedObjectID>();
}

bool NSManagedObject::refersTo(const std::string& key, const NSManagedObject& other) const
{
    auto it = values_.find(key);
    auto id = it == values_.end() ? nullptr : referencedID(it->second);
    return id && other.objectID_ && id->isEqual(*other.objectID_);
}

Value NSManagedObject::valueForKey(const std::string& key)
{
    requireContextQueue("valueForKey");
    if (!entity_) return {};
    if (entity_->attributeNamed(key)) {
        auto it = values_.find(key);
        return it == values_.end() ? Value() : it->second;
    }
    auto relationship = entity_->relationshipNamed(key);
    auto context = context_.lock();
    if (!relationship) {
        NSLog("%s %@", "-[NSManagedObject valueForKey:]",
              NSStringWithFormat("the entity %@ has no property %@", entity_->name(), key));
        return {};
    }
    if (!context) return {};
    if (relationship->isToMany()) {
        Value::Array objects;
        for (const auto& o : context->relatedObjects(*this, *relationship)) objects.emplace_back(o);
        return Value(std::move(objects));
    }
    auto it = values_.find(key);
    auto id = it == values_.end() ? nullptr : referencedID(it->second);
    return id ? Value(context->objectWithID(id)) : Value();
}

Value NSManagedObject::valueForKeyPath(const std::string& keyPath)
{
    auto dot = keyPath.find('.');
    if (dot == std::string::npos) return valueForKey(keyPath);
    auto next = valueForKey(keyPath.substr(0, dot)).object<NSManagedObject>();
    return next ? next->valueForKeyPath(keyPath.substr(dot + 1)) : Value();
}

void NSManagedObject::setValueForKey(Value value, const std::string& key)
{
    requireContextQueue("setValueForKey");
    if (!entity_) return;
    if (entity_->attributeNamed(key)) {
        values_[key] = std::move(value);
        markChanged(key);
        return;
    }
    auto relationship = entity_->relationshipNamed(key);
    if (!relationship) {
        NSLog("%s %@", "-[NSManagedObject setValue:forKey:]",
              NSStringWithFormat("the entity %@ has no property %@", entity_->name(), key));
        return;
    }
    if (relationship->isToMany()) {
        std::vector<std::shared_ptr<NSManagedObject>> targets;
        if (const auto* array = value.asArray())
            for (const auto& v : *array)
                if (auto o = v.object<NSManagedObject>()) targets.push_back(o);
        if (!value.isNil() && !value.isArray())
            NSLog("%s %@", "-[NSManagedObject setValue:forKey:]",
                  NSStringWithFormat("%@ takes an array of objects", key));
        setToMany(*relationship, targets);
        return;
    }
    auto target = value.object<NSManagedObject>();
    if (!value.isNil() && !target) {
        NSLog("%s %@", "-[NSManagedObject setValue:forKey:]", NSStringWithFormat("%@ takes an object or nil", key));
        return;
    }
    setToOne(*relationship, target);
}

void NSManagedObject::setToOne(const NSRelationshipDescription& relationship,
                               const std::shared_ptr<NSManagedObject>& target)
{
    auto context = context_.lock();
    const std::string& key = relationship.name();
    auto it = values_.find(key);
    auto oldID = it == values_.end() ? nullptr : referencedID(it->second);
    if (target ? (oldID && target->objectID_->isEqual(*oldID)) : !oldID) return;
    values_[key] = target ? Value(target->objectID_) : Value();
    markChanged(key);

    auto inverse = relationship.inverseRelationship();
    if (!inverse || inverse->isToMany() || !context) return;  // a to-many inverse is read from this side
    const std::string& inverseKey = inverse->name();
    if (oldID) {
        auto old = context->objectWithID(oldID);
        if (old && old->refersTo(inverseKey, *this)) {
            old->values_[inverseKey] = Value();
            old->markChanged(inverseKey);
        }
    }
    if (target) {
        auto previous = target->values_.count(inverseKey) ? referencedID(target->values_[inverseKey]) : nullptr;
        if (previous && !previous->isEqual(*objectID_)) {
            auto other = context->objectWithID(previous);
            if (other && other->refersTo(key, *target)) {
                other->values_[key] = Value();
                other->markChanged(key);
            }
        }
        target->values_[inverseKey] = Value(objectID_);
        target->markChanged(inverseKey);
    }
}

void NSManagedObject::setToMany(const NSRelationshipDescription& relationship,
                                const std::vector<std::shared_ptr<NSManagedObject>>& targets)
{
    auto context = context_.lock();
    auto inverse = relationship.inverseRelationship();
    if (!context || !inverse) return;
    auto self = this->self<NSManagedObject>();
    for (const auto& current : context->relatedObjects(*this, relationship))
        if (std::find(targets.begin(), targets.end(), current) == targets.end()) current->setToOne(*inverse, nullptr);
    for (const auto& target : targets) target->setToOne(*inverse, self);
}

NSRelationshipMutableSet NSManagedObject::mutableSetValueForKey(const std::string& key)
{
    return NSRelationshipMutableSet(self<NSManagedObject>(), key);
}

void NSManagedObject::markChanged(const std::string& key)
{
    changedKeys_.insert(key);
    if (auto context = context_.lock()) context->noteChanged(*this);
}

Value NSManagedObject::changedValues()
{
    Value changed = Value::dictionary();
    for (const auto& key : changedKeys_) {
        Value value = valueForKey(key);
        changed.setObject(value.isNil() ? Value::null() : value, key);
    }
    return changed;
}

std::vector<std::shared_ptr<NSManagedObject>> NSRelationshipMutableSet::allObjects() const
{
    std::vector<std::shared_ptr<NSManagedObject>> objects;
    Value value = owner_->valueForKey(key_);
    if (const auto* array = value.asArray())
        for (const auto& v : *array) objects.push_back(v.object<NSManagedObject>());
    return objects;
}

bool NSRelationshipMutableSet::containsObject(const std::shared_ptr<NSManagedObject>& object) const
{
    auto all = allObjects();
    return std::find(all.begin(), all.end(), object) != all.end();
}

void NSRelationshipMutableSet::addObject(const std::shared_ptr<NSManagedObject>& object)
{
    auto relationship = owner_->entity()->relationshipNamed(key_);
    auto inverse = relationship ? relationship->inverseRelationship() : nullptr;
    if (object && inverse && relationship->isToMany()) object->setToOne(*inverse, owner_);
}

void NSRelationshipMutableSet::removeObject(const std::shared_ptr<NSManagedObject>& object)
{
    auto relationship = owner_->entity()->relationshipNamed(key_);
    auto inverse = relationship ? relationship->inverseRelationship() : nullptr;
    if (object && inverse && relationship->isToMany() && object->refersTo(inverse->name(), *owner_))
        object->setToOne(*inverse, nullptr);
}
