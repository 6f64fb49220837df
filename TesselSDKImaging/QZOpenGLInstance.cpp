#include "TesselSDKImaging/QZOpenGLInstance.h"

#include "TesselSDKImaging/QZBitmap.h"
#include "TesselSDKImaging/QZOpenGLManager.h"
#include "TesselSDKImaging/QZOpenGLView.h"
#include "TesselSDKImaging/QZPixelSize.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSLog.h"
#include "GLES/EAGLContext.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLMask.h"
#include "UIKit/UIImage.h"

#include <cstdint>
#include <mutex>
#include <new>
#include <set>
#include <vector>

namespace {

constexpr const char* kBindRenderbufferBlockName =
    "-[QZOpenGLInstance setRenderbufferFromOpenGLViewFromGLQueue:]_block_invoke";

void runOnMainQueueAndWait(const dispatch_block_t& block)
{
    if (block) dispatch_sync(dispatch_get_main_queue(), block);
}

bool isZeroSize(CGSize size)
{
    return size.width == 0 && size.height == 0;
}

std::pair<CGFloat, CGFloat> thumbnailKey(CGSize size)
{
    return {size.width, size.height};
}

}  // namespace

// Everything the GL blocks of one instance touch. Blocks hold it, not the instance, so that blocks
// queued before the instance's release still run after it. All but the published copies are
// touched only on the GL queue, by one block at a time.
struct QZOpenGLInstance::Core {
    explicit Core(std::shared_ptr<QZOpenGLManager> glManager) : manager(std::move(glManager)) {}

    const std::shared_ptr<QZOpenGLManager> manager;
    const std::shared_ptr<QZOpenGLState> state = QZOpenGLState::make();
    std::shared_ptr<QZOpenGLInstanceRenderingObjectsManager> renderingObjectsManager;
    RenderingObjects originalRenderingObjects;
    RenderingObjects storedSourceRenderingObjects;
    ThumbnailDictionary thumbnails;

    mutable std::mutex publishedMutex;
    CGSize publishedImageSize{0, 0};
    CGSize publishedSourceSize{0, 0};

    QopGLData_t* record() const { return manager->glData(); }

    // The core step, on the GL queue.
    void runWithState(const dispatch_block_t& block)
    {
        QopGLData_t* glData = record();
        if (!glData) return;
        state->configureGLData(glData);
        block();
        state->setWithGLData(glData);
        publish();
    }

    void publish()
    {
        const CGSize imageSize{CGFloat(state->glImageData.width), CGFloat(state->glImageData.height)};
        const CGSize sourceSize = storedSourceRenderingObjects ? CGSize{CGFloat(storedSourceRenderingObjects->width()),
                                                                        CGFloat(storedSourceRenderingObjects->height())}
                                                               : CGSize{0, 0};
        std::lock_guard lock(publishedMutex);
        publishedImageSize = imageSize;
        publishedSourceSize = sourceSize;
    }

    bool setInputImageData(const std::uint8_t* data, CGSize size, bool immediateProcessing)
    {
        const std::optional<QZPixelSize> pixels = QZPixelSizeFromCGSize(size);
        if (!pixels || !QopGLWillAcceptImageOfSize(float(pixels->width), float(pixels->height))) return false;
        QopGLData_t* glData = record();
        // QopLite only reads the pixels of an upload.
        QopBitmap_t bitmap{const_cast<QopColor_t*>(reinterpret_cast<const QopColor_t*>(data)), pixels->width,
                           pixels->height, glData};
        QopGLSetBitmapWithOptionToDeferObjectCreation(&bitmap, glData, immediateProcessing);
        return true;
    }

    void cacheCurrentSourceImage()
    {
        QopGLData_t* glData = record();
        if (glData->glImageData.texID == 0 || glData->glImageData.width == 0 || glData->glImageData.height == 0) return;
        const GLuint copy = QopGLCreateCopyOfSourceTexture(glData);
        // The copy this one replaces is the instance's alone: kept, it would never be deleted.
        if (storedSourceRenderingObjects && storedSourceRenderingObjects->textureID() != 0)
            QopGLDeleteProcessingObjects(storedSourceRenderingObjects->textureID(), 0, 0, glData);
        storedSourceRenderingObjects = QZOpenGLInstanceRenderingObjects::make(
            copy, 0, 0, std::int32_t(glData->glImageData.width), std::int32_t(glData->glImageData.height));
    }

