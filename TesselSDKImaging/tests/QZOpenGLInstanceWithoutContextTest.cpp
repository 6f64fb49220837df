// A GL instance where no GL context can be made (the EGL route "none"): creation gives nothing and
// holds nothing, so the host can fall back to the CPU. Runs on every machine.
#include "TesselSDKImaging/QZOpenGLInstance.h"
#include "TesselSDKImaging/QZOpenGLManager.h"

#include "Foundation/NSLogCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(QZOpenGLInstanceWithoutContextTest, CreationGivesNilAndRetainsNothing)
{
    setenv("TESSEL_EGL_PLATFORM", "none", 1);
    NSLogCapture log;
    std::shared_ptr<QZOpenGLManager> manager = QZOpenGLManager::sharedOpenGLManager();
    ASSERT_TRUE(manager->setupFailed());
    for (const CGSize size : {CGSizeMake(0, 0), CGSizeMake(64, 48)}) {
        EXPECT_FALSE(QZOpenGLInstance::make(size, QopGLRenderingModeDefault, QZQueueTypeSDK));
        EXPECT_EQ(manager->managerRetainCount(), 0);
    }
    unsetenv("TESSEL_EGL_PLATFORM");
}
