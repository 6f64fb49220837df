#include "Foundation/NSTimer.h"

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kStart = 1'000'000;  // the wall clock at the start of each test

class NSTimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DispatchClock::useVirtualTime(true);
        DispatchClock::setSecondsSince1970(kStart);
    }
    void TearDown() override { DispatchClock::useVirtualTime(false); }

    static double elapsed() { return DispatchClock::secondsSince1970() - kStart; }
};

// Records into the test's vectors, so that what it saw outlives it.
class Ticker : public NSObject {
public:
    using NSObject::NSObject;
    void tick(const std::shared_ptr<NSTimer>& timer)
    {
        ticks->push_back(DispatchClock::secondsSince1970() - kStart);
        const std::string* text = timer->userInfo().asString();
        userInfos->push_back(text ? *text : "?");
        if (static_cast<int>(ticks->size()) == invalidateAfter) timer->invalidate();
    }
    std::vector<double>* ticks = nullptr;
    std::vector<std::string>* userInfos = nullptr;
    int invalidateAfter = 0;  // 0: never from the callback
};

TEST_F(NSTimerTest, RepeatingTimerFiresAtEachPeriodUntilInvalidatedThenLetsItsTargetGo)
{
    struct Case {
        const char* name;
        int invalidateInCallbackAfter;  // 0: invalidated from outside after 1.1 s
        std::vector<double> ticks;      // seconds after scheduling
    };
    for (const Case& c : {Case{"from outside", 0, {0.25, 0.5, 0.75, 1.0}}, Case{"from its callback", 2, {0.25, 0.5}}}) {
        SCOPED_TRACE(c.name);
        std::vector<double> ticks;
        std::vector<std::string> userInfos;
        auto ticker = NSObject::create<Ticker>();
        ticker->ticks = &ticks;
        ticker->userInfos = &userInfos;
        ticker->invalidateAfter = c.invalidateInCallbackAfter;
        std::weak_ptr<Ticker> target = ticker;
        double scheduledAt = elapsed();
        auto timer = NSTimer::scheduledTimerWithTimeInterval(0.25, ticker, &Ticker::tick, Value("payload"), true);
        ticker.reset();
        EXPECT_FALSE(target.expired()) << "a scheduled timer holds its target";

        DispatchClock::advance(1.1);
        EXPECT_EQ(timer->isValid(), c.invalidateInCallbackAfter == 0);
        timer->invalidate();
        EXPECT_FALSE(timer->isValid());
        EXPECT_TRUE(target.expired()) << "an invalidated timer lets its target go";
        DispatchClock::advance(1.0);

        ASSERT_EQ(ticks.size(), c.ticks.size());
        for (size_t i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i] - scheduledAt, c.ticks[i], 1e-6) << "tick " << i;
        EXPECT_EQ(userInfos, std::vector<std::string>(c.ticks.size(), "payload"));
    }
}

TEST_F(NSTimerTest, BlockTimersAndFiringByHand)
{
    std::vector<std::string> seen;
    auto note = [&](std::string name) {
        return [&seen, name](const std::shared_ptr<NSTimer>&) {
            seen.push_back(name + "@" + std::to_string(static_cast<int>(elapsed() * 1000 + 0.5)));
        };
    };
    auto repeating = NSTimer::scheduledTimerWithTimeInterval(0.1, true, note("repeating"));
    auto once = NSTimer::scheduledTimerWithTimeInterval(0.15, false, note("once"));
    auto firedEarly = NSTimer::scheduledTimerWithTimeInterval(0.05, false, note("fired early"));

    DispatchClock::advance(0.02);
    // By hand: a repeating timer keeps its schedule; one that does not repeat is spent.
    repeating->fire();
    firedEarly->fire();
    EXPECT_TRUE(repeating->isValid());
    EXPECT_FALSE(firedEarly->isValid());

    DispatchClock::advance(0.2);
    EXPECT_FALSE(once->isValid());
    repeating->invalidate();
    repeating->fire();  // does nothing once invalidated
    DispatchClock::advance(0.5);
    EXPECT_EQ(seen, (std::vector<std::string>{"repeating@20", "fired early@20", "repeating@100", "once@150",
                                              "repeating@200"}));
}

TEST(NSTimerRealClockTest, FiresOnTheMainThreadFromATimerMadeElsewhere)
{
    std::vector<bool> onMain;  // touched only on the main thread
    std::shared_ptr<NSTimer> timer;
    std::thread([&] {
        timer = NSTimer::scheduledTimerWithTimeInterval(
            0.005, true, [&](const std::shared_ptr<NSTimer>&) { onMain.push_back(DispatchMainQueue::isMainThread()); });
    }).join();
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return onMain.size() >= 3; }, 20));
    timer->invalidate();
    EXPECT_EQ(onMain, std::vector<bool>(onMain.size(), true));
}

}  // namespace