    void resetCurrentSourceImageToCached()
    {
        if (!storedSourceRenderingObjects || storedSourceRenderingObjects->textureID() == 0) return;
        QopGLData_t* glData = record();
        QopGLSetSourceTexture(storedSourceRenderingObjects->textureID(), GLuint(storedSourceRenderingObjects->width()),
                              GLuint(storedSourceRenderingObjects->height()), glData);
        state->setWithGLData(glData);
    }

    void cacheOriginalRenderingObjects()
    {
        QopGLData_t* glData = record();
        originalRenderingObjects = QZOpenGLInstanceRenderingObjects::make(
            glData->glImageData.texID, glData->glRenderingObjects.processedTexture1,
            glData->glRenderingObjects.processedTexture2, std::int32_t(glData->glImageData.width),
            std::int32_t(glData->glImageData.height));
    }

    void presentRenderbuffer() { manager->presentCurrentRenderbuffer(); }

    void showTexture(GLuint texture)
    {
        QopGLShowTexture(record(), texture);
        presentRenderbuffer();
    }

    void renderIdentityImage()
    {
        QopGLData_t* glData = record();
        QopBitmap_t bitmap{nullptr, glData->glImageData.width, glData->glImageData.height, glData};
        QopEffectParams_t params;
        QopEffectInitParams(&params);
        QopEffectOriginal(&bitmap, &params);
        presentRenderbuffer();
    }

    void commitChanges()
    {
        QopGLCommitContentsOfFramebuffer(record());
        cacheOriginalRenderingObjects();
    }

    // Reads the source image (or the last result) with `read` into an image for the completion.
    void readBack(void (*read)(QopBitmap_t*, QopGLData_t*), const char* method, const ImageCompletion& completion)
    {
        QopGLData_t* glData = record();
        const GLuint width = glData->glImageData.width;
        const GLuint height = glData->glImageData.height;
        if (width == 0 || height == 0) NSLog("%s %@", method, "The Image is of 0 size.");
        // The pixels are read into the bytes the image then keeps: one full-size buffer, not two.
        const std::size_t count = std::size_t(width) * height;
        std::vector<std::uint8_t> bytes;
        try {
            if (count > QOP_BITMAP_MAX_PIXELS) throw std::bad_alloc();
            bytes.resize(count * 4);
        } catch (const std::bad_alloc&) {
            if (completion) runOnMainQueueAndWait([&] { completion(nullptr); });
            return;
        }
        // No context for an empty image: nothing is read, and the completion gets nil.
        CGContextRef context = QZCGContextCreateWithData(bytes.data(), CGSizeMake(CGFloat(width), CGFloat(height)));
        CGImageRef image = nullptr;
        if (context) {
            QopBitmap_t pixels{reinterpret_cast<QopColor_t*>(bytes.data()), width, height, nullptr};
            read(&pixels, glData);
            CGContextRelease(context);
            image = CGImageCreateWithRGBAVector(width, height, std::move(bytes));
        }
        std::shared_ptr<UIImage> result = UIImage::imageWithCGImage(image);
        CGImageRelease(image);
        if (completion) dispatch_async(dispatch_get_main_queue(), [completion, result] { completion(result); });
    }

