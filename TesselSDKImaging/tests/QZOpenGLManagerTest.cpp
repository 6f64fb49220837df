// The GL manager on a real context: holders and purges, the warm-up order, tear-down and set-up
// again in one process, the GL thread, and presenting the record's renderbuffer.
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDKImaging/QZAppBackgroundStateManager.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "QopTestBitmap.h"

#include "GLES/CAEAGLLayer.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLColor.h"

#include <algorithm>
#include <functional>

using qz_test::drainGPUQueue;
using qz_test::glCalls;
using qz_test::runGL;

namespace {

int countCalls(const std::string& name)
{
    const std::vector<qz_test::GLCall> calls = glCalls();
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const auto& c) { return c.name == name; }));
}

// GL work succeeds on the manager's current set-up: an effect on its record gives the CPU's pixels.
::testing::AssertionResult glWorkSucceeds(const std::shared_ptr<QZOpenGLManager>& manager)
{
    const qop_test::TestBitmap input = qop_test::makeRamp(24, 16);
    qop_test::TestBitmap cpu = input, gpu = input;
    QopColorMatrix_t matrix;
    QopColorMatrixSetIdentity(matrix);
    QopColorMatrixAdjSaturation(matrix, 0.25f);
    QopBitmapColorMatrixTransform(cpu.get(), matrix);
    QopGLState state = QopGLStateFailed;
    GLenum error = GL_INVALID_OPERATION;
    if (!runGL(manager, [&] {
            QopGLData_t* record = manager->glData();
            gpu.get()->glData = record;
            QopGLCreateEffect(gpu.get());
            QopGLAddColorTransform(matrix, record);
            QopGLFinalizeEffect(gpu.get());
            gpu.get()->glData = nullptr;
            state = record->state;
            error = glGetError();
        }))
        return ::testing::AssertionFailure() << "the GL block did not run";
    if (state != QopGLStateOk || error != GL_NO_ERROR)
        return ::testing::AssertionFailure() << "record state " << state << ", GL error 0x" << std::hex << error;
    if (gpu == input) return ::testing::AssertionFailure() << "the effect changed nothing";
    return ::testing::AssertionSuccess();
}

}  // namespace

// One editor's GL instances come and go; the context and record stay unless a purge is asked for.
TEST_F(GLManagerTest, HoldersAndPurgesFollowTheLifecycle)
{
    enum Action { Retain, Release, RequestPurge, PurgeOptionOn };
    struct Step {
        Action action;
        int count;      // holders afterwards
        bool setUp;     // hasSetup afterwards
        bool newSetUp;  // a context other than the one before the step
    };
    const Step steps[] = {
        {Retain, 1, true, false},       {Retain, 2, true, false},    // two holders, one set-up
        {Release, 1, true, false},      {Release, 0, true, false},   // no purge: everything stays
        {Release, 0, true, false},                                   // a release at 0 changes nothing
        {RequestPurge, 0, true, false},                              // asked while nobody holds it ...
        {Retain, 1, true, false},       {Release, 0, false, false},  // ... it acts at the end of the next hold
        {Retain, 1, true, true},        {PurgeOptionOn, 1, true, false},
        {Release, 0, false, false},     {Retain, 1, true, true},
    };
    const CGSize maxSize = manager_->maxSize();
    EXPECT_GT(maxSize.width, 0);
    EXPECT_EQ(manager_->prewarmQueueIdentifer() > 0, true);
    std::shared_ptr<EAGLContext> context = manager_->glContext();
    QopGLData_t* record = manager_->glData();
    int step = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE("step " + std::to_string(step++));
        switch (s.action) {
        case Retain: EXPECT_EQ(manager_->retainManager(), manager_); break;
        case Release: manager_->releaseManager(); break;
        case RequestPurge: QZOpenGLManager::requestOpenGLDataPurge(); break;
        case PurgeOptionOn: QZPhotoEditorCustomization::purgeGPUMemoryWhenPossible(true); break;
        }
        EXPECT_EQ(manager_->managerRetainCount(), s.count);
        EXPECT_EQ(manager_->hasSetup(), s.setUp);
        EXPECT_EQ(manager_->priorityQueue() != nullptr, s.setUp);
        EXPECT_EQ(manager_->backgroundStateManager() != nullptr, s.setUp);
        if (!s.setUp) {
            EXPECT_FALSE(manager_->glContext());
            EXPECT_FALSE(manager_->purgeFlag()) << "the purge request outlived its tear-down";
            EXPECT_EQ(manager_->prewarmQueueIdentifer(), -1);
            ASSERT_TRUE(drainGPUQueue());
            EXPECT_EQ(manager_->glData(), nullptr) << "the destroy block left the record";
            EXPECT_EQ(manager_->maxSize().width, maxSize.width) << "maxSize is kept after a tear-down";
            context = nullptr;
            continue;
        }
        if (s.action == RequestPurge) {
            EXPECT_TRUE(manager_->purgeFlag());
        }
        EXPECT_EQ(manager_->glContext() != context, s.newSetUp);
        if (s.newSetUp) {
            EXPECT_TRUE(manager_->glData());
            EXPECT_GT(manager_->prewarmQueueIdentifer(), 0);
            EXPECT_TRUE(glWorkSucceeds(manager_)) << "GL work fails on a set-up made after a tear-down";
        } else {
            EXPECT_EQ(manager_->glData(), record);
        }
        context = manager_->glContext();
        record = manager_->glData();
    }
    EXPECT_EQ(countCalls("QopGLInitialize"), 3);
    EXPECT_EQ(countCalls("QopGLDestroy"), 2);
}

