#pragma once
// One client's view of the single GL context and GPU record: the editor's preview (Default mode,
// SDK queue), a full-size replay (OverwriteOriginal, Hires queue), the effect thumbnails. Each
// instance has its own sub-queue of the GPU queue and its own share of the record (its state),
// which every block of the sub-queue finds in the record and leaves there for the next.
//
// Operations come in pairs: the plain one queues a block on the sub-queue whose body is its
// FromGLQueue partner and returns at once; a partner may be sent only from a block already running
// on that sub-queue (a processor's bitmap block, a block given to enqueueBlockOnGLThread) and does
// the work at once. Completions called "synchronous" run on the main queue while the GPU queue
// waits for them, so they must never wait for the GPU queue; the others are posted to the main
// queue.
//
// Release (the last reference going) lets the blocks already queued run in order, then deletes the
// instance's textures on its sub-queue; what those blocks need lives apart from the instance, so
// the manager's count drops at once.

#include "TesselSDKImaging/QZOpenGLInstanceRenderingObjects.h"
#include "TesselSDKImaging/QZOpenGLInstanceRenderingObjectsManager.h"
#include "TesselSDKImaging/QZOpenGLState.h"
#include "TesselSDKImaging/QZQueueType.h"

#include "CoreGraphics/CGImage.h"
#include "Dispatch/DispatchQueue.h"
#include "Foundation/NSObject.h"
#include "QopLite/QopGLData.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

class QZOpenGLView;
class UIImage;

inline constexpr int QUEUE_ID_INVALID = -1;

class QZOpenGLInstance : public NSObject {
public:
    using ImageCompletion = std::function<void(std::shared_ptr<UIImage> image)>;
    using RenderingObjects = std::shared_ptr<QZOpenGLInstanceRenderingObjects>;
    // Thumbnail sets by their size (width, height) as given.
    using ThumbnailDictionary = std::map<std::pair<CGFloat, CGFloat>, RenderingObjects>;

    using NSObject::NSObject;
    ~QZOpenGLInstance() override;

    // initWithInitialImageSize:renderingMode:renderingQueue:. Null, retaining nothing, when a side
    // is larger than the manager's maxSize (or NaN), or when the manager's set-up failed. Uploads
    // nothing.
    static std::shared_ptr<QZOpenGLInstance> make(CGSize initialImageSize, QopGLRenderingMode renderingMode,
                                                  QZQueueType renderingQueue);

    CGSize initialImageSize() const { return initialImageSize_; }
    // The size answered as current until an image is loaded (the editor sets the scaled input's).
    void setInitialImageSize(CGSize size) { initialImageSize_ = size; }
    QZQueueType queueType() const { return queueType_; }
    int queueID() const { return queueID_; }
    // The manager's record now.
    QopGLData_t* glData() const;

    // Caller's thread: copies published by each block as it ends, so a read never waits for a
    // running block. The current size is initialImageSize while the state holds no image; the
    // source size is zero while nothing is cached.
    CGSize currentImageSize() const;
    CGSize sourceImageSize() const;

    // Runs `valid` when 0 < width <= maxSize.width and 0 < height <= maxSize.height, else
    // `otherwise` with maxSize; a nil block is skipped.
    void ifImageSizeIsValidForGL(CGSize size, const dispatch_block_t& valid,
                                 const std::function<void(CGSize maxSize)>& otherwise) const;

    // GL queue only (blocks of this sub-queue): the instance's share of the record and its sets.
    const std::shared_ptr<QZOpenGLState>& state() const;
    // Present only for Headless instances.
    const std::shared_ptr<QZOpenGLInstanceRenderingObjectsManager>& renderingObjectsManager() const;
    RenderingObjects originalRenderingObjects() const;
    RenderingObjects storedSourceRenderingObjects() const;
    const ThumbnailDictionary& activeThumbnailRenderingObjectsDict() const;

    // --- Loading and caching ---
    void setupProcessingObjects();
    // Loads width x height RGBA pixels as the source image; processing objects are made at once
    // only when `immediateProcessing`. The pixels are read later, on the GL queue: the buffer must
    // outlive the completion (synchronous), which runs even when nothing could be loaded.
    void setInputImageData(const std::uint8_t* data, CGSize size, bool immediateProcessing,
                           dispatch_block_t completion);
    // NO, changing nothing, for a size the GPU does not accept (or that is no pixel size).
    bool setInputImageDataFromGLQueue(const std::uint8_t* data, CGSize size, bool immediateProcessing);
    // Keeps a copy of the source image (replacing, and deleting, an earlier copy).
    void cacheCurrentSourceImage();
    void recaptureCurrentStateFromGLQueue();
    // The cached copy becomes the source image; nothing without one. Completion synchronous.
    void resetCurrentSourceImageToCachedWithCompletion(dispatch_block_t completion);
    void resetCurrentSourceImageToCachedFromGLQueue();
    void cacheOriginalRenderingObjectsFromGLQueue();
    void setGLRenderingMode(QopGLRenderingMode mode);