    void setRenderbufferFromOpenGLView(const std::shared_ptr<QZOpenGLView>& view)
    {
        GLuint renderbuffer = 0;
        CGFloat width = 0, height = 0;
        if (view) {
            const std::shared_ptr<EAGLContext> shared = EAGLContext::currentContext();
            EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
                const std::shared_ptr<EAGLContext> noted = EAGLContext::currentContext();
                if (noted == shared) NSLog("%s %@", kBindRenderbufferBlockName, "These should not be the same");
                if (!EAGLContext::setCurrentContext(shared)) {
                    NSLog("%s %@", kBindRenderbufferBlockName,
                          "The shared context cannot be made current here: no renderbuffer is made.");
                    return;
                }
                renderbuffer = view->getRenderBufferWithContext(shared);
                EAGLContext::setCurrentContext(noted);
                const CGRect bounds = view->bounds();
                width = bounds.size.width;
                height = bounds.size.height;
            });
        }
        QopGLSetRenderbuffer(record(), renderbuffer, width, height);
    }

    void destroyRenderbufferFromOpenGLView(const std::shared_ptr<QZOpenGLView>& view)
    {
        if (!view) return;
        QopGLData_t* glData = record();
        bool removed = false;
        view->releaseRenderbufferAndCheckAgainstID(glData->glRenderingObjects.renderbuffer, &removed);
        if (removed) QopGLSetRenderbuffer(glData, 0, 0, 0);
    }

    void setActiveRenderingObjects(const RenderingObjects& set)
    {
        if (!set) return;
        QopGLSetBitmapWithPrecreatedObjects(set->textureID(), set->processingTexture1(), set->processingTexture2(),
                                            GLuint(set->width()), GLuint(set->height()), record());
    }

    void createCachedThumbnail(CGSize size)
    {
        cacheOriginalRenderingObjects();
        const std::optional<QZPixelSize> pixels = QZPixelSizeFromCGSize(size);
        if (!pixels || !QopGLWillAcceptImageOfSize(float(pixels->width), float(pixels->height))) return;
        // A second thumbnail of one size replaces the first, whose textures would otherwise be
        // named by nothing. While that thumbnail is the current image it already is the picture
        // asked for, and its textures are the state's, so it stays.
        const auto existing = thumbnails.find(thumbnailKey(size));
        if (existing != thumbnails.end()) {
            const RenderingObjects& old = existing->second;
            if (old->textureID() == state->glImageData.texID) return;
            QopGLDeleteProcessingObjects(old->textureID(), old->processingTexture1(), old->processingTexture2(),
                                         record());
            thumbnails.erase(existing);
        }
        QopBitmap_t buffer{};
        if (!QopBitmapBuild(&buffer, pixels->width, pixels->height)) return;
        QopGLData_t* glData = record();
        GLuint texture = 0, processing1 = 0, processing2 = 0;
        QopGLCreateProcessingObjects(&buffer, &texture, &processing1, &processing2, glData);
        RenderingObjects set = QZOpenGLInstanceRenderingObjects::make(
            texture, processing1, processing2, std::int32_t(buffer.width), std::int32_t(buffer.height));
        QopGLDrawCurrentImageCenteredInTextureOfSize(glData, texture, float(buffer.width), float(buffer.height));
        thumbnails[thumbnailKey(size)] = set;
        QopBitmapFree(&buffer);
    }

    void setThumbnailActive(CGSize size)
    {
        QopGLData_t* glData = record();
        if (isZeroSize(size)) {
            if (!originalRenderingObjects) return;
            glData->glRenderingObjects.readTexture = originalRenderingObjects->readTexture();
            glData->glRenderingObjects.writeTexture = originalRenderingObjects->writeTexture();
            setActiveRenderingObjects(originalRenderingObjects);
            return;
        }
        if (!QZPixelSizeFromCGSize(size)) return;
        if (originalRenderingObjects) {
            originalRenderingObjects->setReadTexture(glData->glRenderingObjects.readTexture);
            originalRenderingObjects->setWriteTexture(glData->glRenderingObjects.writeTexture);
        }
        const auto found = thumbnails.find(thumbnailKey(size));
        if (found != thumbnails.end()) setActiveRenderingObjects(found->second);
    }

    void destroyCachedThumbnail(CGSize size)
    {
        if (!QZPixelSizeFromCGSize(size)) return;
        const auto found = thumbnails.find(thumbnailKey(size));
        if (found == thumbnails.end()) return;
        const RenderingObjects& set = found->second;
        QopGLDeleteProcessingObjects(set->textureID(), set->processingTexture1(), set->processingTexture2(), record());
        thumbnails.erase(found);
    }

    void createRenderingObjectsWithInputImage(CGImageRef image, const std::uint8_t* data, const RenderingObjects& set)
    {
        std::size_t width = 0, height = 0;
        runOnMainQueueAndWait([&] {
            width = CGImageGetWidth(image);
            height = CGImageGetHeight(image);
        });
        if (!renderingObjectsManager || !set) return;
        renderingObjectsManager->setupRenderingObjects(set, data, int(width), int(height), record());
    }

    // The release's cleanup: every texture the instance still owns, each deleted once. Thumbnail
    // sets left in the dictionary go too, and while one is active the current image's own
    // textures are named only by the saved set.
    void deleteOwnedTextures()
    {
        QopGLData_t* glData = record();
        if (!glData) return;
        const GLuint source = state->glImageData.texID;
        std::set<GLuint> deleted = {0, source, state->glRenderingObjects.processedTexture1,
                                    state->glRenderingObjects.processedTexture2};
        bool thumbnailActive = false;
        for (const auto& [size, set] : thumbnails) thumbnailActive = thumbnailActive || set->textureID() == source;
        state->destroyAssociatedObjectsInGLData(glData);
        const auto deleteOnce = [&](GLuint texture) {
            if (deleted.insert(texture).second) QopGLDeleteProcessingObjects(texture, 0, 0, glData);
        };
        const auto deleteSet = [&](const RenderingObjects& set) {
            deleteOnce(set->textureID());
            deleteOnce(set->processingTexture1());
            deleteOnce(set->processingTexture2());
        };
        if (storedSourceRenderingObjects) deleteOnce(storedSourceRenderingObjects->textureID());
        for (const auto& [size, set] : thumbnails) deleteSet(set);
        if (thumbnailActive && originalRenderingObjects) deleteSet(originalRenderingObjects);
        thumbnails.clear();
        storedSourceRenderingObjects.reset();
        originalRenderingObjects.reset();
    }
};

