// The pause protocol: another thread asks running GL work to stop at its next pause point and
// releases it later; with no request a pause point costs nothing measurable.
#include "QopGLTestSupport.h"

#include "QopLite/QopGLBitmapBlend.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace qop_test {
namespace {

using Clock = std::chrono::steady_clock;

bool load(bool &flag) { return std::atomic_ref<bool>(flag).load(); }
void store(bool &flag, bool value) { std::atomic_ref<bool>(flag).store(value); }

// Polls a flag until it holds or the time runs out.
bool waitFor(bool &flag, bool value, std::chrono::milliseconds limit)
{
    const auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        if (load(flag) == value)
            return true;
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return load(flag) == value;
}

TEST(GLPauseTest, PausePointWaitsWhileTheFlagIsSet)
{
    QopGLData_t record{};
    store(record.shouldPauseGLRendering, true);
    std::atomic<bool> returned{false};
    std::thread glThread([&] {
        QopGLPauseExecutionIfNecessary(&record);
        returned = true;
    });
    EXPECT_TRUE(waitFor(record.hasPausedGLRendering, true, std::chrono::milliseconds(100)));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(returned.load()) << "the pause point returned while the flag was still set";
    store(record.shouldPauseGLRendering, false);
    glThread.join();
    EXPECT_TRUE(returned.load());
    EXPECT_FALSE(load(record.hasPausedGLRendering));
}

TEST(GLPauseTest, ClearFlagCostsNothingMeasurable)
{
    QopGLData_t record{};
    constexpr int kCalls = 200000;
    const auto start = Clock::now();
    for (int i = 0; i < kCalls; ++i)
        QopGLPauseExecutionIfNecessary(&record);
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    EXPECT_LT(elapsed.count(), 50000) << "about a microsecond a call would be far more than a flag test";
    EXPECT_FALSE(load(record.hasPausedGLRendering));
}

using GLPauseRenderTest = GLTest;

// Render passes on the GL thread (this one) stop at the next pause point after the request from
// another thread, and finish once it is withdrawn.
TEST_F(GLPauseRenderTest, RunningPassesStopAtTheNextPausePointAndResume)
{
    reinitialise(QopGLDeviceGPUSpeedSlow, QopGLRenderingModeDefault);
    const TestBitmap input = makeRamp(64, 48);
    TestBitmap image = gpuBitmap(input);
    QopGLData_t *record = gl();

    std::atomic<bool> stop{false};
    std::atomic<bool> pausedInTime{false}, stayedPaused{false}, wasMakingGLCalls{false};
    std::atomic<int> passesWhenPaused{-1};
    std::atomic<int> passes{0};
    std::thread background([&] {
        while (passes.load() < 2)
            std::this_thread::yield();
        store(record->shouldPauseGLRendering, true);
        pausedInTime = waitFor(record->hasPausedGLRendering, true, std::chrono::milliseconds(100));
        wasMakingGLCalls = load(record->isMakingGLCalls);
        passesWhenPaused = passes.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stayedPaused = passes.load() == passesWhenPaused.load() && load(record->hasPausedGLRendering);
        store(record->shouldPauseGLRendering, false);
        stop = true;
    });

    QopGLCreateEffect(image.get());
    while (!stop.load()) {
        QopGLDrawCurrentBitmapIdentity(record);
        ++passes;
    }
    addInvertPass(record);
    QopGLFinalizeEffect(image.get());
    background.join();

    EXPECT_TRUE(pausedInTime.load());
    EXPECT_TRUE(wasMakingGLCalls.load());
    EXPECT_TRUE(stayedPaused.load());
    EXPECT_FALSE(load(record->hasPausedGLRendering));
    EXPECT_TRUE(image == inverted(input));
}

} // namespace
} // namespace qop_test
