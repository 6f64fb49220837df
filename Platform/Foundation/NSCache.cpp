#include "Foundation/NSCache.h"

#include <algorithm>

namespace {
struct LiveCaches {
    std::mutex mutex;
    std::vector<NSCache*> caches;
};
LiveCaches& live()
{
    static auto* l = new LiveCaches;
    return *l;
}
}  // namespace

NSCache::NSCache(Key key) : NSObject(key)
{
    std::lock_guard lock(live().mutex);
    live().caches.push_back(this);
}

NSCache::~NSCache()
{
    std::lock_guard lock(live().mutex);
    auto& c = live().caches;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
}

std::string NSCache::name() const
{
    std::lock_guard lock(mutex_);
    return name_;
}
void NSCache::setName(std::string name)
{
    std::lock_guard lock(mutex_);
    name_ = std::move(name);
}
std::size_t NSCache::countLimit() const
{
    std::lock_guard lock(mutex_);
    return countLimit_;
}
void NSCache::setCountLimit(std::size_t limit)
{
    std::lock_guard lock(mutex_);
    countLimit_ = limit;
    evictLocked();
}
std::size_t NSCache::totalCostLimit() const
{
    std::lock_guard lock(mutex_);
    return totalCostLimit_;
}
void NSCache::setTotalCostLimit(std::size_t limit)
{
    std::lock_guard lock(mutex_);
    totalCostLimit_ = limit;
    evictLocked();
}

Value NSCache::objectForKey(std::string_view key)
{
    std::lock_guard lock(mutex_);
    auto it = index_.find(key);
    if (it == index_.end()) return {};
    entries_.splice(entries_.begin(), entries_, it->second);
    return it->second->object;
}

void NSCache::setObject(Value object, std::string_view key, std::size_t cost)
{
    if (object.isNil()) {
        removeObjectForKey(key);
        return;
    }
    Value replaced;  // released outside the lock: an object's destructor may use caches
    {
        std::lock_guard lock(mutex_);
        if (auto it = index_.find(key); it != index_.end()) {
            totalCost_ -= it->second->cost;
            replaced = std::move(it->second->object);
            entries_.erase(it->second);
            index_.erase(it);
        }
        entries_.push_front({std::string(key), std::move(object), cost});
        index_.emplace(std::string(key), entries_.begin());
        totalCost_ += cost;
        evictLocked();
    }
}

void NSCache::removeObjectForKey(std::string_view key)
{
    Value removed;
    std::lock_guard lock(mutex_);
    if (auto it = index_.find(key); it != index_.end()) {
        totalCost_ -= it->second->cost;
        removed = std::move(it->second->object);
        entries_.erase(it->second);
        index_.erase(it);
    }
}

void NSCache::removeAllObjects()
{
    std::list<Entry> dropped;
    std::lock_guard lock(mutex_);
    dropped.swap(entries_);
    index_.clear();
    totalCost_ = 0;
}

void NSCache::evictLocked()
{
    // The newest entry stays even when it alone is over the cost limit, as on the platform's
    // caches: refusing it would make a single large object uncachable by surprise.
    while (entries_.size() > 1 &&
           ((countLimit_ && entries_.size() > countLimit_) || (totalCostLimit_ && totalCost_ > totalCostLimit_))) {
        totalCost_ -= entries_.back().cost;
        index_.erase(entries_.back().key);
        entries_.pop_back();
    }
}

void NSCache::simulateMemoryPressure()
{
    std::lock_guard lock(live().mutex);
    for (NSCache* cache : live().caches) cache->removeAllObjects();
}
