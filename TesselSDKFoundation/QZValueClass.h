#pragma once
// A class as the option store's "is kind of" tests see it. Numbers, strings, arrays and
// dictionaries are kinds of the dynamic value; objects are kinds of their C++ class.

#include <functional>
#include <string>
#include <typeindex>

#include "Foundation/Value.h"

class QZValueClass {
public:
    static QZValueClass NSNumber() { return QZValueClass("NSNumber", [](const Value& v) { return v.isNumber(); }); }
    static QZValueClass NSString() { return QZValueClass("NSString", [](const Value& v) { return v.isString(); }); }
    static QZValueClass NSArray() { return QZValueClass("NSArray", [](const Value& v) { return v.isArray(); }); }
    static QZValueClass NSDictionary()
    {
        return QZValueClass("NSDictionary", [](const Value& v) { return v.isDictionary(); });
    }
    // Objects of T or of a class derived from it.
    template <class T>
    static QZValueClass objectsOf(std::string name)
    {
        return QZValueClass(std::move(name), [](const Value& v) { return v.isKindOfClass<T>(); });
    }
    // The run-time class of a value. All numbers (booleans too) are one class; an object's class
    // is its exact C++ type, since only the type, not its ancestry, is known at run time.
    static QZValueClass classOf(const Value& value);

    bool isKindOfClass(const Value& value) const { return test_(value); }
    const std::string& name() const { return name_; }

private:
    QZValueClass(std::string name, std::function<bool(const Value&)> test) : name_(std::move(name)), test_(std::move(test)) {}

    std::string name_;
    std::function<bool(const Value&)> test_;
};
