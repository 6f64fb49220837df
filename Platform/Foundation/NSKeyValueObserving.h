#pragma once
// Key-value change notifications by key. An observable object announces a change of one of its
// keys before and after making it; observers registered for that key hear both, in the order
// they registered. Main thread only, like the views that use it.

#include <functional>
#include <map>
#include <string>
#include <vector>

class NSKeyValueObservable {
public:
    // `prior` is YES before the change, NO after it.
    using Observer = std::function<void(const std::string& key, bool prior)>;

    // A token for removeObserver.
    unsigned long addObserverForKey(const std::string& key, Observer observer);
    void removeObserver(unsigned long token);

    void willChangeValueForKey(const std::string& key) { notify(key, true); }
    void didChangeValueForKey(const std::string& key) { notify(key, false); }

protected:
    ~NSKeyValueObservable() = default;

private:
    struct Registration {
        unsigned long token;
        std::string key;
        Observer observer;
    };
    void notify(const std::string& key, bool prior);

    std::vector<Registration> observers_;
    unsigned long nextToken_ = 1;
};
