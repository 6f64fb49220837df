#pragma once
// An image server holds one image and runs edits on it, in order, on one serial queue. This is the
// abstract base: it keeps the input image, its scale and orientations, and runs a module by asking
// its processors one by one. QZBitmapImageServer is the concrete server.
//
// Callers queue work and get results back through completion blocks; no operation waits for
// queued work, and a module's run completes once its work is queued, not done.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "CoreGraphics/CGImage.h"
#include "Dispatch/Dispatch.h"
#include "Foundation/NSObject.h"
#include "UIKit/UIImage.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QZModule;
class QZOpenGLInstance;

// The server's pixels handed out by a read-back or a snapshot: RGBA bytes, rows without gaps.
using QZImageBytes = std::vector<std::uint8_t>;
using QZImageBlock = std::function<void(CGImageRef image)>;
using QZImageAndDataBlock = std::function<void(CGImageRef image, std::uint8_t* bytes)>;
using QZImageSizeAndDataBlock = std::function<void(CGSize size, std::uint8_t* bytes)>;
using QZSnapshotHandler = std::function<void(std::shared_ptr<const QZImageBytes> snapshot)>;

// Upright orientations (Up, Down and their mirrors) against turned ones (Left, Right, mirrors).
bool QZImageOrientationIsTurned(UIImageOrientation orientation);

class QZImageServer : public NSObject {
public:
    using NSObject::NSObject;
    ~QZImageServer() override;

    // The source of the draw operations; the server holds one retain on it.
    CGImageRef inputImage() const;
    // Retains a new image and releases the old one.
    void setInputImage(CGImageRef image);
    // Pixel size of the current drawing, read and written whole.
    CGSize size() const { return size_.load(); }
    void setSize(CGSize size) { size_.store(size); }
    // From input-image pixels to server pixels.
    CGFloat scale() const { return scale_.load(); }
    void setScale(CGFloat scale) { scale_.store(scale); }
    // How the input image is shown, and how the current drawing is oriented.
    UIImageOrientation originalOrientation() const { return originalOrientation_.load(); }
    void setOriginalOrientation(UIImageOrientation o) { originalOrientation_.store(o); }
    UIImageOrientation orientation() const { return orientation_.load(); }
    void setOrientation(UIImageOrientation o) { orientation_.store(o); }
    // Copied from the tool screen; nothing here reads it.
    bool bordersEnabled() const { return bordersEnabled_; }
    void setBordersEnabled(bool enabled) { bordersEnabled_ = enabled; }
    // Set for a GPU server.
    const std::shared_ptr<QZOpenGLInstance>& glInstance() const { return glInstance_; }

    // drawImageWithOrientation: with the original orientation.
    virtual void drawImage();
    // Preprocesses when asked, then queues the module's processors in order; the completion runs
    // on the caller's thread once all is queued.
    void runModule(const std::shared_ptr<QZModule>& module, bool preprocess, const dispatch_block_t& completion);
    void runModule(const std::shared_ptr<QZModule>& module) { runModule(module, true, nullptr); }

    virtual void drawImageOnCurrentThread() = 0;
    virtual void drawTransformedImageWithOrientation(UIImageOrientation orientation) = 0;
    virtual void drawStraightenedwithRotation(CGFloat rotation, CGFloat scale, UIImageOrientation orientation) = 0;
    virtual void drawImageWithOrientation(UIImageOrientation orientation) = 0;
    // rect relative to the current size, origin top left.
    virtual void cropImageToRect(CGRect rect) = 0;
    virtual void resetOrientation() = 0;
    virtual void runProcessor(const std::shared_ptr<QZProcessor>& processor) = 0;
    // Queues a block behind the work already queued, on the server's queue (the GL queue for a GPU
    // server); tools present and hop back to the main queue from there. nil is ignored.
    virtual void runBlock(dispatch_block_t block) = 0;
    virtual void getProcessedImage(QZImageBlock completion) = 0;
    virtual void getProcessedImageAndData(QZImageAndDataBlock completion) = 0;
    virtual void getProcessedImageAndDataOnCurrentThread(const QZImageAndDataBlock& completion) = 0;
    virtual void getProcessedImageSizeAndData(QZImageSizeAndDataBlock completion) = 0;
    virtual void getProcessedImageSizeAndDataOnCurrentThread(const QZImageSizeAndDataBlock& completion) = 0;
    virtual void cancelProcessing() = 0;
    virtual void takeSnapshot(QZSnapshotHandler handler) = 0;
    virtual void setPixelsWithSnapshot(std::shared_ptr<const QZImageBytes> snapshot) = 0;
    virtual void cleanup() = 0;
    virtual void commit() = 0;
    virtual void releaseInputImage() = 0;

protected:
    // No input image; the instance's current size, scale 1, Up.
    virtual bool initWithGLInstance(std::shared_ptr<QZOpenGLInstance> glInstance);
    // size = floor(image side x scale); retains the image; orientation stays Up until configured.
    virtual bool initWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation,
                                 std::shared_ptr<QZOpenGLInstance> glInstance, bool fromGLQueue);

    // Guards the input image (and a subclass's buffer): a release on the main thread meets queued
    // steps that use them.
    mutable std::mutex mutex_;
    // Guarded by mutex_.
    CGImageRef inputImage_ = nullptr;

private:
    std::atomic<CGSize> size_{CGSize{0, 0}};
    std::atomic<CGFloat> scale_{1.0f};
    std::atomic<UIImageOrientation> originalOrientation_{UIImageOrientationUp};
    std::atomic<UIImageOrientation> orientation_{UIImageOrientationUp};
    std::atomic<bool> bordersEnabled_{false};
    std::shared_ptr<QZOpenGLInstance> glInstance_;
};
