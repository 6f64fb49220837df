#pragma once
// Run-time lookup of classes by name: one registry of name -> class. A class registers a
// factory for its instances and, where callers send it class messages by selector name,
// those class methods. Absent names answer null, as the platform's lookup does.
//
// Registration is explicit: each library whose classes are looked up by name offers one
// `<Library>RegisterClasses()` function that the host's start calls. A class registering itself
// from a static initialiser would be dropped by the linker from a static library, and the lookup
// would silently answer null.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

class NSClass {
public:
    using Factory = std::function<std::shared_ptr<NSObject>()>;
    using ClassMethod = std::function<Value()>;
    using ClassMethods = std::map<std::string, ClassMethod, std::less<>>;

    // A class known only by name and factory: it is a subclass of nothing.
    NSClass(std::string name, Factory factory, ClassMethods classMethods = {});

    // The class of T, made by `factory` (default: `NSObject::create<T>()`), which knows T's bases.
    // An abstract T has no default: without a factory it makes nothing.
    template <class T>
    static std::shared_ptr<const NSClass> classOf(std::string name, Factory factory = nullptr,
                                                  ClassMethods classMethods = {});
    // Registers the class of T under `name` and answers it.
    template <class T>
    static std::shared_ptr<const NSClass> registerClass(std::string name, Factory factory = nullptr,
                                                        ClassMethods classMethods = {})
    {
        auto cls = classOf<T>(std::move(name), std::move(factory), std::move(classMethods));
        registerClass(cls);
        return cls;
    }

    const std::string& name() const { return name_; }
    // A new, initialised instance; null when the class registered no factory.
    std::shared_ptr<NSObject> make() const { return factory_ ? factory_() : nullptr; }
    // Sends a class message by selector name; nil for selectors the class does not know.
    Value performSelector(std::string_view selector) const;
    bool respondsToSelector(std::string_view selector) const;

    // Whether the class is Base or derives from it publicly (false for classes known by name only).
    template <class Base>
    bool isSubclassOfClass() const
    {
        if (!throwNull_) return false;
        try {
            throwNull_();
        } catch (Base*) {
            return true;
        } catch (...) {
        }
        return false;
    }
    bool isSubclassOfClass(const NSClass& base) const;

    // Registering a name again replaces the earlier class.
    static void registerClass(std::shared_ptr<const NSClass> cls);
    static void unregisterClass(std::string_view name);

private:
    std::string name_;
    Factory factory_;
    ClassMethods classMethods_;
    // Throws a null T*: a catch clause for a base pointer matches it exactly when T derives from
    // that base, which is how the registry answers derivation without an instance.
    std::function<void()> throwNull_;
    // Runs a thrower and answers whether what it threw converts to a T*.
    std::function<bool(const std::function<void()>&)> catchesAsThis_;
};

std::shared_ptr<const NSClass> NSClassFromString(std::string_view name);

template <class T>
std::shared_ptr<const NSClass> NSClass::classOf(std::string name, Factory factory, ClassMethods classMethods)
{
    static_assert(std::derived_from<T, NSObject>, "registered classes are NSObject subclasses");
    if constexpr (!std::is_abstract_v<T>)
        if (!factory) factory = [] { return std::static_pointer_cast<NSObject>(NSObject::create<T>()); };
    auto cls = std::make_shared<NSClass>(std::move(name), std::move(factory), std::move(classMethods));
    cls->throwNull_ = [] { throw static_cast<T*>(nullptr); };
    cls->catchesAsThis_ = [](const std::function<void()>& thrower) {
        try {
            thrower();
        } catch (T*) {
            return true;
        } catch (...) {
        }
        return false;
    };
    return cls;
}
