// The GL manager where no GL context can be made (the EGL route "none"): the host carries on,
// the manager says so, and GL blocks do not run. Runs on every machine.
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDKImaging/QZAppBackgroundStateManager.h"

#include "Foundation/NSLogCapture.h"
#include "Foundation/NSNotificationCenter.h"
#include "UIKit/UIApplication.h"

#include <cstdlib>

TEST(QZOpenGLManagerWithoutContextTest, SetUpFailsWithoutAbortAndBlocksAreDropped)
{
    setenv("TESSEL_EGL_PLATFORM", "none", 1);
    NSLogCapture log;
    std::shared_ptr<QZOpenGLManager> manager = QZOpenGLManager::sharedOpenGLManager();
    EXPECT_TRUE(log.contains("An OpenGL context cannot be created: GL work is dropped and photo editing is not "
                             "available."));
    EXPECT_FALSE(log.contains("abort")) << "the process carries on: the log must not say otherwise";
    EXPECT_TRUE(log.contains("TESSEL_EGL_PLATFORM")) << "the reason is not logged";
    EXPECT_TRUE(manager->setupFailed());
    EXPECT_TRUE(manager->hasSetup());
    EXPECT_TRUE(manager->priorityQueue());
    EXPECT_FALSE(manager->glContext());
    EXPECT_EQ(manager->maxSize().width, 0);
    EXPECT_EQ(manager->maxSize().height, 0);
    ASSERT_TRUE(manager->glData());
    EXPECT_EQ(manager->glData()->state, QopGLStateFailed);
    EXPECT_EQ(manager->prewarmQueueIdentifer(), 0) << "a warm-up was queued without a context";

    // Counted as set up: no retain tries again.
    const size_t linesAfterSetUp = log.lines().size();
    manager->retainManager();
    QZOpenGLManager::beginOpenGLLoad();
    EXPECT_EQ(manager->managerRetainCount(), 1);
    EXPECT_EQ(log.lines().size(), linesAfterSetUp);

    std::atomic<bool> ran{false};
    const int queue = manager->generateQueueWithType(QZQueueTypeSDK);
    manager->addBlock([&] { ran = true; }, queue);
    manager->destroyQueueWithIdentifier(queue);
    ASSERT_TRUE(qz_test::drainGPUQueue());
    EXPECT_FALSE(ran.load());
    EXPECT_TRUE(log.contains("the block is dropped"));

    // The background observers find a record with nothing running.
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidEnterBackgroundNotification);
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationWillEnterForegroundNotification);

    // A tear-down frees the failed record; the next hold tries again (and fails again, logged).
    QZOpenGLManager::requestOpenGLDataPurge();
    manager->releaseManager();
    EXPECT_FALSE(manager->hasSetup());
    ASSERT_TRUE(qz_test::drainGPUQueue());
    EXPECT_EQ(manager->glData(), nullptr);
    manager->retainManager();
    EXPECT_TRUE(manager->setupFailed());
    manager->releaseManager();
    unsetenv("TESSEL_EGL_PLATFORM");
}

// A notification never starts a GL set-up.
TEST(QZOpenGLManagerWithoutContextTest, NotificationsBeforeAnySetUpChangeNothing)
{
    std::shared_ptr<QZAppBackgroundStateManager> observer = QZAppBackgroundStateManager::make();
    ASSERT_TRUE(observer->willResignActiveObserver());
    ASSERT_TRUE(observer->willEnterForegroundObserver());
    const size_t registrations = NSNotificationCenter::defaultCenter()->registrationCount();
    observer->registerForAppLevelNotifications();
    EXPECT_EQ(NSNotificationCenter::defaultCenter()->registrationCount(), registrations) << "registered twice";
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidEnterBackgroundNotification);
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationWillEnterForegroundNotification);
    EXPECT_FALSE(QZOpenGLManager::existingOpenGLManager());
    observer.reset();
    EXPECT_EQ(NSNotificationCenter::defaultCenter()->registrationCount(), registrations - 2);
}