std::shared_ptr<QZOpenGLInstance> QZOpenGLInstance::make(CGSize initialImageSize, QopGLRenderingMode renderingMode,
                                                         QZQueueType renderingQueue)
{
    return NSObject::create<QZOpenGLInstance>(&QZOpenGLInstance::initWithInitialImageSize, initialImageSize,
                                              renderingMode, renderingQueue);
}

bool QZOpenGLInstance::initWithInitialImageSize(CGSize initialImageSize, QopGLRenderingMode renderingMode,
                                                QZQueueType renderingQueue)
{
    std::shared_ptr<QZOpenGLManager> manager = QZOpenGLManager::sharedOpenGLManager();
    const CGSize maxSize = manager->maxSize();
    // Written so that NaN is refused as well.
    const bool fits = initialImageSize.width <= maxSize.width && initialImageSize.height <= maxSize.height;
    if (!fits || manager->setupFailed()) return false;
    manager->retainManager();
    if (manager->setupFailed()) {
        manager->releaseManager();
        return false;
    }
    initialImageSize_ = initialImageSize;
    queueType_ = renderingQueue;
    core_ = std::make_shared<Core>(manager);
    // The record's framebuffer is written by the load block on the GL queue, so none is read here:
    // the state never carries one into the record anyway.
    static const QopGLData_t kNoRecord{};
    core_->state->setFreshFromGLData(&kNoRecord, renderingMode);
    queueID_ = manager->generateQueueWithType(renderingQueue);
    if (renderingQueue == QZQueueTypeHeadless)
        core_->renderingObjectsManager = QZOpenGLInstanceRenderingObjectsManager::make();
    return true;
}

QZOpenGLInstance::~QZOpenGLInstance()
{
    if (queueID_ == QUEUE_ID_INVALID || !core_) return;
    const std::shared_ptr<QZOpenGLManager> manager = core_->manager;
    // A sub-queue destroyed while paused never runs its pending blocks, the cleanup among them. The
    // three calls reach the GPU queue's bookkeeping in this order, so the resume comes first.
    manager->resumeRenderingOnQueueWithIdentifier(queueID_);
    manager->addBlock([core = std::move(core_)] { core->deleteOwnedTextures(); }, queueID_);
    manager->destroyQueueWithIdentifier(queueID_);
    manager->releaseManager();
}

template <class F>
void QZOpenGLInstance::enqueueOnCore(F fn)
{
    enqueueGLBlock([core = core_, fn = std::move(fn)] { fn(*core); });
}

QopGLData_t* QZOpenGLInstance::glData() const
{
    return core_->manager->glData();
}

