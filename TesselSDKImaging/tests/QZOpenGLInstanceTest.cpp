// The GL instance on a real context: creation against the manager's maximum, the main road of an
// image (load, identity render, read-backs, a QopLite pass, commit), how completions reach the
// main thread, two instances on one record, the cached source and the thumbnails.
#include "TesselSDKImaging/tests/QZGLInstanceTestSupport.h"

#include "QopImageCompare.h"

#include "Foundation/NSLogCapture.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGL.h"

#include <chrono>
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

using QZOpenGLInstanceTest = GLManagerTest;

std::shared_ptr<QZOpenGLInstance> makeInstance(CGSize size, QopGLRenderingMode mode = QopGLRenderingModeDefault)
{
    return QZOpenGLInstance::make(size, mode, QZQueueTypeSDK);
}

// Polls without pumping the main queue; false when the flag did not come up in time.
bool waitWithoutPumping(const std::atomic<bool>& flag)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(int(qz_test::kTimeout));
    while (!flag.load() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return flag.load();
}

TEST_F(QZOpenGLInstanceTest, CreationAcceptsUpToTheManagersMaximumAndUploadsNothing)
{
    const CGSize maxSize = manager_->maxSize();
    const int holders = manager_->managerRetainCount();
    const CGFloat nan = std::numeric_limits<CGFloat>::quiet_NaN();
    const CGSize refused[] = {
        {maxSize.width + 1, maxSize.height}, {maxSize.width, maxSize.height + 1}, {nan, 10}, {10, nan}};
    for (const CGSize size : refused) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        EXPECT_FALSE(makeInstance(size));
        EXPECT_EQ(manager_->managerRetainCount(), holders);
    }

    auto largest = makeInstance(maxSize);
    ASSERT_TRUE(largest);
    EXPECT_EQ(manager_->managerRetainCount(), holders + 1);
    EXPECT_NE(largest->queueID(), QUEUE_ID_INVALID);
    EXPECT_EQ(largest->glData(), manager_->glData());
    EXPECT_FALSE(largest->renderingObjectsManager()) << "only headless instances have one";
    EXPECT_EQ(largest->currentImageSize().width, maxSize.width);
    EXPECT_EQ(largest->currentImageSize().height, maxSize.height);
    EXPECT_EQ(largest->sourceImageSize().width, 0);
    GLuint texture = 1;
    ASSERT_TRUE(runOnInstance(largest, [&] { texture = largest->glData()->glImageData.texID; }));
    EXPECT_EQ(texture, 0u) << "creation uploaded an image";
    EXPECT_EQ(largest->currentImageSize().width, maxSize.width) << "a block without an image changed the size";

    // The check a caller makes before loading: sides from 1 to the maximum.
    const std::pair<CGSize, bool> checks[] = {
        {maxSize, true}, {{1, 1}, true}, {{0, 10}, false}, {{10, maxSize.height + 1}, false}};
    for (const auto& [size, valid] : checks) {
        bool ranValid = false;
        CGSize reported{0, 0};
        largest->ifImageSizeIsValidForGL(
            size, [&] { ranValid = true; }, [&](CGSize most) { reported = most; });
        EXPECT_EQ(ranValid, valid);
        EXPECT_EQ(reported.width, valid ? 0 : maxSize.width);
        largest->ifImageSizeIsValidForGL(size, nullptr, nullptr);
    }

    auto headless = QZOpenGLInstance::make(CGSizeMake(8, 8), QopGLRenderingModeDefault, QZQueueTypeHeadless);
    ASSERT_TRUE(headless);
    EXPECT_TRUE(headless->renderingObjectsManager());
    EXPECT_EQ(headless->queueType(), QZQueueTypeHeadless);
}

