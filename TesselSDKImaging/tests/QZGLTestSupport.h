#pragma once
// Test support for the GL manager's suites: the shared manager set up on the built resource
// bundle (skipping, never passing, where no GL context can be made), GL blocks run on the GPU
// queue while the main thread pumps, and a log of the GL set-up calls that the suites wrap at link
// time (QZGLCallLog.cpp).

#include "TesselSDKImaging/QZOpenGLManager.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "GLES/EAGLContext.h"

#include <EGL/egl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace qz_test {

constexpr double kTimeout = 60;

// One wrapped call: what ran, on which thread, and whether a GL context was current there.
struct GLCall {
    std::string name;
    std::thread::id thread;
    bool contextCurrent = false;
};
std::vector<GLCall> glCalls();
void recordGLCall(std::string name);

// Runs the block on a new sub-queue of the GPU queue, through the manager (so with its context
// current), and pumps the main queue until it has run. false when it did not run in time.
inline bool runGL(const std::shared_ptr<QZOpenGLManager>& manager, dispatch_block_t block,
                  QZQueueType type = QZQueueTypeSDK)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    const int queue = manager->generateQueueWithType(type);
    manager->addBlock(
        [block = std::move(block), done] {
            block();
            done->store(true);
        },
        queue);
    manager->destroyQueueWithIdentifier(queue);
    return DispatchRunLoop::runUntil([&] { return done->load(); }, kTimeout);
}

// Pumps until everything queued on the GPU queue so far has run: a marker on the newest
// sub-queue of the last type runs after all of it.
inline bool drainGPUQueue()
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto queue = QZDispatchPriorityQueue::processingQueue();
    const int marker = queue->generateQueueForType(QZQueueTypeDestroy);
    queue->addBlock([done] { done->store(true); }, marker);
    queue->destroyQueueWithIdentifierAfterPendingBlocksComplete(marker);
    return DispatchRunLoop::runUntil([&] { return done->load(); }, kTimeout);
}

}  // namespace qz_test

// The shared manager, set up on this test's thread with the built resource bundle as the main
// bundle's; skips when the set-up found no GL context. Ends with the GPU queue drained and no GL
// error on it.
class GLManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformSettings::setMainBundlePath(
            std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
        configureDevice();
        manager_ = QZOpenGLManager::sharedOpenGLManager();
        if (manager_->setupFailed()) GTEST_SKIP() << "no GL context: " << EAGLContext::creationFailureReason();
        ASSERT_TRUE(qz_test::drainGPUQueue());
    }
    void TearDown() override
    {
        if (!manager_ || manager_->setupFailed() || !manager_->glContext()) return;
        ASSERT_TRUE(qz_test::drainGPUQueue());
        GLenum error = GL_NO_ERROR;
        ASSERT_TRUE(qz_test::runGL(manager_, [&] { error = glGetError(); }));
        EXPECT_EQ(error, GLenum(GL_NO_ERROR)) << "GL reported an error during the test";
    }
    // Runs before the manager is made (the device decides the GPU speed of the record).
    virtual void configureDevice() {}

    std::shared_ptr<QZOpenGLManager> manager_;
};