CGSize QZOpenGLInstance::currentImageSize() const
{
    std::lock_guard lock(core_->publishedMutex);
    const CGSize size = core_->publishedImageSize;
    return size.width == 0 && size.height == 0 ? initialImageSize_ : size;
}

CGSize QZOpenGLInstance::sourceImageSize() const
{
    std::lock_guard lock(core_->publishedMutex);
    return core_->publishedSourceSize;
}

void QZOpenGLInstance::ifImageSizeIsValidForGL(CGSize size, const dispatch_block_t& valid,
                                               const std::function<void(CGSize maxSize)>& otherwise) const
{
    const CGSize maxSize = core_->manager->maxSize();
    const bool fits = size.width > 0 && size.width <= maxSize.width && size.height > 0 && size.height <= maxSize.height;
    if (fits) {
        if (valid) valid();
    } else if (otherwise) {
        otherwise(maxSize);
    }
}

const std::shared_ptr<QZOpenGLState>& QZOpenGLInstance::state() const
{
    return core_->state;
}

const std::shared_ptr<QZOpenGLInstanceRenderingObjectsManager>& QZOpenGLInstance::renderingObjectsManager() const
{
    return core_->renderingObjectsManager;
}

QZOpenGLInstance::RenderingObjects QZOpenGLInstance::originalRenderingObjects() const
{
    return core_->originalRenderingObjects;
}

QZOpenGLInstance::RenderingObjects QZOpenGLInstance::storedSourceRenderingObjects() const
{
    return core_->storedSourceRenderingObjects;
}

const QZOpenGLInstance::ThumbnailDictionary& QZOpenGLInstance::activeThumbnailRenderingObjectsDict() const
{
    return core_->thumbnails;
}

void QZOpenGLInstance::setupProcessingObjects()
{
    enqueueOnCore([](Core& core) { QopGLCreateProcessingFramebuffersAndTexturesForCurrentImage(core.record()); });
}

void QZOpenGLInstance::setInputImageData(const std::uint8_t* data, CGSize size, bool immediateProcessing,
                                         dispatch_block_t completion)
{
    enqueueOnCore([data, size, immediateProcessing, completion = std::move(completion)](Core& core) {
        core.setInputImageData(data, size, immediateProcessing);
        runOnMainQueueAndWait(completion);
    });
}

bool QZOpenGLInstance::setInputImageDataFromGLQueue(const std::uint8_t* data, CGSize size, bool immediateProcessing)
{
    return core_->setInputImageData(data, size, immediateProcessing);
}

void QZOpenGLInstance::cacheCurrentSourceImage()
{
    enqueueOnCore([](Core& core) { core.cacheCurrentSourceImage(); });
}

void QZOpenGLInstance::recaptureCurrentStateFromGLQueue()
{
    core_->state->setWithGLData(core_->record());
}

void QZOpenGLInstance::resetCurrentSourceImageToCachedWithCompletion(dispatch_block_t completion)
{
    enqueueOnCore([completion = std::move(completion)](Core& core) {
        core.resetCurrentSourceImageToCached();
        runOnMainQueueAndWait(completion);
    });
}

void QZOpenGLInstance::resetCurrentSourceImageToCachedFromGLQueue()
{
    core_->resetCurrentSourceImageToCached();
}

void QZOpenGLInstance::cacheOriginalRenderingObjectsFromGLQueue()
{
    core_->cacheOriginalRenderingObjects();
}

void QZOpenGLInstance::setGLRenderingMode(QopGLRenderingMode mode)
{
    enqueueOnCore([mode](Core& core) { core.record()->renderingMode = mode; });
}

void QZOpenGLInstance::showSourceImageWithCompletion(dispatch_block_t completion)
{
    enqueueOnCore([completion = std::move(completion)](Core& core) {
        if (core.storedSourceRenderingObjects && core.storedSourceRenderingObjects->textureID() != 0)
            core.showTexture(core.storedSourceRenderingObjects->textureID());
        runOnMainQueueAndWait(completion);
    });
}

void QZOpenGLInstance::showCurrentImageWithCompletion(dispatch_block_t completion)
{
    enqueueOnCore([completion = std::move(completion)](Core& core) {
        core.showTexture(core.record()->glImageData.texID);
        runOnMainQueueAndWait(completion);
    });
}

