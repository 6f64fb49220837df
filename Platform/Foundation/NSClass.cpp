#include "Foundation/NSClass.h"

#include <mutex>

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<const NSClass>, std::less<>> classes;
};

Registry& registry()
{
    static Registry r;
    return r;
}

}  // namespace

NSClass::NSClass(std::string name, Factory factory, ClassMethods classMethods)
    : name_(std::move(name)), factory_(std::move(factory)), classMethods_(std::move(classMethods))
{
}

Value NSClass::performSelector(std::string_view selector) const
{
    auto it = classMethods_.find(selector);
    return it == classMethods_.end() ? Value() : it->second();
}

bool NSClass::respondsToSelector(std::string_view selector) const
{
    return classMethods_.find(selector) != classMethods_.end();
}

bool NSClass::isSubclassOfClass(const NSClass& base) const
{
    return throwNull_ && base.catchesAsThis_ && base.catchesAsThis_(throwNull_);
}

void NSClass::registerClass(std::shared_ptr<const NSClass> cls)
{
    if (!cls) return;
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.classes.insert_or_assign(cls->name(), std::move(cls));
}

void NSClass::unregisterClass(std::string_view name)
{
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (auto it = r.classes.find(name); it != r.classes.end()) r.classes.erase(it);
}

std::shared_ptr<const NSClass> NSClassFromString(std::string_view name)
{
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.classes.find(name);
    return it == r.classes.end() ? nullptr : it->second;
}
