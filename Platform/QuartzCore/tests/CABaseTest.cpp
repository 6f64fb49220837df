#include "QuartzCore/CABase.h"

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchRunLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

TEST(CABaseTest, MediaTimeReadsEachFrameInSecondsAsTheClockAdvances)
{
    DispatchClock::useVirtualTime(true);
    CFTimeInterval start = CACurrentMediaTime();
    std::vector<CFTimeInterval> frames;
    auto observer = DispatchRunLoop::addObserver(DispatchRunLoopStage::Animation,
                                                 [&] { frames.push_back(CACurrentMediaTime() - start); });
    DispatchClock::advance(0.05);
    DispatchRunLoop::removeObserver(observer);
    ASSERT_EQ(frames.size(), 3u);
    for (size_t i = 0; i < frames.size(); ++i) EXPECT_NEAR(frames[i], (i + 1) / 60.0, 1e-8) << "frame " << i + 1;
    EXPECT_NEAR(CACurrentMediaTime() - start, 0.05, 1e-8);
    DispatchClock::useVirtualTime(false);

    CFTimeInterval before = CACurrentMediaTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GE(CACurrentMediaTime() - before, 0.005) << "real time moves by itself";
}

}  // namespace
