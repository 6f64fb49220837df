#include "Foundation/NSNotificationCenter.h"

#include <algorithm>

class NSNotificationCenter::Observer : public NSObject {
public:
    std::string name;
    std::weak_ptr<NSObject> object;
    bool anyObject = true;
    Block block;
    // Guarded by the center's mutex:
    bool removed = false;
    std::vector<std::thread::id> callingThreads;
};

std::shared_ptr<NSNotificationCenter> NSNotificationCenter::defaultCenter()
{
    static auto* center = new std::shared_ptr<NSNotificationCenter>(std::make_shared<NSNotificationCenter>());
    return *center;
}

std::shared_ptr<NSObject> NSNotificationCenter::addObserverForName(std::string name, std::shared_ptr<NSObject> object,
                                                                   Block block)
{
    auto observer = std::make_shared<Observer>();
    observer->name = std::move(name);
    observer->anyObject = object == nullptr;
    observer->object = object;
    observer->block = std::move(block);
    std::lock_guard lock(mutex_);
    observers_.push_back(observer);
    return observer;
}

void NSNotificationCenter::removeObserver(const std::shared_ptr<NSObject>& token)
{
    auto observer = std::dynamic_pointer_cast<Observer>(token);
    if (!observer) return;
    std::unique_lock lock(mutex_);
    observer->removed = true;
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
    auto self = std::this_thread::get_id();
    callFinished_.wait(lock, [&] {
        return std::all_of(observer->callingThreads.begin(), observer->callingThreads.end(),
                           [&](std::thread::id t) { return t == self; });
    });
}

void NSNotificationCenter::postNotificationName(const std::string& name, std::shared_ptr<NSObject> object,
                                                Value userInfo)
{
    postNotification(NSNotification::make(name, std::move(object), std::move(userInfo)));
}

void NSNotificationCenter::postNotification(const std::shared_ptr<NSNotification>& notification)
{
    if (!notification) return;
    std::vector<std::shared_ptr<Observer>> matching;
    {
        std::lock_guard lock(mutex_);
        for (const auto& o : observers_) {
            if (!o->name.empty() && o->name != notification->name()) continue;
            if (!o->anyObject && o->object.lock() != notification->object()) continue;
            matching.push_back(o);
        }
    }
    auto self = std::this_thread::get_id();
    for (const auto& o : matching) {
        {
            std::lock_guard lock(mutex_);
            if (o->removed) continue;
            o->callingThreads.push_back(self);
        }
        o->block(notification);
        {
            std::lock_guard lock(mutex_);
            o->callingThreads.erase(std::find(o->callingThreads.begin(), o->callingThreads.end(), self));
        }
        callFinished_.notify_all();
    }
}