TEST_F(QZOpenGLInstanceTest, TheIdentityRenderAndBothReadBacksGiveTheInputsBytesUpright)
{
    const qop_test::TestBitmap input = makeQuadrants(37, 23);
    auto instance = makeInstance(CGSizeMake(37, 23));
    ASSERT_TRUE(instance);
    ASSERT_TRUE(loadImage(instance, input));
    EXPECT_EQ(instance->currentImageSize().width, 37);
    EXPECT_EQ(instance->currentImageSize().height, 23);
    ASSERT_TRUE(runToCompletion([&](dispatch_block_t done) { instance->renderIdentityImageWithCompletion(done); }));

    for (const bool lastRender : {false, true}) {
        SCOPED_TRACE(lastRender ? "last render" : "source");
        std::optional<std::shared_ptr<UIImage>> image = readBack(instance, lastRender);
        ASSERT_TRUE(image.has_value());
        ASSERT_TRUE(*image);
        EXPECT_EQ((*image)->imageOrientation(), UIImageOrientationUp);
        EXPECT_EQ((*image)->scale(), 1);
        EXPECT_TRUE(bitmapOf(*image) == input);
    }
}

TEST_F(QZOpenGLInstanceTest, AQopLitePassOnTheRecordIsCommittedAndReadBackAsTheCPUComputesIt)
{
    const qop_test::TestBitmap input = qop_test::makePhotoLike(30, 20);
    qop_test::TestBitmap expected = input;
    QopColorMatrix_t matrix;
    QopColorMatrixSetIdentity(matrix);
    QopColorMatrixAdjSaturation(matrix, 0.3f);
    QopBitmapColorMatrixTransform(expected.get(), matrix);

    auto instance = makeInstance(CGSizeMake(30, 20));
    ASSERT_TRUE(instance);
    ASSERT_TRUE(loadImage(instance, input));
    GLuint source = 0;
    QZOpenGLInstance::RenderingObjects original;
    ASSERT_TRUE(runOnInstance(instance, [&] {
        QopBitmap_t bitmap{nullptr, 30, 20, instance->glData()};
        QopBitmapBeginGLEffectIfEnabled(&bitmap);
        QopBitmapColorMatrixTransform(&bitmap, matrix);
        QopBitmapEndGLEffectIfEnabled(&bitmap);
        instance->commitChangesFromGLQueue();
        source = instance->glData()->glImageData.texID;
        original = instance->originalRenderingObjects();
    }));
    ASSERT_TRUE(original);
    EXPECT_EQ(original->textureID(), source) << "the commit did not note the new source";
    std::optional<std::shared_ptr<UIImage>> image = readBack(instance, false);
    ASSERT_TRUE(image.has_value() && *image);
    EXPECT_TRUE(qop_test::imagesAgree(expected, bitmapOf(*image), qop_test::Tolerance{1}, "instance_colour_matrix"));
}

TEST_F(QZOpenGLInstanceTest, ASynchronousCompletionHoldsTheGPUQueueUntilTheMainThreadRunsIt)
{
    auto instance = makeInstance(CGSizeMake(8, 8));
    ASSERT_TRUE(instance);
    ASSERT_TRUE(loadImage(instance, makeQuadrants(8, 8)));
    std::atomic<bool> reached{false}, completed{false}, nextStarted{false}, nextSawCompletion{false};
    std::atomic<bool> completionOnMain{false};
    instance->enqueueBlockOnGLThread([&] { reached = true; });
    instance->renderIdentityImageWithCompletion([&] {
        completionOnMain = DispatchMainQueue::isMainThread();
        completed = true;
    });
    instance->enqueueBlockOnGLThread([&] {
        nextSawCompletion = completed.load();
        nextStarted = true;
    });
    ASSERT_TRUE(waitWithoutPumping(reached));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_FALSE(nextStarted.load()) << "the next block ran while the completion waited for the main thread";
    EXPECT_FALSE(completed.load());

    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return nextStarted.load(); }, qz_test::kTimeout));
    EXPECT_TRUE(nextSawCompletion.load());
    EXPECT_TRUE(completionOnMain.load());
}

