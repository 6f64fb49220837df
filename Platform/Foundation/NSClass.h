#pragma once
// Run-time lookup of classes by name: one registry of name -> class. A class registers a
// factory for its instances and, where the design sends it class messages by selector name,
// those class methods. Absent names answer null, as the design expects of the platform.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

class NSClass {
public:
    using Factory = std::function<std::shared_ptr<NSObject>()>;
    using ClassMethod = std::function<Value()>;

    NSClass(std::string name, Factory factory, std::map<std::string, ClassMethod, std::less<>> classMethods = {});

    const std::string& name() const { return name_; }
    // A new, initialised instance; null when the class registered no factory.
    std::shared_ptr<NSObject> make() const { return factory_ ? factory_() : nullptr; }
    // Sends a class message by selector name; nil for selectors the class does not know.
    Value performSelector(std::string_view selector) const;
    bool respondsToSelector(std::string_view selector) const;

    // Registering a name again replaces the earlier class.
    static void registerClass(std::shared_ptr<const NSClass> cls);
    static void unregisterClass(std::string_view name);

private:
    std::string name_;
    Factory factory_;
    std::map<std::string, ClassMethod, std::less<>> classMethods_;
};

std::shared_ptr<const NSClass> NSClassFromString(std::string_view name);
