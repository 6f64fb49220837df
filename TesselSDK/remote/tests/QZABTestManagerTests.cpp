#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Foundation/NSUserDefaults.h"
#include "TesselSDK/remote/QZABTestManager.h"
#include "testing/TestSandbox.h"

namespace {

Value choice(const Value& value, bool permanent)
{
    return Value::dictionary({{kQZABTestValue, value}, {kQZABTestPermanance, permanent}});
}

class QZABTestManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager->setRandomSourceForTesting([this] { return ++draws, random32; },
                                           [this](std::uint32_t bound) {
                                               ++draws;
                                               EXPECT_EQ(bound, 100u);
                                               return uniform;
                                           });
    }
    static std::shared_ptr<NSUserDefaults> defaults() { return NSUserDefaults::standardUserDefaults(); }

    TestSandbox sandbox;
    std::shared_ptr<QZABTestManager> manager = QZABTestManager::make();
    std::uint32_t random32 = 0;
    std::uint32_t uniform = 0;
    int draws = 0;
};

TEST_F(QZABTestManagerTest, ChoicesComeFromTheCacheTheStoreOrANewDraw)
{
    struct Case {
        const char* name;
        Value stored;  // under "key" before the request (nil: absent)
        bool randomizes;
        std::function<int(QZABTestManager&)> ask;
        int expected;
        Value storedAfter;
    };
    const std::vector<Case> cases = {
        {"absent, not randomised: the default", Value(), false, [](auto& m) { return m.testValueForKey("key", 2, 1); },
         1, choice(1, false)},
        {"stored dictionary modulo n", choice(5, true), false, [](auto& m) { return m.testValueForKey("key", 2, 0); },
         1, choice(5, true)},
        {"stored dictionary through the distribution", choice(5, true), false,
         [](auto& m) {
             return m.testValueForKey("key", std::vector<int>{95, 100}, 0);
         },
         5, choice(5, true)},
        {"negative stored value: signed remainder", choice(-3, false), false,
         [](auto& m) { return m.testValueForKey("key", 2, 0); }, -1, choice(-3, false)},
        {"bare number rewritten, no modulo", Value(3), false, [](auto& m) { return m.testValueForKey("key", 2, 0); }, 3,
         choice(3, false)},
        {"random draw modulo n", Value(), true, [](auto& m) { return m.testValueForKey("key", 3, 0); }, 7 % 3,
         choice(7 % 3, false)},
        {"n = 0, absent: the default", Value(), true, [](auto& m) { return m.testValueForKey("key", 0, 4); }, 4,
         choice(4, false)},
        {"n = 0, stored: the default, the store unchanged", choice(5, false), true,
         [](auto& m) { return m.testValueForKey("key", 0, 4); }, 4, choice(5, false)},
        {"n < 0: the default", Value(), true, [](auto& m) { return m.testValueForKey("key", -2, 1); }, 1,
         choice(1, false)},
        {"distribution, draw 95", Value(), true,
         [](auto& m) {
             return m.testValueForKey("key", std::vector<int>{95, 100}, 0);
         },
         0, choice(0, false)},
    };
    random32 = 7;
    uniform = 95;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager->reloadValues();
        defaults()->setObject(c.stored, "key");
        manager->setRandomizesChoices(c.randomizes);
        EXPECT_EQ(c.ask(*manager), c.expected);
        EXPECT_EQ(defaults()->objectForKey("key"), c.storedAfter);
        EXPECT_EQ(manager->cachedResults()["key"], Value(c.expected));
    }

    manager->reloadValues();
    defaults()->removeObjectForKey("key");
    uniform = 96;
    EXPECT_EQ(manager->testValueForKey("key", std::vector<int>{95, 100}, 0), 1);
}

TEST_F(QZABTestManagerTest, AChoiceIsStickyAcrossReloadsAndIsNeverDrawnAgain)
{
    EXPECT_EQ(manager->testValueForKey("sticky", 2, 1), 1);
    manager->setRandomizesChoices(true);
    random32 = 0;
    EXPECT_EQ(manager->testValueForKey("sticky", 2, 0), 1);
    manager->reloadValues();
    EXPECT_EQ(manager->testValueForKey("sticky", 2, 0), 1);
    EXPECT_EQ(draws, 0);
    // The store survives the process.
    NSUserDefaults::resetStandardUserDefaults();
    EXPECT_EQ(defaults()->objectForKey("sticky"), choice(1, false));
}

TEST_F(QZABTestManagerTest, ThreadsAskingANewKeyAtOnceAgreeOnOneValue)
{
    std::atomic<std::uint32_t> next{0};
    manager->setRandomSourceForTesting([&] { return next++; }, nullptr);
    manager->setRandomizesChoices(true);
    std::vector<int> answers(8, -1);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] { answers[t] = manager->testValueForKey("shared", 1000, 0); });
    for (auto& thread : threads) thread.join();
    for (int answer : answers) EXPECT_EQ(answer, answers[0]);
    EXPECT_EQ(next.load(), 1u);
    EXPECT_EQ(defaults()->objectForKey("shared"), choice(answers[0], false));
}

}  // namespace