TEST_F(QZOpenGLInstanceTest, AReadBackIsPostedToTheMainThreadWithoutHoldingTheGPUQueue)
{
    const qop_test::TestBitmap input = makeQuadrants(12, 10);
    auto instance = makeInstance(CGSizeMake(12, 10));
    ASSERT_TRUE(instance);
    ASSERT_TRUE(loadImage(instance, input));
    std::atomic<bool> nextRan{false}, delivered{false}, onMain{false};
    std::shared_ptr<UIImage> image;
    instance->getOutputImage([&](std::shared_ptr<UIImage> result) {
        onMain = DispatchMainQueue::isMainThread();
        image = std::move(result);
        delivered = true;
    });
    instance->enqueueBlockOnGLThread([&] { nextRan = true; });
    EXPECT_TRUE(waitWithoutPumping(nextRan)) << "the next block waited for the main thread";
    EXPECT_FALSE(delivered.load());

    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return delivered.load(); }, qz_test::kTimeout));
    EXPECT_TRUE(onMain.load());
    EXPECT_TRUE(bitmapOf(image) == input);
}

// The last read of a full-size replay: the two processing textures are deleted before the read-back
// buffer is made, and the image read is the one an ordinary read gives.
TEST_F(QZOpenGLInstanceTest, TheFinalReadBackDeletesTheProcessingTexturesFirst)
{
    const qop_test::TestBitmap input = makeQuadrants(12, 10);
    auto instance = makeInstance(CGSizeMake(12, 10));
    ASSERT_TRUE(instance);
    ASSERT_TRUE(loadImage(instance, input));
    instance->setupProcessingObjects();
    ASSERT_TRUE(runToCompletion([&](dispatch_block_t done) { instance->renderIdentityImageWithCompletion(done); }));
    GLuint processing[2] = {0, 0};
    ASSERT_TRUE(runOnInstance(instance, [&] {
        processing[0] = instance->glData()->glRenderingObjects.processedTexture1;
        processing[1] = instance->glData()->glRenderingObjects.processedTexture2;
    }));
    ASSERT_NE(processing[0], 0u);
    ASSERT_NE(processing[1], 0u);

    std::shared_ptr<UIImage> image;
    bool delivered = false;
    instance->getFinalOutputImage([&](std::shared_ptr<UIImage> result) {
        image = std::move(result);
        delivered = true;
    });
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return delivered; }, qz_test::kTimeout));
    EXPECT_TRUE(bitmapOf(image) == input);
    bool stillTextures[2] = {true, true};
    ASSERT_TRUE(runOnInstance(instance, [&] {
        for (int i = 0; i < 2; ++i) stillTextures[i] = glIsTexture(processing[i]) == GL_TRUE;
    }));
    EXPECT_FALSE(stillTextures[0]);
    EXPECT_FALSE(stillTextures[1]);
}

TEST_F(QZOpenGLInstanceTest, TwoInstancesInterleavedOnOneRecordKeepTheirOwnImages)
{
    const qop_test::TestBitmap a = makeQuadrants(24, 16, 0), b = makeQuadrants(10, 30, 1);
    auto first = makeInstance(CGSizeMake(24, 16));
    auto second = makeInstance(CGSizeMake(10, 30));
    ASSERT_TRUE(first && second);
    // Queued all at once, so that the blocks of the two sub-queues meet on the GPU queue.
    int done = 0;
    std::shared_ptr<UIImage> images[2];
    first->setInputImageData(bytesOf(a), CGSizeMake(24, 16), true, [&] { ++done; });
    second->setInputImageData(bytesOf(b), CGSizeMake(10, 30), true, [&] { ++done; });
    first->renderIdentityImageWithCompletion([&] { ++done; });
    second->renderIdentityImageWithCompletion([&] { ++done; });
    first->getOutputImageFromLastRender([&](std::shared_ptr<UIImage> image) {
        images[0] = std::move(image);
        ++done;
    });
    second->getOutputImage([&](std::shared_ptr<UIImage> image) {
        images[1] = std::move(image);
        ++done;
    });
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return done == 6; }, qz_test::kTimeout));
    EXPECT_TRUE(bitmapOf(images[0]) == a);
    EXPECT_TRUE(bitmapOf(images[1]) == b);
    EXPECT_EQ(first->currentImageSize().width, 24);
    EXPECT_EQ(first->currentImageSize().height, 16);
    EXPECT_EQ(second->currentImageSize().width, 10);
    EXPECT_EQ(second->currentImageSize().height, 30);
}

