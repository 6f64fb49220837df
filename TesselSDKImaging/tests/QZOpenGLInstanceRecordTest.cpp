// The GL instance's smaller operations on a real context: deferred processing objects, size
// changes (refused for sizes that are no pixel sizes), which completions hold the GPU queue,
// cancelling, the rendering-objects sets of a headless instance and mask textures.
#include "TesselSDKImaging/tests/QZGLInstanceTestSupport.h"

#include "QopLite/QopGLMask.h"

#include <chrono>
#include <functional>
#include <limits>
#include <thread>

using qz_test::bitmapOf;
using qz_test::bytesOf;
using qz_test::loadImage;
using qz_test::makeQuadrants;
using qz_test::readBack;
using qz_test::runOnInstance;
using qz_test::runToCompletion;

namespace {

using QZOpenGLInstanceRecordTest = GLManagerTest;

std::shared_ptr<QZOpenGLInstance> makeInstance(CGSize size, QZQueueType type = QZQueueTypeSDK)
{
    return QZOpenGLInstance::make(size, QopGLRenderingModeDefault, type);
}

TEST_F(QZOpenGLInstanceRecordTest, ProcessingObjectsMayBeMadeAfterTheLoad)
{
    const qop_test::TestBitmap input = makeQuadrants(20, 14);
    auto instance = makeInstance(CGSizeMake(20, 14));
    ASSERT_TRUE(instance);
    ASSERT_TRUE(runToCompletion(
        [&](dispatch_block_t done) { instance->setInputImageData(bytesOf(input), CGSizeMake(20, 14), false, done); }));
    GLuint deferred = 1, made = 0;
    ASSERT_TRUE(runOnInstance(instance, [&] { deferred = instance->glData()->glRenderingObjects.processedTexture1; }));
    instance->setupProcessingObjects();
    ASSERT_TRUE(runOnInstance(instance, [&] { made = instance->glData()->glRenderingObjects.processedTexture1; }));
    EXPECT_EQ(deferred, 0u);
    EXPECT_NE(made, 0u);
    ASSERT_TRUE(runToCompletion([&](dispatch_block_t done) { instance->renderIdentityImageWithCompletion(done); }));
    EXPECT_TRUE(bitmapOf(readBack(instance, true).value_or(nullptr)) == input);
}

TEST_F(QZOpenGLInstanceRecordTest, SizeChangesTakeWholePixelsAndRefuseTheRest)
{
    auto instance = makeInstance(CGSizeMake(20, 14));
    ASSERT_TRUE(instance);
    ASSERT_TRUE(loadImage(instance, makeQuadrants(20, 14)));
    const CGFloat nan = std::numeric_limits<CGFloat>::quiet_NaN();
    for (const CGSize refused : {CGSizeMake(-8, 8), CGSizeMake(8, nan), CGSizeMake(1e12f, 8)}) {
        instance->setDestinationImageSizeAndClear(refused);
        instance->setOriginalImageSizeAndClear(refused);
    }
    ASSERT_TRUE(runOnInstance(instance, [] {}));
    EXPECT_EQ(instance->currentImageSize().width, 20);
    EXPECT_EQ(instance->currentImageSize().height, 14);

    instance->setDestinationImageSizeAndClear(CGSizeMake(10.7f, 6.2f));
    instance->setShouldBilinearSampleImage(true);
    GLint filter = 0;
    ASSERT_TRUE(runOnInstance(instance, [&] {
        glBindTexture(GL_TEXTURE_2D, instance->glData()->glImageData.texID);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
        glBindTexture(GL_TEXTURE_2D, 0);
    }));
    EXPECT_EQ(instance->currentImageSize().width, 10);
    EXPECT_EQ(instance->currentImageSize().height, 6);
    EXPECT_EQ(filter, GL_LINEAR);
}

TEST_F(QZOpenGLInstanceRecordTest, SynchronousCompletionsRunBeforeTheNextBlock)
{
    const qop_test::TestBitmap input = makeQuadrants(8, 8);
    auto instance = makeInstance(CGSizeMake(8, 8));
    ASSERT_TRUE(instance);
    using Operation = std::function<void(dispatch_block_t)>;
    const std::pair<const char*, Operation> operations[] = {
        {"load", [&](dispatch_block_t c) { instance->setInputImageData(bytesOf(input), CGSizeMake(8, 8), true, c); }},
        {"show current", [&](dispatch_block_t c) { instance->showCurrentImageWithCompletion(c); }},
        {"show source", [&](dispatch_block_t c) { instance->showSourceImageWithCompletion(c); }},
        {"show last", [&](dispatch_block_t c) { instance->showLastRenderedImageWithCompletion(c); }},
        {"reset", [&](dispatch_block_t c) { instance->resetCurrentSourceImageToCachedWithCompletion(c); }},
        {"main-thread block", [&](dispatch_block_t c) { instance->enqueueMainThreadBlockOnGLThread(c); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        std::atomic<bool> completed{false}, onMain{false}, nextSawIt{false}, nextRan{false};
        operation([&] {
            onMain = DispatchMainQueue::isMainThread();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            completed = true;
        });
        instance->enqueueBlockOnGLThread([&] {
            nextSawIt = completed.load();
            nextRan = true;
        });
        ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return nextRan.load(); }, qz_test::kTimeout));
        EXPECT_TRUE(nextSawIt.load());
        EXPECT_TRUE(onMain.load());
    }
}

