#pragma once
// Notifications with block observers. A post delivers synchronously, on the posting thread, to
// the observers registered for its name (or for every name, with an empty name) and for its
// object (or any object, with a null one), in the order they were added. Once removeObserver
// returns, the observer's block is not called again: a post running on another thread at that
// moment finishes the call already under way, and removeObserver waits for it (unless the block
// removes itself).

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

    static std::shared_ptr<NSNotificationCenter> defaultCenter();

    // Answers the token by which the observer is removed. The center keeps the block until then.
    std::shared_ptr<NSObject> addObserverForName(std::string name, std::shared_ptr<NSObject> object, Block block);
    void removeObserver(const std::shared_ptr<NSObject>& observer);

    void postNotificationName(const std::string& name, std::shared_ptr<NSObject> object = nullptr, Value userInfo = {});
    void postNotification(const std::shared_ptr<NSNotification>& notification);

private:
    class Observer;
    std::mutex mutex_;
    std::condition_variable callFinished_;
    std::vector<std::shared_ptr<Observer>> observers_;
};
