#pragma once
// Conditions on stored objects, built by functions (there is no format parser): a key path
// (through to-one relationships: "pack.identifier") compared with a value, AND, OR, NOT, and
// SELF IN a list of object IDs. Comparisons follow ValueComparison.h: nil equals only nil and
// fails every ordering, so "endDate == nil OR endDate > now" reads as the platform's does.

#include "CoreData/NSManagedObjectID.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <memory>
#include <string>
#include <vector>

class NSManagedObject;

enum class NSPredicateOperatorType { Equal, NotEqual, LessThan, LessThanOrEqual, GreaterThan, GreaterThanOrEqual };

class NSPredicate : public NSObject {
public:
    using NSObject::NSObject;
    virtual bool evaluateWithObject(NSManagedObject& object) const = 0;

    static std::shared_ptr<NSPredicate> compare(std::string keyPath, NSPredicateOperatorType op, Value value);
    static std::shared_ptr<NSPredicate> equal(std::string keyPath, Value value)
    {
        return compare(std::move(keyPath), NSPredicateOperatorType::Equal, std::move(value));
    }
    static std::shared_ptr<NSPredicate> isNil(std::string keyPath) { return equal(std::move(keyPath), Value()); }
    static std::shared_ptr<NSPredicate> andPredicate(std::vector<std::shared_ptr<NSPredicate>> predicates);
    static std::shared_ptr<NSPredicate> orPredicate(std::vector<std::shared_ptr<NSPredicate>> predicates);
    static std::shared_ptr<NSPredicate> notPredicate(std::shared_ptr<NSPredicate> predicate);
    static std::shared_ptr<NSPredicate> selfIn(std::vector<std::shared_ptr<NSManagedObjectID>> objectIDs);

    // What a store may narrow its rows by before the predicate is evaluated on them: the key and
    // value of a plain `key == value` comparison, and the IDs of SELF IN. False or null otherwise.
    virtual bool isEqualityOnKey(std::string* key, Value* value) const;
    virtual const std::vector<std::shared_ptr<NSManagedObjectID>>* selfInObjectIDs() const { return nullptr; }
};