TEST_F(QZOpenGLInstanceTest, RefusedLoadsChangeNothingAndAnEmptyReadBackGivesNil)
{
    auto instance = makeInstance(CGSizeMake(20, 10));
    ASSERT_TRUE(instance);
    const CGFloat nan = std::numeric_limits<CGFloat>::quiet_NaN();
    const CGFloat beyond = manager_->maxSize().width + 1;
    const qop_test::TestBitmap pixels(4, 4);
    const CGSize refused[] = {{0, 4}, {4, 0}, {0.5f, 4}, {-4, 4}, {nan, 4}, {beyond, 4}, {4, 1e12f}};
    for (const CGSize size : refused) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        bool accepted = true;
        GLuint texture = 1;
        ASSERT_TRUE(runOnInstance(instance, [&] {
            accepted = instance->setInputImageDataFromGLQueue(bytesOf(pixels), size, true);
            texture = instance->glData()->glImageData.texID;
        }));
        EXPECT_FALSE(accepted);
        EXPECT_EQ(texture, 0u);
    }
    // The plain load still runs its completion.
    ASSERT_TRUE(runToCompletion(
        [&](dispatch_block_t done) { instance->setInputImageData(bytesOf(pixels), CGSizeMake(-4, 4), true, done); }));
    EXPECT_EQ(instance->currentImageSize().width, 20);

    NSLogCapture log;
    std::optional<std::shared_ptr<UIImage>> image = readBack(instance, false);
    ASSERT_TRUE(image.has_value()) << "no completion for an empty image";
    EXPECT_FALSE(*image);
    EXPECT_TRUE(log.contains("-[QZOpenGLInstance getOutputImageFromGLQueue:] The Image is of 0 size."));
    EXPECT_TRUE(log.contains("NULL context encountered"));
}

TEST_F(QZOpenGLInstanceTest, TheCachedSourceComesBackAndACachedCopyIsReplacedNotLeaked)
{
    const qop_test::TestBitmap a = makeQuadrants(16, 12, 0), b = makeQuadrants(16, 12, 1);
    auto instance = makeInstance(CGSizeMake(16, 12));
    ASSERT_TRUE(instance);
    ASSERT_TRUE(runToCompletion([&](dispatch_block_t done) {
        instance->resetCurrentSourceImageToCachedWithCompletion(done);
    })) << "no completion without a cached source";

    ASSERT_TRUE(loadImage(instance, a));
    instance->cacheCurrentSourceImage();
    GLuint firstCopy = 0;
    ASSERT_TRUE(runOnInstance(instance, [&] { firstCopy = instance->storedSourceRenderingObjects()->textureID(); }));
    EXPECT_NE(firstCopy, 0u);
    EXPECT_EQ(instance->sourceImageSize().width, 16);
    EXPECT_EQ(instance->sourceImageSize().height, 12);

    ASSERT_TRUE(loadImage(instance, b));
    EXPECT_TRUE(bitmapOf(readBack(instance, false).value_or(nullptr)) == b);
    ASSERT_TRUE(
        runToCompletion([&](dispatch_block_t done) { instance->resetCurrentSourceImageToCachedWithCompletion(done); }));
    EXPECT_TRUE(bitmapOf(readBack(instance, false).value_or(nullptr)) == a);

    instance->cacheCurrentSourceImage();
    bool firstCopyAlive = true;
    GLuint secondCopy = 0;
    ASSERT_TRUE(runOnInstance(instance, [&] {
        secondCopy = instance->storedSourceRenderingObjects()->textureID();
        firstCopyAlive = glIsTexture(firstCopy);
    }));
    EXPECT_NE(secondCopy, 0u);
    EXPECT_FALSE(firstCopyAlive) << "the replaced copy was kept";
}