TEST_F(QZOpenGLInstanceRecordTest, CancelDropsWhatHasNotStarted)
{
    auto instance = makeInstance(CGSizeMake(8, 8));
    ASSERT_TRUE(instance);
    std::atomic<int> ran{0};
    instance->pauseRendering();
    instance->enqueueBlockOnGLThread([&] { ++ran; });
    instance->cancelRendering();
    instance->resumeRendering();
    ASSERT_TRUE(runOnInstance(instance, [&] { ran += 10; }));
    EXPECT_EQ(ran.load(), 10);
}

TEST_F(QZOpenGLInstanceRecordTest, AHeadlessInstancesSetsAreMadeShownAndDeleted)
{
    const qop_test::TestBitmap a = makeQuadrants(12, 10, 0), b = makeQuadrants(12, 10, 1);
    auto instance = makeInstance(CGSizeMake(12, 10), QZQueueTypeHeadless);
    ASSERT_TRUE(instance);
    CGImageRef image = CGImageCreateWithRGBABytes(12, 10, 48, bytesOf(a));
    auto first = QZOpenGLInstanceRenderingObjects::make(), second = QZOpenGLInstanceRenderingObjects::make();
    ASSERT_TRUE(runOnInstance(instance, [&] {
        instance->createRenderingObjectsWithInputImageFromGLQueue(image, bytesOf(a), first);
        instance->createRenderingObjectsWithInputImageFromGLQueue(image, bytesOf(b), second);
    }));
    CGImageRelease(image);
    EXPECT_EQ(first->width(), 12);
    EXPECT_EQ(first->height(), 10);
    EXPECT_EQ(second->processingTexture1(), first->processingTexture1()) << "one size, one pair";

    instance->setActiveRenderingObjects(second);
    EXPECT_TRUE(bitmapOf(readBack(instance, false).value_or(nullptr)) == b);
    instance->setActiveRenderingObjects(first);
    EXPECT_TRUE(bitmapOf(readBack(instance, false).value_or(nullptr)) == a);

    const GLuint secondSource = second->textureID();
    instance->deleteRenderingObjects(second);
    bool secondAlive = true, pairAlive = false;
    ASSERT_TRUE(runOnInstance(instance, [&] {
        secondAlive = glIsTexture(secondSource);
        pairAlive = glIsTexture(first->processingTexture1());
    }));
    EXPECT_FALSE(secondAlive);
    EXPECT_TRUE(pairAlive) << "the pair went while a set still used it";
    instance->deleteRenderingObjects(first);
}

TEST_F(QZOpenGLInstanceRecordTest, AMaskTextureIsDestroyedByItsName)
{
    auto instance = makeInstance(CGSizeMake(8, 8));
    ASSERT_TRUE(instance);
    GLuint mask = 0;
    ASSERT_TRUE(runOnInstance(instance, [&] { QopGLMaskCreate(&mask, 16, 16, instance->glData()); }));
    ASSERT_NE(mask, 0u);
    instance->destroyMaskRenderingObjects(QZOpenGLInstanceRenderingObjects::make(mask, 0, 0, 16, 16));
    bool alive = true;
    ASSERT_TRUE(runOnInstance(instance, [&] { alive = glIsTexture(mask); }));
    EXPECT_FALSE(alive);
}

}  // namespace
