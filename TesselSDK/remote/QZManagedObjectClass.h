#pragma once
// The class side of a record class: its hooks (entity name, unique key, the record class of a
// relationship's destination) and the operations that fetch, find and create its records in a
// context. Each record class has one class object, registered with the record class under the
// class's name in the class registry, so a class found by name answers its own overrides. Every
// operation runs on the queue of the context it is given; nothing here saves.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CoreData/NSEntityDescription.h"
#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSPredicate.h"
#include "Foundation/NSClass.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

class QZManagedObject;

// The class method by which a registered record class answers its class object.
inline constexpr const char* kQZRecordClassSelector = "recordClass";

class QZManagedObjectClass : public NSObject {
public:
    using NSObject::NSObject;
    using Records = std::vector<std::shared_ptr<QZManagedObject>>;

    // Registers the record class T under `name` with its class object (made as ClassObject and
    // named `name`, stored as `entityName`, by default the class name); answers the class object.
    template <class T, class ClassObject = QZManagedObjectClass>
    static std::shared_ptr<ClassObject> registerRecordClass(const std::string& name,
                                                            const std::string& entityName = {});
    // The class object of a registered record class; null for classes that are none.
    static std::shared_ptr<const QZManagedObjectClass> classObjectOf(const NSClass& recordClass);
    static std::shared_ptr<const QZManagedObjectClass> classNamed(std::string_view name);

    const std::string& name() const { return name_; }
    // The registered record class, as the registry knows it.
    std::shared_ptr<const NSClass> recordClass() const { return NSClassFromString(name_); }

    // Hooks.
    virtual std::string entityName() const { return entityName_.empty() ? name_ : entityName_; }
    // nil: records of the class are always created, never matched.
    virtual std::optional<std::string> uniqueKeyAttribute() const { return std::string("identifier"); }
    // The registered class named by the destination entity's class name; null when none.
    virtual std::shared_ptr<const NSClass>
    targetClassForRelationship(const NSRelationshipDescription& relationship) const;

    // Operations.
    std::shared_ptr<NSEntityDescription> entityInManagedObjectContext(NSManagedObjectContext& context) const;
    // nullopt on a fetch error (logged).
    std::optional<Records> fetchAllMatching(const std::shared_ptr<NSPredicate>& predicate,
                                            NSManagedObjectContext& context) const;
    std::optional<Records> fetchAllInManagedObjectContext(NSManagedObjectContext& context) const;
    std::shared_ptr<QZManagedObject> findObjectWithValue(const Value& value, const std::string& attributeName,
                                                         NSManagedObjectContext& context) const;
    std::shared_ptr<QZManagedObject> findObjectWithIdentifier(const Value& value,
                                                              NSManagedObjectContext& context) const;
    std::shared_ptr<QZManagedObject> createInManagedObjectContext(NSManagedObjectContext& context) const;
    // The record matching the dictionary's unique key updated from it, else a new record filled
    // from it.
    virtual std::shared_ptr<QZManagedObject> updateOrCreateWithDictionary(const Value& dictionary,
                                                                          NSManagedObjectContext& context) const;

protected:
    // The base behaviour of updateOrCreateWithDictionary, for overrides that fall back to it.
    std::shared_ptr<QZManagedObject> findOrCreateWithDictionary(const Value& dictionary,
                                                                NSManagedObjectContext& context) const;

private:
    std::string name_;
    std::string entityName_;
};

template <class T, class ClassObject>
std::shared_ptr<ClassObject> QZManagedObjectClass::registerRecordClass(const std::string& name,
                                                                       const std::string& entityName)
{
    auto classObject = NSObject::create<ClassObject>();
    static_cast<QZManagedObjectClass&>(*classObject).name_ = name;
    static_cast<QZManagedObjectClass&>(*classObject).entityName_ = entityName;
    NSClass::registerClass<T>(name, nullptr, {{kQZRecordClassSelector, [classObject] { return Value(classObject); }}});
    return classObject;
}
