// The notifier: injected flag changes reach the blocks on the serial queue and the notification
// on the main queue; once stopNotifier returns nothing more is called, and a notifying object
// nobody else holds lives until it is stopped.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSNotificationCenter.h"
#include "Network/SCNetworkReachability.h"
#include "TesselSDK/remote/QZReachability.h"

namespace {

constexpr SCNetworkReachabilityFlags kReachable = kSCNetworkReachabilityFlagsReachable;
constexpr SCNetworkReachabilityFlags kCellular =
    kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsWWAN;

class QZReachabilityNotifierTest : public ::testing::Test {
protected:
    void SetUp() override { SCNetworkReachabilitySetFlagsOverride(0); }
    void TearDown() override { SCNetworkReachabilitySetFlagsOverride(std::nullopt); }
    static bool pumpUntil(const std::function<bool()>& condition) { return DispatchRunLoop::runUntil(condition, 5.0); }
};

TEST_F(QZReachabilityNotifierTest, ChangesCallTheBlocksOnTheSerialQueueAndPostOnMain)
{
    auto reachability = QZReachability::reachabilityForInternetConnection();
    std::mutex mutex;
    std::vector<std::string> calls;
    std::atomic<int> offQueue{0};
    auto record = [&](const char* what) {
        return [&, what](const std::shared_ptr<QZReachability>& object) {
            if (object != reachability || !reachability->reachabilitySerialQueue()->isCurrent() ||
                DispatchMainQueue::isMainThread())
                ++offQueue;
            std::lock_guard lock(mutex);
            calls.push_back(what);
        };
    };
    reachability->setReachableBlock(record("reachable"));
    reachability->setUnreachableBlock(record("unreachable"));
    int posted = 0;
    auto token = NSNotificationCenter::defaultCenter()->addObserverForName(
        kReachabilityChangedNotification, reachability, [&](const auto& notification) {
            EXPECT_TRUE(DispatchMainQueue::isMainThread());
            EXPECT_EQ(notification->object(), reachability);
            ++posted;
        });
    auto callCount = [&] {
        std::lock_guard lock(mutex);
        return calls.size();
    };

    ASSERT_TRUE(reachability->startNotifier());
    EXPECT_EQ(reachability->reachabilityObject(), reachability);
    SCNetworkReachabilitySetFlagsOverride(kReachable);
    ASSERT_TRUE(pumpUntil([&] { return callCount() == 1 && posted == 1; }));
    SCNetworkReachabilitySetFlagsOverride(0);
    ASSERT_TRUE(pumpUntil([&] { return callCount() == 2 && posted == 2; }));
    // Cellular while cellular must not be used reads as a loss.
    reachability->setReachableOnWWAN(false);
    SCNetworkReachabilitySetFlagsOverride(kCellular);
    ASSERT_TRUE(pumpUntil([&] { return callCount() == 3 && posted == 3; }));
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(calls, (std::vector<std::string>{"reachable", "unreachable", "unreachable"}));
    }
    EXPECT_EQ(offQueue, 0);

    reachability->stopNotifier();
    EXPECT_FALSE(reachability->reachabilityObject());
    EXPECT_FALSE(reachability->reachabilitySerialQueue());
    NSNotificationCenter::defaultCenter()->removeObserver(token);
}

TEST_F(QZReachabilityNotifierTest, NothingIsCalledOnceStopNotifierHasReturned)
{
    for (int round = 0; round < 20; ++round) {
        auto reachability = QZReachability::reachabilityForInternetConnection();
        std::atomic<bool> inBlock{false};
        std::atomic<bool> stopped{false};
        std::atomic<int> lateCalls{0};
        auto slowBlock = [&](const std::shared_ptr<QZReachability>&) {
            inBlock = true;
            if (stopped) ++lateCalls;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            inBlock = false;
        };
        reachability->setReachableBlock(slowBlock);
        reachability->setUnreachableBlock(slowBlock);
        ASSERT_TRUE(reachability->startNotifier());
        std::atomic<bool> flipping{true};
        std::thread flipper([&] {
            for (int n = 0; flipping; ++n) {
                SCNetworkReachabilitySetFlagsOverride(n % 2 ? kReachable : 0);
                std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        reachability->stopNotifier();
        stopped = true;
        EXPECT_FALSE(inBlock) << "a block still running after stopNotifier returned";
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        flipping = false;
        flipper.join();
        EXPECT_EQ(lateCalls, 0) << "round " << round;
        DispatchRunLoop::drain();
    }
}

TEST_F(QZReachabilityNotifierTest, ANotifyingObjectWithoutOwnersLivesUntilStopped)
{
    std::weak_ptr<QZReachability> weak;
    std::atomic<int> calls{0};
    {
        auto reachability = QZReachability::reachabilityForInternetConnection();
        reachability->setReachableBlock([&](const std::shared_ptr<QZReachability>&) { ++calls; });
        ASSERT_TRUE(reachability->startNotifier());
        weak = reachability;
    }
    ASSERT_FALSE(weak.expired());
    SCNetworkReachabilitySetFlagsOverride(kReachable);
    ASSERT_TRUE(pumpUntil([&] { return calls == 1; }));

    // Stopped from its own block: it may not wait for itself, and it goes once the block is done.
    weak.lock()->setUnreachableBlock([](const std::shared_ptr<QZReachability>& object) { object->stopNotifier(); });
    SCNetworkReachabilitySetFlagsOverride(0);
    EXPECT_TRUE(pumpUntil([&] { return weak.expired(); }));
}

}  // namespace
