#include "Foundation/NSNotificationCenter.h"

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class Sender : public NSObject {
public:
    using NSObject::NSObject;
};

TEST(NSNotificationCenterTest, DeliversOnThePostingThreadToMatchingObserversOnly)
{
    auto center = NSNotificationCenter::make();
    auto sender = NSObject::create<Sender>();
    auto other = NSObject::create<Sender>();
    std::vector<std::string> seen;
    std::thread::id deliveredOn;
    auto any = center->addObserverForName("QZPause", nullptr, [&](const auto& n) {
        deliveredOn = std::this_thread::get_id();
        seen.push_back("any:" + n->userInfo()["why"].stringValue());
    });
    auto fromSender = center->addObserverForName("QZPause", sender, [&](const auto&) { seen.push_back("sender"); });
    auto everything =
        center->addObserverForName("", nullptr, [&](const auto& n) { seen.push_back("all:" + n->name()); });

    std::thread poster([&] { center->postNotificationName("QZPause", other, Value::dictionary({{"why", "bg"}})); });
    std::thread::id posterId = poster.get_id();
    poster.join();
    EXPECT_EQ(deliveredOn, posterId);
    EXPECT_EQ(seen, (std::vector<std::string>{"any:bg", "all:QZPause"}));

    seen.clear();
    center->postNotificationName("QZPause", sender);
    center->postNotificationName("QZResume", sender);
    EXPECT_EQ(seen, (std::vector<std::string>{"any:", "sender", "all:QZPause", "all:QZResume"}));
    center->removeObserver(any);
    center->removeObserver(fromSender);
    center->removeObserver(everything);
}

TEST(NSNotificationCenterTest, NoDeliveryAfterRemovalEvenWithConcurrentPosts)
{
    auto center = NSNotificationCenter::make();
    std::atomic<bool> removed{false};
    std::atomic<int> lateCalls{0};
    std::atomic<int> calls{0};
    auto token = center->addObserverForName("QZTick", nullptr, [&](const auto&) {
        ++calls;
        std::this_thread::sleep_for(std::chrono::microseconds(50));
        if (removed) ++lateCalls;
    });
    std::atomic<bool> stop{false};
    std::vector<std::thread> posters;
    for (int i = 0; i < 4; ++i)
        posters.emplace_back([&] {
            while (!stop) center->postNotificationName("QZTick");
        });
    while (calls < 20) std::this_thread::yield();
    center->removeObserver(token);
    removed = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop = true;
    for (auto& t : posters) t.join();
    EXPECT_EQ(lateCalls, 0);

    // An observer may remove itself from inside its own block.
    std::shared_ptr<NSObject> self;
    int selfCalls = 0;
    self = center->addObserverForName("QZOnce", nullptr, [&](const auto&) {
        ++selfCalls;
        center->removeObserver(self);
    });
    center->postNotificationName("QZOnce");
    center->postNotificationName("QZOnce");
    EXPECT_EQ(selfCalls, 1);
}

}  // namespace

namespace {

class Listener : public NSObject {
public:
    using NSObject::NSObject;
    void paused(const std::shared_ptr<NSNotification>& n) { heard.push_back("paused:" + n->name()); }
    void resumed(const std::shared_ptr<NSNotification>& n) { heard.push_back("resumed:" + n->name()); }
    std::vector<std::string> heard;
};

TEST(NSNotificationCenterTest, ObserverForADeadObjectHearsNothing)
{
    auto center = NSNotificationCenter::make();
    auto sender = NSObject::create<Sender>();
    int calls = 0;
    auto token = center->addObserverForName("QZPause", sender, [&](const auto&) { ++calls; });
    auto listener = NSObject::create<Listener>();
    center->addObserver(listener, &Listener::paused, "QZPause", sender);
    sender.reset();
    // A post with no object must not reach observers of the object that died.
    center->postNotificationName("QZPause", nullptr);
    center->postNotificationName("QZPause", NSObject::create<Sender>());
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(listener->heard.empty());
    EXPECT_EQ(center->registrationCount(), 0u);  // pruned: they can never match again
    center->removeObserver(token);
}

TEST(NSNotificationCenterTest, ObserverKeyedRegistrationsAreRemovedTogetherAndDeadObserversPruned)
{
    auto center = NSNotificationCenter::make();
    auto listener = NSObject::create<Listener>();
    auto sender = NSObject::create<Sender>();
    center->addObserver(listener, &Listener::paused, "QZPause");
    center->addObserver(listener, &Listener::resumed, "QZResume", sender);
    center->postNotificationName("QZPause");
    center->postNotificationName("QZResume");  // not from sender
    center->postNotificationName("QZResume", sender);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"paused:QZPause", "resumed:QZResume"}));

    center->removeObserver(listener.get(), "QZPause", nullptr);
    center->postNotificationName("QZPause");
    center->postNotificationName("QZResume", sender);
    EXPECT_EQ(listener->heard.size(), 3u);

    center->addObserver(listener, &Listener::paused, "QZPause");
    center->removeObserver(listener);
    center->postNotificationName("QZPause");
    center->postNotificationName("QZResume", sender);
    EXPECT_EQ(listener->heard.size(), 3u);
    EXPECT_EQ(center->registrationCount(), 0u);

    // An observer that dies without removing itself is skipped, then pruned.
    auto mortal = NSObject::create<Listener>();
    center->addObserver(mortal, &Listener::paused, "QZPause");
    center->addObserver(listener, &Listener::paused, "QZPause");
    mortal.reset();
    center->postNotificationName("QZPause");
    EXPECT_EQ(listener->heard.back(), "paused:QZPause");
    EXPECT_EQ(center->registrationCount(), 1u);
}

// A post on a worker whose block waits for the main thread, while the main thread removes the
// observer: removal must not wait for a call that waits for it.
TEST(NSNotificationCenterTest, RemovalOnTheMainThreadDoesNotDeadlockWithACallSyncingToMain)
{
    auto center = NSNotificationCenter::make();
    std::atomic<bool> inCall{false};
    std::atomic<bool> syncRan{false};
    auto token = center->addObserverForName("QZBackground", nullptr, [&](const auto&) {
        inCall = true;
        dispatch_sync(dispatch_get_main_queue(), [&] { syncRan = true; });
    });
    std::thread poster([&] { center->postNotificationName("QZBackground"); });
    while (!inCall) std::this_thread::yield();
    center->removeObserver(token);  // returns once the call, and its sync, have finished
    EXPECT_TRUE(syncRan);
    poster.join();
    center->postNotificationName("QZBackground");
}

}  // namespace

namespace {

TEST(NSNotificationCenterTest, ABlockNamingAQueueRunsThereLaterAndNotAfterRemoval)
{
    auto center = NSNotificationCenter::make();
    std::vector<bool> ranOnMain;
    auto token = center->addObserverForName("QZSaved", nullptr, dispatch_get_main_queue(), [&](const auto&) {
        ranOnMain.push_back(DispatchMainQueue::isMainThread());
    });
    std::thread([&] { center->postNotificationName("QZSaved"); }).join();
    EXPECT_TRUE(ranOnMain.empty());  // asynchronous: waits for the main queue
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return !ranOnMain.empty(); }, 5));
    EXPECT_EQ(ranOnMain, std::vector<bool>{true});

    center->postNotificationName("QZSaved");
    center->removeObserver(token);
    DispatchRunLoop::drain();
    EXPECT_EQ(ranOnMain.size(), 1u);
}

}  // namespace
