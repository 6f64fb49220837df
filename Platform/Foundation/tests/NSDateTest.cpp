#include "Foundation/NSDate.h"

#include "Dispatch/DispatchClock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

class VirtualTime : public ::testing::Test {
protected:
    void SetUp() override { DispatchClock::useVirtualTime(true); }
    void TearDown() override { DispatchClock::useVirtualTime(false); }
};

using NSDateTest = VirtualTime;

TEST_F(NSDateTest, DatesReadTheOneClockFromTheDateATestSets)
{
    DispatchClock::setSecondsSince1970(1'400'000'000.25);
    auto start = NSDate::date();
    EXPECT_EQ(start->timeIntervalSince1970(), 1'400'000'000.25);
    auto inNinety = NSDate::dateWithTimeIntervalSinceNow(90);

    DispatchClock::advance(30);
    EXPECT_EQ(NSDate::date()->timeIntervalSince1970(), 1'400'000'030.25);
    EXPECT_NEAR(start->timeIntervalSinceNow(), -30, 1e-6);
    EXPECT_NEAR(inNinety->timeIntervalSinceNow(), 60, 1e-6);
    EXPECT_EQ(inNinety->timeIntervalSinceDate(*start), 90);
    EXPECT_EQ(start->dateByAddingTimeInterval(90)->timeIntervalSince1970(), inNinety->timeIntervalSince1970());
    EXPECT_EQ(start->description(), "2014-05-13 16:53:20 +0000");
    EXPECT_EQ(NSDate::dateWithTimeIntervalSince1970(-0.5)->description(), "1969-12-31 23:59:59 +0000");
}

TEST_F(NSDateTest, ComparisonsEqualityAndHash)
{
    struct Case {
        double a, b;
        NSComparisonResult order;
    };
    for (const Case& c : {Case{10, 20, NSOrderedAscending}, Case{20, 10, NSOrderedDescending},
                          Case{15.5, 15.5, NSOrderedSame}, Case{0.0, -0.0, NSOrderedSame}}) {
        SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
        auto a = NSDate::dateWithTimeIntervalSince1970(c.a);
        auto b = NSDate::dateWithTimeIntervalSince1970(c.b);
        EXPECT_EQ(a->compare(*b), c.order);
        EXPECT_EQ(b->compare(*a), static_cast<NSComparisonResult>(-c.order));
        bool same = c.order == NSOrderedSame;
        EXPECT_EQ(a->isEqualToDate(*b), same);
        EXPECT_EQ(a->isEqual(*b), same);
        if (same) {
            EXPECT_EQ(a->hash(), b->hash());
        }
    }
    auto date = NSDate::dateWithTimeIntervalSince1970(1);
    auto notADate = NSObject::create<NSObject>();
    EXPECT_FALSE(date->isEqual(*notADate));
}

TEST(NSDateRealClockTest, NowIsTheSystemDate)
{
    ASSERT_FALSE(DispatchClock::isVirtual());
    EXPECT_NEAR(NSDate::date()->timeIntervalSince1970(), static_cast<double>(std::time(nullptr)), 2.0);
}

}  // namespace
