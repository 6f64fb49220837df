#pragma once
// A thread-safe cache of values by key that evicts on its own: least recently used first once
// the count or total cost goes over its limit (0 = no limit), and everything when the system
// signals memory pressure (which tests simulate with simulateMemoryPressure).

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <cstddef>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class NSCache : public NSObject {
public:
    static std::shared_ptr<NSCache> make() { return NSObject::create<NSCache>(); }
    explicit NSCache(Key key);
    ~NSCache() override;

    std::string name() const;
    void setName(std::string name);
    std::size_t countLimit() const;
    void setCountLimit(std::size_t limit);
    std::size_t totalCostLimit() const;
    void setTotalCostLimit(std::size_t limit);

    Value objectForKey(std::string_view key);  // nil when absent; a hit makes the entry recent
    void setObject(Value object, std::string_view key, std::size_t cost = 0);  // nil removes
    void removeObjectForKey(std::string_view key);
    void removeAllObjects();

    // Drops every entry of every live cache, as the platform does under memory pressure.
    static void simulateMemoryPressure();

private:
    struct Entry {
        std::string key;
        Value object;
        std::size_t cost;
    };
    void evictLocked();

    mutable std::mutex mutex_;
    std::string name_;
    std::size_t countLimit_ = 0;
    std::size_t totalCostLimit_ = 0;
    std::size_t totalCost_ = 0;
    std::list<Entry> entries_;  // most recent first
    std::map<std::string, std::list<Entry>::iterator, std::less<>> index_;
};
