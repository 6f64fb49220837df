#pragma once
// One stored object, living in one context and used only on that context's queue. Values are
// read and written by key: an attribute answers the Value stored (any Value may be set; the save
// checks types), a to-one relationship the related object, a to-many one an array of the related
// objects in no particular order. Relationship changes update the inverse at once.
//
// Subclasses (found through the entity's class name in the class registry) may override the
// hooks: awakeFromInsert runs once when the object is inserted; willTurnIntoFault runs before a
// refresh or merge replaces its values, on reset, and when the context lets a deleted object go.

#include "CoreData/NSEntityDescription.h"
#include "CoreData/NSManagedObjectID.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class NSManagedObjectContext;
class NSManagedObject;

// The objects of a to-many relationship, changed in place (mutableSetValueForKey).
class NSRelationshipMutableSet {
public:
    NSRelationshipMutableSet(std::shared_ptr<NSManagedObject> owner, std::string key)
        : owner_(std::move(owner)), key_(std::move(key))
    {
    }
    std::vector<std::shared_ptr<NSManagedObject>> allObjects() const;
    std::size_t count() const { return allObjects().size(); }
    bool containsObject(const std::shared_ptr<NSManagedObject>& object) const;
    void addObject(const std::shared_ptr<NSManagedObject>& object);
    void removeObject(const std::shared_ptr<NSManagedObject>& object);

private:
    std::shared_ptr<NSManagedObject> owner_;
    std::string key_;
};

class NSManagedObject : public NSObject {
public:
    using NSObject::NSObject;

    const std::shared_ptr<NSEntityDescription>& entity() const { return entity_; }
    std::shared_ptr<NSManagedObjectContext> managedObjectContext() const { return context_.lock(); }
    const std::shared_ptr<NSManagedObjectID>& objectID() const { return objectID_; }

    Value valueForKey(const std::string& key);
    // Keys joined by dots, through to-one relationships.
    Value valueForKeyPath(const std::string& keyPath);
    void setValueForKey(Value value, const std::string& key);
    NSRelationshipMutableSet mutableSetValueForKey(const std::string& key);

    bool isInserted() const { return inserted_; }
    bool isUpdated() const { return !inserted_ && !deleted_ && !changedKeys_.empty(); }
    bool isDeleted() const { return deleted_; }
    bool hasChanges() const { return inserted_ || deleted_ || !changedKeys_.empty(); }
    // The changed properties and their new values (to-one relationships as objects).
    Value changedValues();

    virtual void awakeFromInsert() {}
    virtual void willTurnIntoFault() {}

private:
    friend class NSManagedObjectContext;
    friend class NSRelationshipMutableSet;

    void requireContextQueue(const char* what) const;
    // A to-one change, keeping a to-one inverse in step.
    void setToOne(const NSRelationshipDescription& relationship, const std::shared_ptr<NSManagedObject>& target);
    void setToMany(const NSRelationshipDescription& relationship,
                   const std::vector<std::shared_ptr<NSManagedObject>>& targets);
    // The value's object ID, for to-one values (an object or an ID), or null.
    static std::shared_ptr<NSManagedObjectID> referencedID(const Value& value);
    bool refersTo(const std::string& key, const NSManagedObject& other) const;
    // Records a changed property, and tells the context this object has changes.
    void markChanged(const std::string& key);

    std::weak_ptr<NSManagedObjectContext> context_;
    std::shared_ptr<NSEntityDescription> entity_;
    std::shared_ptr<NSManagedObjectID> objectID_;
    // Attributes as set; to-one relationships as object IDs.
    std::map<std::string, Value> values_;
    // The values last read from or written to the store, to find what another save changed.
    std::map<std::string, Value> snapshot_;
    std::set<std::string> changedKeys_;
    bool inserted_ = false;
    bool deleted_ = false;
};
