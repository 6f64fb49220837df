// Releasing a GL instance: the blocks it queued still run, in order, then every texture it owns is
// deleted on its sub-queue; the manager's count drops at once, and a tear-down that the release
// starts comes after the cleanup. Textures are looked for from a block of a younger sub-queue.
#include "TesselSDKImaging/tests/QZGLInstanceTestSupport.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

#include <algorithm>
#include <vector>

using qz_test::loadImage;
using qz_test::makeQuadrants;
using qz_test::runGL;
using qz_test::runOnInstance;

namespace {

using QZOpenGLInstanceReleaseTest = GLManagerTest;

std::shared_ptr<QZOpenGLInstance> loadedInstance(std::size_t width, std::size_t height)
{
    auto instance =
        QZOpenGLInstance::make(CGSizeMake(CGFloat(width), CGFloat(height)), QopGLRenderingModeDefault, QZQueueTypeSDK);
    if (instance && !loadImage(instance, makeQuadrants(width, height))) return nullptr;
    return instance;
}

// The source and processing textures the instance's state names now.
std::vector<GLuint> imageTextures(const std::shared_ptr<QZOpenGLInstance>& instance)
{
    std::vector<GLuint> names;
    runOnInstance(instance, [&] {
        const QopGLData_t* record = instance->glData();
        names = {record->glImageData.texID, record->glRenderingObjects.processedTexture1,
                 record->glRenderingObjects.processedTexture2};
    });
    return names;
}

// How many of the names are live textures, seen from a block of a new sub-queue.
int liveTextures(const std::shared_ptr<QZOpenGLManager>& manager, const std::vector<GLuint>& names)
{
    int live = -1;
    if (!runGL(manager, [&] {
            live = int(std::count_if(names.begin(), names.end(), [](GLuint name) { return glIsTexture(name); }));
        }))
        return -1;
    return live;
}

TEST_F(QZOpenGLInstanceReleaseTest, QueuedBlocksRunInOrderBeforeTheTexturesAreDeleted)
{
    auto instance = loadedInstance(16, 16);
    ASSERT_TRUE(instance);
    instance->cacheCurrentSourceImage();
    std::vector<GLuint> names = imageTextures(instance);
    ASSERT_TRUE(
        runOnInstance(instance, [&] { names.push_back(instance->storedSourceRenderingObjects()->textureID()); }));
    ASSERT_EQ(std::count(names.begin(), names.end(), 0u), 0);

    // Written on the GL thread only, read once the queue has moved on.
    std::vector<int> order;
    std::vector<int> liveInBlocks;
    for (int i = 0; i < 4; ++i)
        instance->enqueueBlockOnGLThread([&order, &liveInBlocks, names, i] {
            order.push_back(i);
            liveInBlocks.push_back(
                int(std::count_if(names.begin(), names.end(), [](GLuint name) { return glIsTexture(name); })));
        });
    const int holders = manager_->managerRetainCount();
    instance.reset();
    EXPECT_EQ(manager_->managerRetainCount(), holders - 1) << "the count waited for the queued blocks";

    EXPECT_EQ(liveTextures(manager_, names), 0);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(liveInBlocks, (std::vector<int>{4, 4, 4, 4}));
}

TEST_F(QZOpenGLInstanceReleaseTest, ThumbnailSetsLeftInTheDictionaryAreDeletedToo)
{
    for (const bool leftActive : {false, true}) {
        SCOPED_TRACE(leftActive ? "thumbnail active" : "thumbnail inactive");
        auto instance = loadedInstance(32, 32);
        ASSERT_TRUE(instance);
        std::vector<GLuint> names = imageTextures(instance);
        instance->createCachedThumbnailImageTexture(CGSizeMake(16, 16));
        ASSERT_TRUE(runOnInstance(instance, [&] {
            const auto& set = instance->activeThumbnailRenderingObjectsDict().at({16.0f, 16.0f});
            names.insert(names.end(), {set->textureID(), set->processingTexture1(), set->processingTexture2()});
            if (leftActive) instance->setThumbnailRenderingObjectsOfSizeActiveFromGLQueue(CGSizeMake(16, 16));
        }));
        ASSERT_EQ(liveTextures(manager_, names), 6);
        instance.reset();
        EXPECT_EQ(liveTextures(manager_, names), 0);
    }
}

TEST_F(QZOpenGLInstanceReleaseTest, ASecondThumbnailOfOneSizeReplacesTheFirstAndFreesItsTextures)
{
    auto instance = loadedInstance(32, 32);
    ASSERT_TRUE(instance);
    const auto thumbnailTextures = [&] {
        std::vector<GLuint> names;
        EXPECT_TRUE(runOnInstance(instance, [&] {
            const auto& set = instance->activeThumbnailRenderingObjectsDict().at({16.0f, 16.0f});
            names = {set->textureID(), set->processingTexture1(), set->processingTexture2()};
        }));
        return names;
    };
    instance->createCachedThumbnailImageTexture(CGSizeMake(16, 16));
    const std::vector<GLuint> first = thumbnailTextures();
    instance->createCachedThumbnailImageTexture(CGSizeMake(16, 16));
    const std::vector<GLuint> second = thumbnailTextures();
    EXPECT_EQ(liveTextures(manager_, first), 0) << "the replaced thumbnail's textures leaked";
    EXPECT_EQ(liveTextures(manager_, second), 3);

    // While the thumbnail is the current image, asking again keeps it: its textures are in use.
    ASSERT_TRUE(runOnInstance(
        instance, [&] { instance->setThumbnailRenderingObjectsOfSizeActiveFromGLQueue(CGSizeMake(16, 16)); }));
    instance->createCachedThumbnailImageTexture(CGSizeMake(16, 16));
    EXPECT_EQ(thumbnailTextures(), second);
    EXPECT_EQ(liveTextures(manager_, second), 3);
    instance.reset();
    EXPECT_EQ(liveTextures(manager_, second), 0);
}

TEST_F(QZOpenGLInstanceReleaseTest, AnInstanceReleasedWhilePausedStillRunsItsBlocksAndCleansUp)
{
    auto instance = loadedInstance(16, 16);
    ASSERT_TRUE(instance);
    const std::vector<GLuint> names = imageTextures(instance);
    instance->pauseRendering();
    std::atomic<bool> ran{false};
    std::atomic<int> liveWhenRun{-1};
    instance->enqueueBlockOnGLThread([&, names] {
        liveWhenRun = int(std::count_if(names.begin(), names.end(), [](GLuint name) { return glIsTexture(name); }));
        ran = true;
    });
    instance.reset();
    EXPECT_EQ(liveTextures(manager_, names), 0);
    EXPECT_TRUE(ran.load()) << "the block queued while paused never ran";
    EXPECT_EQ(liveWhenRun.load(), 3);
}

TEST_F(QZOpenGLInstanceReleaseTest, ATearDownTheReleaseStartsRunsAfterTheCleanup)
{
    QZPhotoEditorCustomization::purgeGPUMemoryWhenPossible(true);
    auto instance = loadedInstance(16, 16);
    ASSERT_TRUE(instance);
    ASSERT_EQ(manager_->managerRetainCount(), 1);
    std::atomic<bool> lastBlockRan{false};
    instance->enqueueBlockOnGLThread([&] { lastBlockRan = true; });
    const std::size_t callsBefore = qz_test::glCalls().size();
    instance.reset();
    EXPECT_FALSE(manager_->hasSetup()) << "the last release did not tear down";
    ASSERT_TRUE(qz_test::drainGPUQueue());
    EXPECT_TRUE(lastBlockRan.load());

    std::vector<qz_test::GLCall> calls = qz_test::glCalls();
    calls.erase(calls.begin(), calls.begin() + long(callsBefore));
    const auto destroy =
        std::find_if(calls.begin(), calls.end(), [](const auto& c) { return c.name == "QopGLDestroy"; });
    ASSERT_NE(destroy, calls.end());
    const auto cleanup =
        std::find_if(calls.begin(), destroy, [](const auto& c) { return c.name == "QopGLDeleteProcessingObjects"; });
    ASSERT_NE(cleanup, destroy) << "the cleanup did not run before the destroy block";
    EXPECT_TRUE(cleanup->contextCurrent);
    EXPECT_EQ(cleanup->thread, destroy->thread);
}

}  // namespace
