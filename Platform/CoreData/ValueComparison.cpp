#include "CoreData/ValueComparison.h"

#include "CoreData/NSManagedObject.h"
#include "CoreData/NSManagedObjectID.h"

namespace {

std::shared_ptr<NSManagedObjectID> idOf(const Value& v)
{
    if (auto object = v.object<NSManagedObject>()) return object->objectID();
    return v.object<NSManagedObjectID>();
}

template <class T>
int order(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

std::optional<int> storeValuesCompare(const Value& a, const Value& b)
{
    if (a.isNumber() && b.isNumber()) {
        if (!a.isReal() && !b.isReal()) return order(a.longLongValue(), b.longLongValue());
        double x = a.doubleValue(), y = b.doubleValue();
        if (x != x || y != y) return std::nullopt;
        return order(x, y);
    }
    if (a.isString() && b.isString()) {
        int c = a.asString()->compare(*b.asString());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    if (a.isDate() && b.isDate()) return order(a.asDate()->timeIntervalSince1970, b.asDate()->timeIntervalSince1970);
    return std::nullopt;
}

bool storeValuesEqual(const Value& a, const Value& b)
{
    if (a.isNil() || b.isNil()) return a.isNil() && b.isNil();
    if (auto c = storeValuesCompare(a, b)) return *c == 0;
    if (a.isObject() && b.isObject()) {
        auto x = idOf(a), y = idOf(b);
        if (x && y) return x->isEqual(*y);
        return a.object()->isEqual(*b.object());
    }
    return a == b;
}