void QZOpenGLInstance::showLastRenderedImageWithCompletion(dispatch_block_t completion)
{
    enqueueOnCore([completion = std::move(completion)](Core& core) {
        core.showTexture(core.record()->glRenderingObjects.readTexture);
        runOnMainQueueAndWait(completion);
    });
}

void QZOpenGLInstance::renderIdentityImageWithCompletion(dispatch_block_t completion)
{
    enqueueOnCore([completion = std::move(completion)](Core& core) {
        core.renderIdentityImage();
        runOnMainQueueAndWait(completion);
    });
}

void QZOpenGLInstance::renderIdentityImageWithCompletionFromGLQueue(const dispatch_block_t& completion)
{
    core_->renderIdentityImage();
    runOnMainQueueAndWait(completion);
}

void QZOpenGLInstance::presentRenderbuffer()
{
    enqueueOnCore([](Core& core) { core.presentRenderbuffer(); });
}

void QZOpenGLInstance::presentRenderbufferFromGLQueue()
{
    core_->presentRenderbuffer();
}

void QZOpenGLInstance::clearCurrentFramebuffer()
{
    enqueueOnCore([](Core& core) {
        QopGLClearCurrentRenderbuffer(core.record());
        core.presentRenderbuffer();
    });
}

void QZOpenGLInstance::commitChanges()
{
    enqueueOnCore([](Core& core) { core.commitChanges(); });
}

void QZOpenGLInstance::commitChangesFromGLQueue()
{
    core_->commitChanges();
}

void QZOpenGLInstance::getOutputImage(ImageCompletion completion)
{
    enqueueOnCore([completion = std::move(completion)](Core& core) {
        core.readBack(QopGLGetBitmapFromFramebuffer, "-[QZOpenGLInstance getOutputImageFromGLQueue:]", completion);
    });
}

void QZOpenGLInstance::getOutputImageFromGLQueue(const ImageCompletion& completion)
{
    core_->readBack(QopGLGetBitmapFromFramebuffer, "-[QZOpenGLInstance getOutputImageFromGLQueue:]", completion);
}

void QZOpenGLInstance::getFinalOutputImage(ImageCompletion completion)
{
    enqueueOnCore([](Core& core) {
        QopGLData_t* glData = core.record();
        const GLuint source = glData->glImageData.texID;
        for (GLuint texture : {glData->glRenderingObjects.processedTexture1, glData->glRenderingObjects.processedTexture2})
            if (texture != source) QopGLDeleteProcessingObjects(0, texture, 0, glData);
    });
    getOutputImage(std::move(completion));
}

void QZOpenGLInstance::getOutputImageFromLastRender(ImageCompletion completion)
{
    enqueueOnCore([completion = std::move(completion)](Core& core) {
        core.readBack(QopGLGetLastDrawnBitmap, "-[QZOpenGLInstance getOutputImageFromLastRenderFromGLQueue:]",
                      completion);
    });
}

void QZOpenGLInstance::getOutputImageFromLastRenderFromGLQueue(const ImageCompletion& completion)
{
    core_->readBack(QopGLGetLastDrawnBitmap, "-[QZOpenGLInstance getOutputImageFromLastRenderFromGLQueue:]",
                    completion);
}

void QZOpenGLInstance::setRenderbufferFromOpenGLView(std::shared_ptr<QZOpenGLView> view)
{
    enqueueOnCore([view = std::move(view)](Core& core) { core.setRenderbufferFromOpenGLView(view); });
}

void QZOpenGLInstance::setRenderbufferFromOpenGLViewFromGLQueue(const std::shared_ptr<QZOpenGLView>& view)
{
    core_->setRenderbufferFromOpenGLView(view);
}

void QZOpenGLInstance::destroyRenderbufferFromOpenGLView(std::shared_ptr<QZOpenGLView> view)
{
    enqueueOnCore([view = std::move(view)](Core& core) { core.destroyRenderbufferFromOpenGLView(view); });
}

void QZOpenGLInstance::destroyRenderbufferFromOpenGLViewFromGLQueue(const std::shared_ptr<QZOpenGLView>& view)
{
    core_->destroyRenderbufferFromOpenGLView(view);
}