TEST_F(GLManagerTest, LoadThenTheLoadersInTableOrderRunBeforeABlockOfANewerSubQueue)
{
    // SetUp has drained the queue: make the manager set up again and watch that set-up.
    const size_t before = glCalls().size();
    QZOpenGLManager::requestOpenGLDataPurge();
    manager_->retainManager();
    manager_->releaseManager();
    manager_->retainManager();
    ASSERT_TRUE(runGL(manager_, [] { qz_test::recordGLCall("first block of a GL instance"); }));

    std::vector<std::string> expected = {"QopGLDestroy", "QopGLInitialize"};
    const char* loaders[] = {"QopGLLoadBitmapBlendShaders",
                             "QopGLLoadColorMapAndTransformShaders",
                             "QopGLLoadIntensityMapShaders",
                             "QopGLLoadVignetteShaders",
                             "QopGLLoadEnhanceAndBlurShaders",
                             "QopGLLoadLABShaders",
                             "QopGLLoadSpotAndDrawingToolShaders",
                             "QopGLLoadFlareShaders1",
                             "QopGLLoadFlareShaders2",
                             "QopGLLoadFlareShaders3",
                             "QopGLLoadBorderShaders",
                             "QopGLLoadGradientShaders",
                             "QopGLLoadMiscellaneousShaders1",
                             "QopGLLoadMiscellaneousShaders2"};
    expected.insert(expected.end(), std::begin(loaders), std::end(loaders));
    expected.push_back("first block of a GL instance");
    const std::vector<qz_test::GLCall> calls = glCalls();
    std::vector<std::string> seen;
    for (size_t i = before; i < calls.size(); ++i) {
        seen.push_back(calls[i].name);
        EXPECT_TRUE(calls[i].contextCurrent) << calls[i].name << " ran without a current context";
        EXPECT_EQ(calls[i].thread, calls[before].thread) << calls[i].name << " ran on another thread";
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(QZOpenGLManager::prewarmFunctions().size(), 14u);
    manager_->releaseManager();
}

// A tear-down queued just before a set-up: its destroy block must free the old record only.
TEST_F(GLManagerTest, TearDownFollowedAtOnceBySetUpFreesOnlyTheOldRecord)
{
    manager_->retainManager();
    QopGLData_t* oldRecord = manager_->glData();
    std::shared_ptr<EAGLContext> oldContext = manager_->glContext();
    QZOpenGLManager::requestOpenGLDataPurge();
    manager_->releaseManager();
    manager_->retainManager();
    QopGLData_t* newRecord = manager_->glData();
    EXPECT_NE(manager_->glContext(), oldContext);
    ASSERT_TRUE(newRecord);
    ASSERT_TRUE(drainGPUQueue());
    EXPECT_EQ(manager_->glData(), newRecord) << "the old destroy block cleared the new record";
    EXPECT_TRUE(glWorkSucceeds(manager_));
    EXPECT_EQ(countCalls("QopGLDestroy"), 1);
    (void)oldRecord;
    manager_->releaseManager();
}

TEST_F(GLManagerTest, BeginOpenGLLoadRacingRetainSetsUpOnce)
{
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        QZOpenGLManager::requestOpenGLDataPurge();
        manager_->retainManager();
        manager_->releaseManager();
        ASSERT_FALSE(manager_->hasSetup());
        const int setUpsBefore = countCalls("QopGLInitialize");
        std::atomic<bool> go{false};
        std::thread loader([&] {
            while (!go.load()) std::this_thread::yield();
            QZOpenGLManager::beginOpenGLLoad();
        });
        go = true;
        manager_->retainManager();
        loader.join();
        EXPECT_EQ(manager_->managerRetainCount(), 1);
        ASSERT_TRUE(drainGPUQueue());
        EXPECT_EQ(countCalls("QopGLInitialize"), setUpsBefore + 1) << "set up twice";
        manager_->releaseManager();
    }
}