TEST_F(QZOpenGLInstanceTest, AThumbnailSetShowsTheCentreAndTheZeroSizeRestoresTheImage)
{
    const qop_test::TestBitmap input = makeQuadrants(32, 16);
    auto instance = makeInstance(CGSizeMake(32, 16));
    ASSERT_TRUE(instance);
    ASSERT_TRUE(loadImage(instance, input));
    ASSERT_TRUE(runToCompletion([&](dispatch_block_t done) { instance->renderIdentityImageWithCompletion(done); }));
    instance->createCachedThumbnailImageTexture(CGSizeMake(8, 8));

    QopGLImageData_t imageBefore{}, imageAfter{};
    QopGLRenderingObjects_t objectsBefore{}, objectsAfter{};
    QZOpenGLInstance::RenderingObjects thumbnail;
    std::shared_ptr<UIImage> centre;
    ASSERT_TRUE(runOnInstance(instance, [&] {
        QopGLData_t* record = instance->glData();
        imageBefore = record->glImageData;
        objectsBefore = record->glRenderingObjects;
        ASSERT_EQ(instance->activeThumbnailRenderingObjectsDict().size(), 1u);
        thumbnail = instance->activeThumbnailRenderingObjectsDict().begin()->second;
        instance->setThumbnailRenderingObjectsOfSizeActiveFromGLQueue(CGSizeMake(8, 8));
        EXPECT_EQ(record->glImageData.texID, thumbnail->textureID());
        instance->renderIdentityImageWithCompletionFromGLQueue(nullptr);
        instance->getOutputImageFromLastRenderFromGLQueue([&](std::shared_ptr<UIImage> image) { centre = image; });
        instance->setThumbnailRenderingObjectsOfSizeActiveFromGLQueue(CGSizeZero);
        imageAfter = record->glImageData;
        objectsAfter = record->glRenderingObjects;
    }));
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return centre != nullptr; }, qz_test::kTimeout));
    // The centre 16 x 16 square of a 32 x 16 image, at 8 x 8: one quadrant colour per 4 x 4 corner.
    EXPECT_TRUE(bitmapOf(centre) == makeQuadrants(8, 8));
    EXPECT_EQ(imageAfter.texID, imageBefore.texID);
    EXPECT_EQ(imageAfter.width, 32u);
    EXPECT_EQ(imageAfter.height, 16u);
    EXPECT_EQ(objectsAfter.readTexture, objectsBefore.readTexture);
    EXPECT_EQ(objectsAfter.writeTexture, objectsBefore.writeTexture);
    EXPECT_EQ(objectsAfter.processedTexture1, objectsBefore.processedTexture1);
    EXPECT_TRUE(bitmapOf(readBack(instance, false).value_or(nullptr)) == input);

    instance->destroyCachedThumbnailImageTextureForSize(CGSizeMake(8, 8));
    int alive = -1;
    ASSERT_TRUE(runOnInstance(instance, [&] {
        alive = glIsTexture(thumbnail->textureID()) + glIsTexture(thumbnail->processingTexture1()) +
                glIsTexture(thumbnail->processingTexture2());
        EXPECT_TRUE(instance->activeThumbnailRenderingObjectsDict().empty());
    }));
    EXPECT_EQ(alive, 0);
}

}  // namespace