void QZOpenGLInstance::setShouldBilinearSampleImage(bool bilinear)
{
    enqueueOnCore([bilinear](Core& core) { QopGLSetBitmapBilinearSampling(core.record(), bilinear); });
}

void QZOpenGLInstance::setDestinationImageSizeAndClear(CGSize size)
{
    const std::optional<QZPixelSize> pixels = QZPixelSizeFromCGSize(size);
    if (!pixels) return;
    enqueueOnCore([width = float(pixels->width), height = float(pixels->height)](Core& core) {
        QopGLSetDestinationImageSizeAndClear(core.record(), width, height);
    });
}

void QZOpenGLInstance::setOriginalImageSizeAndClear(CGSize size)
{
    const std::optional<QZPixelSize> pixels = QZPixelSizeFromCGSize(size);
    if (!pixels) return;
    enqueueOnCore([width = float(pixels->width), height = float(pixels->height)](Core& core) {
        QopGLSetOriginalImageSizeAndClear(core.record(), width, height);
    });
}

void QZOpenGLInstance::enqueueBlockOnGLThread(dispatch_block_t block)
{
    enqueueGLBlock(std::move(block));
}

void QZOpenGLInstance::enqueueMainThreadBlockOnGLThread(dispatch_block_t block)
{
    if (!block) return;
    enqueueGLBlock([block = std::move(block)] { runOnMainQueueAndWait(block); });
}

void QZOpenGLInstance::enqueueGLBlock(dispatch_block_t block)
{
    if (!block) return;
    core_->manager->addBlock([core = core_, block = std::move(block)] { core->runWithState(block); }, queueID_);
}

void QZOpenGLInstance::pauseRendering()
{
    core_->manager->pauseRenderingOnQueueWithIdentifier(queueID_);
}

void QZOpenGLInstance::cancelRendering()
{
    core_->manager->cancelRenderingOnQueueWithIdentifier(queueID_);
}

void QZOpenGLInstance::resumeRendering()
{
    core_->manager->resumeRenderingOnQueueWithIdentifier(queueID_);
}

void QZOpenGLInstance::createCachedThumbnailImageTexture(CGSize size)
{
    enqueueOnCore([size](Core& core) { core.createCachedThumbnail(size); });
}

void QZOpenGLInstance::setThumbnailRenderingObjectsOfSizeActiveFromGLQueue(CGSize size)
{
    core_->setThumbnailActive(size);
}

void QZOpenGLInstance::destroyCachedThumbnailImageTextureForSize(CGSize size)
{
    enqueueOnCore([size](Core& core) { core.destroyCachedThumbnail(size); });
}

void QZOpenGLInstance::createRenderingObjectsWithInputImageFromGLQueue(CGImageRef image, const std::uint8_t* data,
                                                                       const RenderingObjects& renderingObjects)
{
    core_->createRenderingObjectsWithInputImage(image, data, renderingObjects);
}

void QZOpenGLInstance::setActiveRenderingObjects(RenderingObjects renderingObjects)
{
    enqueueOnCore([set = std::move(renderingObjects)](Core& core) { core.setActiveRenderingObjects(set); });
}

void QZOpenGLInstance::setActiveRenderingObjectsFromGLQueue(const RenderingObjects& renderingObjects)
{
    core_->setActiveRenderingObjects(renderingObjects);
}

void QZOpenGLInstance::commitContentsOfFramebufferToRenderingObjects(RenderingObjects renderingObjects)
{
    enqueueOnCore([set = std::move(renderingObjects)](Core& core) {
        if (core.renderingObjectsManager && set)
            core.renderingObjectsManager->commitCurrentFramebufferToRenderingObjects(set, core.record());
    });
}

void QZOpenGLInstance::deleteRenderingObjects(RenderingObjects renderingObjects)
{
    enqueueOnCore([set = std::move(renderingObjects)](Core& core) {
        if (core.renderingObjectsManager && set)
            core.renderingObjectsManager->removeRenderingObjects(set, core.record());
    });
}

void QZOpenGLInstance::destroyMaskRenderingObjects(RenderingObjects renderingObjects)
{
    enqueueOnCore([set = std::move(renderingObjects)](Core&) {
        if (set) QopGLMaskDestroy(set->textureID());
    });
}
