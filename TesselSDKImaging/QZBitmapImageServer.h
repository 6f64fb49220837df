#pragma once
// The one concrete image server, in one of two ways fixed at creation:
// - GPU server, made with a GL instance: every block runs on the instance's sub-queue of the GPU
//   queue, and QopLite blocks work on the instance's current image through the shared GPU record.
// - CPU server, made without one: every block runs on a sub-queue of its own on the CPU queue
//   (Hires, or Headless for a headless server), and QopLite blocks work on the buffer.
// Both own an RGBA buffer (`data`), made zero-filled on first use, over which every bitmap block
// (drawing, cropping, straightening, snapshots, read-backs) gets a bitmap context. A commit copies
// the buffer into the input image, reusing the storage of the input image it replaces when the
// server held that alone: a CPU replay keeps two full-size stores from step to step.
//
// A queued block holds the server strongly. `releaseInputImage` may come from any thread while
// work is queued or running: blocks that use the buffer or the input image hold their own
// references while they run, and those queued before the release do nothing (a later one makes a
// new buffer). A GPU server's QopLite blocks use no buffer and run as ever. Cancelling removes
// nothing: queued blocks run and see the stop flag; geometry steps, commit and the size read-back
// ignore it.

#include "TesselSDKImaging/QZImageServer.h"
#include "TesselSDKImaging/QZQueueType.h"

#include "Foundation/NSObjCRuntime.h"

#include <atomic>
#include <cstdint>
#include <memory>

class QZBitmapImageServer : public QZImageServer {
public:
    using QZImageServer::QZImageServer;
    ~QZBitmapImageServer() override;

    // initWithGLInstance: (a CPU server with a Hires sub-queue for a null instance).
    static std::shared_ptr<QZBitmapImageServer> makeWithGLInstance(std::shared_ptr<QZOpenGLInstance> glInstance);
    // initWithCGImage:scale:orientation:glInstance:[fromGLQueue:]; a null instance makes a CPU
    // server. fromGLQueue: the caller runs on the instance's queue, so the orientation is
    // configured at once. Null for a null image.
    static std::shared_ptr<QZBitmapImageServer> make(CGImageRef image, CGFloat scale, UIImageOrientation orientation,
                                                     std::shared_ptr<QZOpenGLInstance> glInstance,
                                                     bool fromGLQueue = false);
    // initWithCGImage:scale:orientation: (CPU, Hires).
    static std::shared_ptr<QZBitmapImageServer> make(CGImageRef image, CGFloat scale, UIImageOrientation orientation)
    {
        return make(image, scale, orientation, nullptr);
    }
    // initHeadlessWithCGImage:scale:orientation: (CPU, Headless).
    static std::shared_ptr<QZBitmapImageServer> makeHeadless(CGImageRef image, CGFloat scale,
                                                             UIImageOrientation orientation);

    // The buffer, made zero-filled at kQZBytesPerPixel x the current size when there is none.
    std::shared_ptr<QZImageBytes> data();
    // The server's sub-queue on the CPU queue; 0 for a GPU server.
    int queueID() const { return queueID_; }
    bool isStopped() const { return stopped_.load(); }
    // Full-size pixel stores made so far: the buffer, and the storage of a committed image when the
    // one it replaces could not lend its own. A replay makes its few in the first steps; from then
    // on the count stays.
    std::uint64_t fullSizeAllocations() const { return fullSizeAllocations_.load(); }
    NSUInteger lastOperationHash() const { return lastOperationHash_; }
    void setLastOperationHash(NSUInteger hash) { lastOperationHash_ = hash; }

    // --- Queuing (nil is ignored) ---
    void runBlock(dispatch_block_t block) override;
    void enqueueBlock(QZBitmapBlock block);
    void enqueueQopBlock(QZQopBitmapBlock block);
    // At once on the current thread. A context that cannot be made (or would need more bytes than
    // the buffer holds) is logged and the block gets null.
    void doWithContext(const QZBitmapBlock& block);
    void doWithQopBitmap(const QZQopBitmapBlock& block);

    // From a block already on the server's queue: each processor's QopLite block at once (no
    // preprocessing, no bitmap blocks).
    void runModuleFromImageServerThread(const std::shared_ptr<QZModule>& module);
    void configureForOrientation(UIImageOrientation orientation);
    // Swaps the size's sides between upright and turned orientations; size 0 x 0 (logged) when
    // the current orientation is none of the eight.
    void doConfigureForOrientation(UIImageOrientation orientation);

    // --- Operations ---
    void drawImage() override;
    void drawImageOnCurrentThread() override;
    void drawImageWithOrientation(UIImageOrientation orientation) override;
    void resetOrientation() override;
    void drawTransformedImageWithOrientation(UIImageOrientation orientation) override;
    void drawStraightenedwithRotation(CGFloat rotation, CGFloat scale, UIImageOrientation orientation) override;
    void cropImageToRect(CGRect rect) override;
    void runProcessor(const std::shared_ptr<QZProcessor>& processor) override;
    // On the main queue: the buffer as an image (none when stopped), or the input image when
    // nothing was ever drawn.
    void getProcessedImage(QZImageBlock completion) override;
    // On the server's queue.
    void getProcessedImageAndData(QZImageAndDataBlock completion) override;
    void getProcessedImageAndDataOnCurrentThread(const QZImageAndDataBlock& completion) override;
    void getProcessedImageSizeAndData(QZImageSizeAndDataBlock completion) override;
    void getProcessedImageSizeAndDataOnCurrentThread(const QZImageSizeAndDataBlock& completion) override;
    void cancelProcessing() override;
    // The handler runs on the main queue.
    void takeSnapshot(QZSnapshotHandler handler) override;
    // Copies at most the buffer's length.
    void setPixelsWithSnapshot(std::shared_ptr<const QZImageBytes> snapshot) override;
    void cleanup() override { cancelProcessing(); }
    void commit() override;
    void releaseInputImage() override;

protected:
    bool initWithGLInstance(std::shared_ptr<QZOpenGLInstance> glInstance) override;
    bool initWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation,
                         std::shared_ptr<QZOpenGLInstance> glInstance, bool fromGLQueue) override;

private:
    // A step on the buffer: the context over it, the input image and the buffer itself, all held
    // for the step's duration.
    using Step = std::function<void(CGContextRef context, CGImageRef image, QZImageBytes& buffer)>;

    void makeOwnQueue(QZQueueType type);
    // data() with mutex_ held.
    const std::shared_ptr<QZImageBytes>& bufferLocked();
    // The number of releases so far, noted when a step is queued.
    std::uint64_t releaseCount() const;
    // Queues the step through runBlock; it does nothing when a release came in between.
    void enqueueStep(Step step);
    // Runs the step now, unless a release came after `queuedAt`.
    void doStep(const Step& step, std::uint64_t queuedAt);
    void doWithQopBitmap(const QZQopBitmapBlock& block, std::uint64_t queuedAt);
    // The buffer made into the input image, from the server's queue.
    void doCommit(std::uint64_t queuedAt);
    // Draws the input image with the orientation (the drawing step of the draw operations).
    Step drawingStep(UIImageOrientation orientation);
    // The orientation of the original followed by `orientation`.
    UIImageOrientation transformedOrientation(UIImageOrientation orientation) const;

    int queueID_ = 0;
    bool headless_ = false;
    std::atomic<bool> stopped_{false};
    std::atomic<std::uint64_t> fullSizeAllocations_{0};
    NSUInteger lastOperationHash_ = 0;
    // Guarded by mutex_.
    std::shared_ptr<QZImageBytes> data_;
    std::uint64_t releaseCount_ = 0;
};
