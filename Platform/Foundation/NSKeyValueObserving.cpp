#include "Foundation/NSKeyValueObserving.h"

#include <algorithm>

unsigned long NSKeyValueObservable::addObserverForKey(const std::string& key, Observer observer)
{
    observers_.push_back({nextToken_, key, std::move(observer)});
    return nextToken_++;
}

void NSKeyValueObservable::removeObserver(unsigned long token)
{
    std::erase_if(observers_, [token](const Registration& r) { return r.token == token; });
}

void NSKeyValueObservable::notify(const std::string& key, bool prior)
{
    // A copy: an observer may add or remove observers while it is told.
    std::vector<Registration> now = observers_;
    for (const auto& r : now) {
        if (r.key != key) continue;
        bool stillThere = std::any_of(observers_.begin(), observers_.end(),
                                      [&](const Registration& o) { return o.token == r.token; });
        if (stillThere) r.observer(key, prior);
    }
}
