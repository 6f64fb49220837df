#include "CoreData/NSPredicate.h"

#include "CoreData/NSManagedObject.h"
#include "CoreData/ValueComparison.h"

#include <set>

namespace {

class ComparisonPredicate : public NSPredicate {
public:
    using NSPredicate::NSPredicate;
    std::string keyPath;
    NSPredicateOperatorType op = NSPredicateOperatorType::Equal;
    Value value;

    bool evaluateWithObject(NSManagedObject& object) const override
    {
        Value left = object.valueForKeyPath(keyPath);
        switch (op) {
        case NSPredicateOperatorType::Equal: return storeValuesEqual(left, value);
        case NSPredicateOperatorType::NotEqual: return !storeValuesEqual(left, value);
        default: break;
        }
        auto order = storeValuesCompare(left, value);
        if (!order) return false;
        switch (op) {
        case NSPredicateOperatorType::LessThan: return *order < 0;
        case NSPredicateOperatorType::LessThanOrEqual: return *order <= 0;
        case NSPredicateOperatorType::GreaterThan: return *order > 0;
        case NSPredicateOperatorType::GreaterThanOrEqual: return *order >= 0;
        default: return false;
        }
    }

    bool isEqualityOnKey(std::string* key, Value* compared) const override
    {
        if (op != NSPredicateOperatorType::Equal || keyPath.find('.') != std::string::npos) return false;
        *key = keyPath;
        *compared = value;
        return true;
    }
};

class CompoundPredicate : public NSPredicate {
public:
    using NSPredicate::NSPredicate;
    enum class Kind { And, Or, Not } kind = Kind::And;
    std::vector<std::shared_ptr<NSPredicate>> parts;

    bool evaluateWithObject(NSManagedObject& object) const override
    {
        switch (kind) {
        case Kind::And:
            for (const auto& p : parts)
                if (!p->evaluateWithObject(object)) return false;
            return true;
        case Kind::Or:
            for (const auto& p : parts)
                if (p->evaluateWithObject(object)) return true;
            return false;
        case Kind::Not: return !parts.front()->evaluateWithObject(object);
        }
        return false;
    }
};

class SelfInPredicate : public NSPredicate {
public:
    using NSPredicate::NSPredicate;
    std::set<std::string> keys;
    std::vector<std::shared_ptr<NSManagedObjectID>> objectIDs;

    bool evaluateWithObject(NSManagedObject& object) const override
    {
        auto id = object.objectID();
        return id && keys.count(id->key());
    }
    const std::vector<std::shared_ptr<NSManagedObjectID>>* selfInObjectIDs() const override { return &objectIDs; }
};

std::shared_ptr<NSPredicate> compound(CompoundPredicate::Kind kind, std::vector<std::shared_ptr<NSPredicate>> parts)
{
    return NSObject::create<CompoundPredicate>([&](CompoundPredicate& p) {
        p.kind = kind;
        p.parts = std::move(parts);
    });
}

}  // namespace

std::shared_ptr<NSPredicate> NSPredicate::compare(std::string keyPath, NSPredicateOperatorType op, Value value)
{
    return NSObject::create<ComparisonPredicate>([&](ComparisonPredicate& p) {
        p.keyPath = std::move(keyPath);
        p.op = op;
        p.value = std::move(value);
    });
}

std::shared_ptr<NSPredicate> NSPredicate::andPredicate(std::vector<std::shared_ptr<NSPredicate>> predicates)
{
    return compound(CompoundPredicate::Kind::And, std::move(predicates));
}

std::shared_ptr<NSPredicate> NSPredicate::orPredicate(std::vector<std::shared_ptr<NSPredicate>> predicates)
{
    return compound(CompoundPredicate::Kind::Or, std::move(predicates));
}

std::shared_ptr<NSPredicate> NSPredicate::notPredicate(std::shared_ptr<NSPredicate> predicate)
{
    return compound(CompoundPredicate::Kind::Not, {std::move(predicate)});
}

std::shared_ptr<NSPredicate> NSPredicate::selfIn(std::vector<std::shared_ptr<NSManagedObjectID>> objectIDs)
{
    return NSObject::create<SelfInPredicate>([&](SelfInPredicate& p) {
        for (const auto& id : objectIDs)
            if (id && p.keys.insert(id->key()).second) p.objectIDs.push_back(id);
    });
}

bool NSPredicate::isEqualityOnKey(std::string*, Value*) const
{
    return false;
}
