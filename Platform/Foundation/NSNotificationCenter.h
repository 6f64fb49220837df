#pragma once
// Notifications, delivered synchronously on the posting thread to the registrations that match
// the post's name (an empty name matches every name) and object (a null object matches any), in
// the order they were added.
//
// Two kinds of registration:
// - a block, answered with a token by which it is removed; the center keeps the block until then;
// - an observer held weakly with a member function to call (the platform's selector). A dead
//   observer is skipped and its registrations pruned; a live one is held strongly for the length
//   of each call. removeObserver(observer) removes every registration of it.
// A registration for a specific object matches only posts of that object: once the object has
// died it matches nothing (its weak handle would otherwise read as the nil object).
//
// Once removeObserver returns, the removed blocks are not called again: a call already running on
// another thread finishes first and removeObserver waits for it. While it waits on the main
// thread it runs the main-queue syncs of waiting workers, since that call may be one of them.

#include "Dispatch/DispatchQueue.h"
#include "Foundation/NSNotification.h"
#include "Foundation/NSObject.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class NSNotificationCenter : public NSObject {
public:
    using Block = std::function<void(const std::shared_ptr<NSNotification>&)>;
    using Callback = std::function<void(NSObject& observer, const std::shared_ptr<NSNotification>&)>;

    using NSObject::NSObject;
    static std::shared_ptr<NSNotificationCenter> defaultCenter();
    // A center of its own (tests).
    static std::shared_ptr<NSNotificationCenter> make() { return NSObject::create<NSNotificationCenter>(); }

    // Answers the token by which the block is removed. With a queue, each matching post hands the
    // block to that queue to run asynchronously; a block still queued when its registration is
    // removed does not run.
    std::shared_ptr<NSObject> addObserverForName(std::string name, std::shared_ptr<NSObject> object, Block block);
    std::shared_ptr<NSObject> addObserverForName(std::string name, std::shared_ptr<NSObject> object,
                                                 dispatch_queue_t queue, Block block);

    // `selector` is called on the observer while it lives.
    template <class T>
    void addObserver(const std::shared_ptr<T>& observer, void (T::*selector)(const std::shared_ptr<NSNotification>&),
                     std::string name, std::shared_ptr<NSObject> object = nullptr)
    {
        addObserver(
            std::static_pointer_cast<NSObject>(observer),
            [selector](NSObject& o, const std::shared_ptr<NSNotification>& n) { (static_cast<T&>(o).*selector)(n); },
            std::move(name), std::move(object));
    }
    void addObserver(const std::shared_ptr<NSObject>& observer, Callback callback, std::string name,
                     std::shared_ptr<NSObject> object = nullptr);

    // Removes every registration of an observer, or the one block of a token. Observers may call
    // it from their destructor with `this`.
    void removeObserver(const NSObject* observerOrToken);
    void removeObserver(const std::shared_ptr<NSObject>& observerOrToken) { removeObserver(observerOrToken.get()); }
    // Only the registrations of the observer for this name (empty: any) and object (null: any).
    void removeObserver(const NSObject* observer, const std::string& name, const std::shared_ptr<NSObject>& object);

    void postNotificationName(const std::string& name, std::shared_ptr<NSObject> object = nullptr, Value userInfo = {});
    void postNotification(const std::shared_ptr<NSNotification>& notification);

    // Registrations alive (tests: dead observers are pruned).
    std::size_t registrationCount();

private:
    class Registration;
    void add(std::shared_ptr<Registration> registration);
    void deliver(const std::shared_ptr<Registration>& registration,
                 const std::shared_ptr<NSNotification>& notification);
    void remove(const std::function<bool(const Registration&)>& which);

    std::mutex mutex_;
    std::condition_variable callFinished_;
    std::vector<std::shared_ptr<Registration>> registrations_;
};
