#include "Foundation/NSNotificationCenter.h"

#include "Dispatch/DispatchMainQueue.h"

#include <algorithm>
#include <chrono>

class NSNotificationCenter::Registration : public NSObject {
public:
    using NSObject::NSObject;

    std::string name;
    bool anyObject = true;
    std::weak_ptr<NSObject> object;
    Block block;                                // a block registration, whose token is this object, or
    dispatch_queue_t queue;                     // (where the block runs, when it names a queue)
    Callback callback;                          // an observer's callback, with
    std::weak_ptr<NSObject> observer;           // the observer and
    const NSObject* observerAddress = nullptr;  // its address, to find it after it has died

    // Guarded by the center's mutex:
    bool removed = false;
    std::vector<std::thread::id> callingThreads;

    bool isFor(const NSObject* key) const { return key && (key == this || key == observerAddress); }
    bool observerDied() const { return observerAddress && observer.expired(); }
    bool objectDied() const { return !anyObject && object.expired(); }
};

std::shared_ptr<NSNotificationCenter> NSNotificationCenter::defaultCenter()
{
    static auto* center = new std::shared_ptr<NSNotificationCenter>(make());
    return *center;
}

void NSNotificationCenter::add(std::shared_ptr<Registration> registration)
{
    std::lock_guard lock(mutex_);
    registrations_.push_back(std::move(registration));
}

std::shared_ptr<NSObject> NSNotificationCenter::addObserverForName(std::string name, std::shared_ptr<NSObject> object,
                                                                   Block block)
{
    return addObserverForName(std::move(name), std::move(object), nullptr, std::move(block));
}

std::shared_ptr<NSObject> NSNotificationCenter::addObserverForName(std::string name, std::shared_ptr<NSObject> object,
                                                                   dispatch_queue_t queue, Block block)
{
    auto r = NSObject::create<Registration>();
    r->queue = std::move(queue);
    r->name = std::move(name);
    r->anyObject = object == nullptr;
    r->object = object;
    r->block = std::move(block);
    add(r);
    return r;
}

void NSNotificationCenter::addObserver(const std::shared_ptr<NSObject>& observer, Callback callback, std::string name,
                                       std::shared_ptr<NSObject> object)
{
    if (!observer || !callback) return;
    auto r = NSObject::create<Registration>();
    r->name = std::move(name);
    r->anyObject = object == nullptr;
    r->object = object;
    r->callback = std::move(callback);
    r->observer = observer;
    r->observerAddress = observer.get();
    add(std::move(r));
}

void NSNotificationCenter::removeObserver(const NSObject* observerOrToken)
{
    if (!observerOrToken) return;
    remove([&](const Registration& r) { return r.isFor(observerOrToken); });
}

void NSNotificationCenter::removeObserver(const NSObject* observer, const std::string& name,
                                          const std::shared_ptr<NSObject>& object)
{
    if (!observer) return;
    remove([&](const Registration& r) {
        return r.isFor(observer) && (name.empty() || r.name == name) && (!object || r.object.lock() == object);
    });
}

void NSNotificationCenter::remove(const std::function<bool(const Registration&)>& which)
{
    std::vector<std::shared_ptr<Registration>> removed;
    std::unique_lock lock(mutex_);
    for (auto it = registrations_.begin(); it != registrations_.end();) {
        if (which(**it)) {
            (*it)->removed = true;
            removed.push_back(*it);
            it = registrations_.erase(it);
        } else {
            ++it;
        }
    }
    // Wait for the calls other threads are making into what was removed. Observer callbacks hold
    // their observer alive by themselves; blocks may capture anything, so they are waited for.
    auto self = std::this_thread::get_id();
    auto othersCalling = [&] {
        return std::any_of(removed.begin(), removed.end(), [&](const auto& r) {
            return r->block && std::any_of(r->callingThreads.begin(), r->callingThreads.end(),
                                           [&](std::thread::id t) { return t != self; });
        });
    };
    bool onMain = DispatchMainQueue::isMainThread();
    while (othersCalling()) {
        if (onMain) {
            lock.unlock();
            bool ran = DispatchMainQueue::runWaitingSyncs() > 0;
            lock.lock();
            if (ran) continue;
            callFinished_.wait_for(lock, std::chrono::milliseconds(1));
        } else {
            callFinished_.wait(lock);
        }
    }
    lock.unlock();
    removed.clear();  // blocks die outside the lock: their captures may post or remove
}

void NSNotificationCenter::postNotificationName(const std::string& name, std::shared_ptr<NSObject> object,
                                                Value userInfo)
{
    postNotification(NSNotification::make(name, std::move(object), std::move(userInfo)));
}

void NSNotificationCenter::postNotification(const std::shared_ptr<NSNotification>& notification)
{
    if (!notification) return;
    std::vector<std::shared_ptr<Registration>> matching;
    std::vector<std::shared_ptr<Registration>> pruned;
    {
        std::lock_guard lock(mutex_);
        for (auto it = registrations_.begin(); it != registrations_.end();) {
            const auto& r = *it;
            if (r->observerDied() || r->objectDied()) {
                r->removed = true;
                pruned.push_back(r);
                it = registrations_.erase(it);
                continue;
            }
            bool nameMatches = r->name.empty() || r->name == notification->name();
            bool objectMatches = r->anyObject || r->object.lock() == notification->object();
            if (nameMatches && objectMatches) matching.push_back(r);
            ++it;
        }
    }
    for (const auto& r : matching) {
        if (r->queue) {
            r->queue->async(
                [center = self<NSNotificationCenter>(), r, notification] { center->deliver(r, notification); });
        } else {
            deliver(r, notification);
        }
    }
}

void NSNotificationCenter::deliver(const std::shared_ptr<Registration>& r,
                                   const std::shared_ptr<NSNotification>& notification)
{
    auto thread = std::this_thread::get_id();
    std::shared_ptr<NSObject> observer;
    {
        std::lock_guard lock(mutex_);
        if (r->removed) return;
        if (r->callback && !(observer = r->observer.lock())) return;
        r->callingThreads.push_back(thread);
    }
    if (r->block)
        r->block(notification);
    else
        r->callback(*observer, notification);
    {
        std::lock_guard lock(mutex_);
        r->callingThreads.erase(std::find(r->callingThreads.begin(), r->callingThreads.end(), thread));
    }
    callFinished_.notify_all();
}

std::size_t NSNotificationCenter::registrationCount()
{
    std::lock_guard lock(mutex_);
    return registrations_.size();
}
