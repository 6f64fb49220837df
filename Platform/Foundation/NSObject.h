#pragma once
// The root of every class of ours. Objects live in std::shared_ptr (strong) and std::weak_ptr
// (delegates, back pointers). Initialisers run after construction, because they call hooks that
// subclasses override: a class offers `static std::shared_ptr<T> make(...)` that constructs with
// std::make_shared and then calls its virtual init method.

#include <memory>
#include <string>
#include <string_view>

class Value;

class NSObject : public std::enable_shared_from_this<NSObject> {
public:
    NSObject() = default;
    virtual ~NSObject() = default;
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;

    // The text `%@` prints. Defaults to "<ClassName: 0xADDRESS>".
    virtual std::string description() const;
    // The class's name as the design spells it (demangled C++ name unless overridden).
    virtual std::string className() const;

    // Dynamic message sending by selector name, used where the design looks classes up by name at
    // run time and talks to them by selector. Answers nil for selectors the object does not know.
    virtual Value performSelector(std::string_view selector);
    virtual bool respondsToSelector(std::string_view selector) const;

    template <class T>
    bool isKindOfClass() const
    {
        return dynamic_cast<const T*>(this) != nullptr;
    }

    template <class T = NSObject>
    std::shared_ptr<T> self()
    {
        return std::dynamic_pointer_cast<T>(shared_from_this());
    }
    template <class T = NSObject>
    std::shared_ptr<const T> self() const
    {
        return std::dynamic_pointer_cast<const T>(shared_from_this());
    }
    template <class T = NSObject>
    std::weak_ptr<T> weakSelf()
    {
        return self<T>();
    }
};

using NSObjectPtr = std::shared_ptr<NSObject>;