    // --- Showing (each then presents the renderbuffer; completions synchronous) ---
    // The cached source; without one nothing is shown.
    void showSourceImageWithCompletion(dispatch_block_t completion);
    void showCurrentImageWithCompletion(dispatch_block_t completion);
    void showLastRenderedImageWithCompletion(dispatch_block_t completion);
    // The identity effect on the current image, then a present.
    void renderIdentityImageWithCompletion(dispatch_block_t completion);
    void renderIdentityImageWithCompletionFromGLQueue(const dispatch_block_t& completion);
    void presentRenderbuffer();
    void presentRenderbufferFromGLQueue();
    void clearCurrentFramebuffer();

    // --- Committing and reading back ---
    // The last result becomes the source image.
    void commitChanges();
    void commitChangesFromGLQueue();
    // An upright image of the source image (of the last result), posted to the main queue; nil,
    // synchronously, when no pixel buffer can be made; nil, posted, for an empty image.
    void getOutputImage(ImageCompletion completion);
    void getOutputImageFromGLQueue(const ImageCompletion& completion);
    // As getOutputImage, for an instance's last read: the two processing textures go first, so the
    // read-back's buffer comes in their place rather than on top of them.
    void getFinalOutputImage(ImageCompletion completion);
    void getOutputImageFromLastRender(ImageCompletion completion);
    void getOutputImageFromLastRenderFromGLQueue(const ImageCompletion& completion);

    // --- The on-screen target ---
    // Binds the view's renderbuffer, made on the main thread, as the render target (null: none).
    void setRenderbufferFromOpenGLView(std::shared_ptr<QZOpenGLView> view);
    void setRenderbufferFromOpenGLViewFromGLQueue(const std::shared_ptr<QZOpenGLView>& view);
    // Has the view release its renderbuffer; when it was the record's, the record has none.
    void destroyRenderbufferFromOpenGLView(std::shared_ptr<QZOpenGLView> view);
    void destroyRenderbufferFromOpenGLViewFromGLQueue(const std::shared_ptr<QZOpenGLView>& view);

    // --- Record settings (sizes that are no pixel sizes are refused) ---
    void setShouldBilinearSampleImage(bool bilinear);
    void setDestinationImageSizeAndClear(CGSize size);
    void setOriginalImageSizeAndClear(CGSize size);

    // --- Queue ---
    // Nil is ignored; otherwise the block runs at its turn with the state in the record.
    void enqueueBlockOnGLThread(dispatch_block_t block);
    // Nil is ignored; otherwise at its turn the block runs on the main queue while the sub-queue
    // waits. It must use no GL.
    void enqueueMainThreadBlockOnGLThread(dispatch_block_t block);
    // The core step: the state into the record, the block, the record back into the state.
    void enqueueGLBlock(dispatch_block_t block);
    // None of these touches a running block.
    void pauseRendering();
    void cancelRendering();
    void resumeRendering();

    // --- Thumbnails (the effect-thumbnail generator uses them in turn) ---
    // A set of the size (truncated) holding the current image centred and cropped to its aspect.
    void createCachedThumbnailImageTexture(CGSize size);
    // The zero size restores the current image's set and its read and write textures; another
    // size saves them and makes that thumbnail's set active (nothing when there is none).
    void setThumbnailRenderingObjectsOfSizeActiveFromGLQueue(CGSize size);
    void destroyCachedThumbnailImageTextureForSize(CGSize size);

    // --- Rendering-objects sets (Headless instances) and masks ---
    // Reads the image's pixel size on the main queue (no GL there), then gives the set textures
    // made from `data` through the rendering-objects manager; nothing without that manager.
    void createRenderingObjectsWithInputImageFromGLQueue(CGImageRef image, const std::uint8_t* data,
                                                         const RenderingObjects& renderingObjects);
    void setActiveRenderingObjects(RenderingObjects renderingObjects);
    void setActiveRenderingObjectsFromGLQueue(const RenderingObjects& renderingObjects);
    void commitContentsOfFramebufferToRenderingObjects(RenderingObjects renderingObjects);
    void deleteRenderingObjects(RenderingObjects renderingObjects);
    // Deletes the mask texture named by the set's textureID.
    void destroyMaskRenderingObjects(RenderingObjects renderingObjects);

private:
    // What the GL blocks work on: kept alive by them, so blocks queued before the release still run.
    struct Core;

    bool initWithInitialImageSize(CGSize initialImageSize, QopGLRenderingMode renderingMode,
                                  QZQueueType renderingQueue);
    // Queues fn(core) through the core step.
    template <class F>
    void enqueueOnCore(F fn);

    CGSize initialImageSize_{0, 0};
    QZQueueType queueType_ = QZQueueTypeSDK;
    int queueID_ = QUEUE_ID_INVALID;
    std::shared_ptr<Core> core_;
};