// Every GL block, a synchronous hop to the main thread among them, runs on the GPU queue's one
// thread with the manager's context current.
TEST_F(GLManagerTest, GLBlocksAllRunOnOneThreadWithTheContextCurrent)
{
    std::shared_ptr<EAGLContext> context = manager_->glContext();
    const int queue = manager_->generateQueueWithType(QZQueueTypeSDK);
    std::vector<std::thread::id> threads;  // GL thread only
    std::atomic<int> ran{0};
    bool allCurrent = true, handedOver = false, currentAfterHop = false, mainHadIt = false;
    for (int i = 0; i < 100; ++i) {
        manager_->addBlock(
            [&, i] {
                threads.push_back(std::this_thread::get_id());
                allCurrent =
                    allCurrent && EAGLContext::currentContext() == context && eglGetCurrentContext() != EGL_NO_CONTEXT;
                if (i == 50) {
                    handedOver = EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
                        mainHadIt = EAGLContext::setCurrentContext(context) && EAGLContext::setCurrentContext(nullptr);
                    });
                    currentAfterHop = EAGLContext::currentContext() == context;
                }
                ++ran;
            },
            queue);
    }
    manager_->destroyQueueWithIdentifier(queue);
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return ran.load() == 100; }, qz_test::kTimeout));
    ASSERT_EQ(threads.size(), 100u);
    for (const std::thread::id& id : threads) EXPECT_EQ(id, threads.front());
    EXPECT_NE(threads.front(), std::this_thread::get_id());
    EXPECT_TRUE(allCurrent);
    EXPECT_TRUE(handedOver);
    EXPECT_TRUE(mainHadIt);
    EXPECT_TRUE(currentAfterHop);
    EXPECT_FALSE(EAGLContext::currentContext());
    EXPECT_FALSE(EAGLContext::setCurrentContext(context)) << "the GL thread let its context go between blocks";
}

TEST_F(GLManagerTest, PresentCurrentRenderbufferPresentsOnlyTheRecordsRenderbuffer)
{
    auto layer = CAEAGLLayer::layer();
    layer->setBounds(CGRectMake(0, 0, 8, 4));
    GLuint renderbuffer = 0, framebuffer = 0;
    bool storage = false;
    ASSERT_TRUE(runGL(manager_, [&] {
        glGenRenderbuffers(1, &renderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
        storage = manager_->glContext()->renderbufferStorage(GL_RENDERBUFFER, layer);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        // The renderbuffer is not named in the record: nothing is presented.
        manager_->presentCurrentRenderbuffer();
    }));
    ASSERT_TRUE(storage);
    EXPECT_FALSE(layer->contents());

    ASSERT_TRUE(runGL(manager_, [&] {
        QopGLData_t* record = manager_->glData();
        QopGLSetRenderbuffer(record, renderbuffer, 8, 4);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        manager_->presentCurrentRenderbuffer();
        QopGLSetRenderbuffer(record, 0, 0, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, record->glRenderingObjects.offscreenFramebuffer);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &renderbuffer);
    }));
    ASSERT_TRUE(layer->contents());
    const uint8_t* pixel = CGImageGetBytes(layer->contents().get());
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
}
