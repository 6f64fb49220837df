#include "Foundation/NSNotificationCenter.h"

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
