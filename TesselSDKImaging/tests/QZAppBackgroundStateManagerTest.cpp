// GL work paused in the background: the notifications, posted on the main thread, drive the pause
// flags of the shared record while a pass runs on the GPU queue.
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDKImaging/QZAppBackgroundStateManager.h"
#include "QopTestBitmap.h"

#include "Foundation/NSNotificationCenter.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLColor.h"
#include "UIKit/UIApplication.h"

#include <chrono>

using Clock = std::chrono::steady_clock;

namespace {

bool load(bool& flag)
{
    return std::atomic_ref<bool>(flag).load();
}

void store(bool& flag, bool value)
{
    std::atomic_ref<bool>(flag).store(value);
}

double post(const char* name)
{
    const auto start = Clock::now();
    NSNotificationCenter::defaultCenter()->postNotificationName(name);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Repeats identity passes until told to stop (at least one), then a saturation pass, and reads
// the result back: the pixels do not depend on how many identity passes ran.
struct PausablePass {
    std::atomic<int> passes{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    qop_test::TestBitmap image = qop_test::makeRamp(64, 48);

    void run(QopGLData_t* record)
    {
        QopColorMatrix_t matrix;
        QopColorMatrixSetIdentity(matrix);
        QopColorMatrixAdjSaturation(matrix, 0.5f);
        image.get()->glData = record;
        QopGLCreateEffect(image.get());
        do {
            QopGLDrawCurrentBitmapIdentity(record);
            ++passes;
        } while (!stop.load());
        QopGLAddColorTransform(matrix, record);
        QopGLFinalizeEffect(image.get());
        image.get()->glData = nullptr;
        finished = true;
    }
};

}  // namespace

// "iPod3,1" is a Slow device: every pass, however small the image, draws 3 x 3 tiles with a pause
// point after each.
class BackgroundPauseTest : public GLManagerTest {
protected:
    void configureDevice() override { PlatformSettings::setMachineName("iPod3,1"); }
};

TEST_F(BackgroundPauseTest, RunningPassWaitsInTheBackgroundAndFinishesAsIfUninterrupted)
{
    ASSERT_EQ(manager_->glData()->gpuSpeed, QopGLDeviceGPUSpeedSlow);
    QopGLData_t* record = manager_->glData();

    PausablePass uninterrupted;
    uninterrupted.stop = true;
    ASSERT_TRUE(qz_test::runGL(manager_, [&] { uninterrupted.run(record); }));

    PausablePass paused;
    const int queue = manager_->generateQueueWithType(QZQueueTypeSDK);
    manager_->addBlock([&] { paused.run(record); }, queue);
    manager_->destroyQueueWithIdentifier(queue);
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return paused.passes.load() >= 2; }, qz_test::kTimeout));

    post(UIApplicationDidEnterBackgroundNotification);
    EXPECT_TRUE(load(record->shouldPauseGLRendering));
    EXPECT_TRUE(load(record->hasPausedGLRendering)) << "the observer returned before the pass reached a pause point";
    const int passesWhenPaused = paused.passes.load();
    const auto until = Clock::now() + std::chrono::milliseconds(100);
    DispatchRunLoop::runUntil([&] { return Clock::now() >= until; }, 1);
    EXPECT_EQ(paused.passes.load(), passesWhenPaused) << "the GL block went on in the background";
    EXPECT_FALSE(paused.finished.load());

    paused.stop = true;
    post(UIApplicationWillEnterForegroundNotification);
    EXPECT_FALSE(load(record->shouldPauseGLRendering));
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return paused.finished.load(); }, qz_test::kTimeout));
    EXPECT_FALSE(load(record->hasPausedGLRendering));
    EXPECT_GT(paused.passes.load(), uninterrupted.passes.load());
    EXPECT_TRUE(paused.image == uninterrupted.image) << "the paused run drew other pixels";
}

TEST_F(GLManagerTest, BackgroundWithNoGLWorkRunningDoesNotWait)
{
    QopGLData_t* record = manager_->glData();
    EXPECT_LT(post(UIApplicationDidEnterBackgroundNotification), 0.25) << "waited though no GL work ran";
    EXPECT_TRUE(load(record->shouldPauseGLRendering));
    post(UIApplicationWillEnterForegroundNotification);
    EXPECT_FALSE(load(record->shouldPauseGLRendering));
}

// GL work that never reaches a pause point is given up on after 10,000 waits of 30 microseconds.
TEST_F(GLManagerTest, BackgroundGivesUpOnWorkThatNeverPauses)
{
    QopGLData_t* record = manager_->glData();
    store(record->isMakingGLCalls, true);
    const double waited = post(UIApplicationDidEnterBackgroundNotification);
    store(record->isMakingGLCalls, false);
    post(UIApplicationWillEnterForegroundNotification);
    EXPECT_GE(waited, 0.3);
    EXPECT_LT(waited, 5.0) << "the wait is bounded";
    EXPECT_FALSE(load(record->hasPausedGLRendering));
}

// After a tear-down the observers are gone and the record is freed: notifications touch nothing.
TEST_F(GLManagerTest, NotificationsAfterATearDownChangeNothing)
{
    std::weak_ptr<QZAppBackgroundStateManager> observer = manager_->backgroundStateManager();
    ASSERT_FALSE(observer.expired());
    QZOpenGLManager::requestOpenGLDataPurge();
    manager_->retainManager();
    manager_->releaseManager();
    EXPECT_TRUE(observer.expired());
    ASSERT_TRUE(qz_test::drainGPUQueue());
    const size_t registrations = NSNotificationCenter::defaultCenter()->registrationCount();
    EXPECT_LT(post(UIApplicationDidEnterBackgroundNotification), 0.25);
    post(UIApplicationWillEnterForegroundNotification);
    EXPECT_EQ(NSNotificationCenter::defaultCenter()->registrationCount(), registrations);
    EXPECT_FALSE(manager_->hasSetup()) << "a notification set the GL up";
}
