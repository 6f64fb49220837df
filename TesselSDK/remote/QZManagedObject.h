#pragma once
// The base of every record the editor keeps in its object stores. A record is filled from a JSON
// dictionary by its entity's own property names: attributes take values as they come,
// relationships are filled recursively (to-many ones merged by the target's unique key). The
// class side (entity, unique key, find and create) is the record's class object
// (QZManagedObjectClass). Records are used on their context's queue only.

#include <memory>

#include "CoreData/NSManagedObject.h"
#include "Foundation/Value.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"

class QZManagedObject : public NSManagedObject {
public:
    using NSManagedObject::NSManagedObject;

    // The class object of this record's class (the base class object when the class is not
    // registered).
    std::shared_ptr<const QZManagedObjectClass> classObject() const;

    // Applies every key of the dictionary that names a property of the entity; other keys are
    // ignored and properties the dictionary does not name keep their values.
    virtual void updateWithDictionary(const Value& dictionary);
    // Stores the value under the attribute's name, unchanged.
    virtual void updateAttribute(const NSAttributeDescription& attribute, const Value& value);
    // Fills the relationship from JSON: an array for a to-many relationship, a dictionary for a
    // to-one. A value of the wrong shape, or a target that is no record class, is logged and
    // leaves the relationship unchanged.
    virtual void updateRelationship(const NSRelationshipDescription& relationship, const Value& value);

private:
    void mergeToMany(const NSRelationshipDescription& relationship, const QZManagedObjectClass& target,
                     const Value::Array& elements);
};

// Registers the base record class; the libraries register their own record classes beside it.
void QZManagedObjectRegisterClass();
