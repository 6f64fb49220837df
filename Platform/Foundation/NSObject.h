#pragma once
// The root of every class of ours. Objects live in std::shared_ptr (strong) and std::weak_ptr
// (delegates, back pointers), and are made only through NSObject::create: it constructs the
// object, runs didConstruct() (a hook for what must exist before any initialiser, such as a view's
// layer), then the initialiser the caller names. Initialisers run after construction because they
// call hooks that subclasses override.
//
// Every constructor takes an NSObject::Key, which only NSObject can make, so no object can exist
// outside a shared_ptr (where self() would throw). A subclass inherits the keyed constructor
// (`using NSObject::NSObject;`) or declares its own `explicit T(Key key)`.
//
// A class whose objects must die on the main thread (views, screens: anything UIKit touches)
// declares `static constexpr bool NSDestroysOnMainQueue = true;`. When its last reference goes on
// another thread, the object is handed to the main queue and deleted there.

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

class Value;

class NSObject : public std::enable_shared_from_this<NSObject> {
public:
    class Key {
        friend class NSObject;
        Key() = default;
    };

    explicit NSObject(Key) {}
    virtual ~NSObject() = default;
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;

    // Makes a T and runs `init(*object, args...)` on it: a member function pointer (`&T::init`)
    // or any callable taking T&. An initialiser that answers false fails, and so does the make:
    // the answer is null.
    template <class T, class Init, class... Args>
    static std::shared_ptr<T> create(Init&& init, Args&&... args);
    // Makes a T whose constructor and didConstruct() are all it needs.
    template <class T>
    static std::shared_ptr<T> create();

    // The text `%@` prints. Defaults to "<ClassName: 0xADDRESS>".
    virtual std::string description() const;
    // The class's name: the demangled C++ name.
    virtual std::string className() const;

    // Identity by default; value classes (colours, NSValue) compare their contents. Objects that
    // are equal must answer the same hash.
    virtual bool isEqual(const NSObject& other) const { return this == &other; }
    virtual std::size_t hash() const { return std::hash<const void*>()(this); }

    // Dynamic message sending by selector name, used where the editor looks classes up by name at
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

protected:
    // Runs once, right after construction and before any initialiser.
    virtual void didConstruct() {}

private:
    template <class T>
    static std::shared_ptr<T> allocate();
    static void destroyOnMainQueue(std::function<void()> destroy);
};

using NSObjectPtr = std::shared_ptr<NSObject>;

template <class T>
concept NSDestroyedOnMainQueue = requires
{
    requires T::NSDestroysOnMainQueue;
};

template <class T>
std::shared_ptr<T> NSObject::allocate()
{
    static_assert(std::derived_from<T, NSObject>, "NSObject::create makes NSObject subclasses");
    std::shared_ptr<T> object;
    if constexpr (NSDestroyedOnMainQueue<T>) {
        object = std::shared_ptr<T>(new T(Key()), [](T* p) { destroyOnMainQueue([p] { delete p; }); });
    } else {
        object = std::make_shared<T>(Key());
    }
    static_cast<NSObject&>(*object).didConstruct();
    return object;
}

template <class T>
std::shared_ptr<T> NSObject::create()
{
    return allocate<T>();
}

template <class T, class Init, class... Args>
std::shared_ptr<T> NSObject::create(Init&& init, Args&&... args)
{
    std::shared_ptr<T> object = allocate<T>();
    using Result = std::invoke_result_t<Init, T&, Args...>;
    if constexpr (std::is_same_v<Result, bool>) {
        if (!std::invoke(std::forward<Init>(init), *object, std::forward<Args>(args)...)) return nullptr;
    } else {
        std::invoke(std::forward<Init>(init), *object, std::forward<Args>(args)...);
    }
    return object;
}

// Wraps a block so that it runs only while `handle` is alive, with a strong reference for the
// duration of the call. Blocks queued on worker queues capture views and screens this way; if
// the call holds the last reference, a main-queue class still dies on the main thread.
template <class T, class F>
auto NSWeakBlock(const std::shared_ptr<T>& handle, F block)
{
    return [weak = std::weak_ptr<T>(handle), block = std::move(block)](auto&&... args) {
        if (auto strong = weak.lock()) block(strong, std::forward<decltype(args)>(args)...);
    };
}
