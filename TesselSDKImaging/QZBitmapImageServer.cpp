#include "TesselSDKImaging/QZBitmapImageServer.h"

#include "TesselSDKImaging/Modules/QZModule.h"
#include "TesselSDKImaging/QZBitmapServerDrawing.h"
#include "TesselSDKImaging/QZDispatchPriorityQueue.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"

#include "TesselSDKFoundation/QZGeometry.h"

#include "Foundation/NSLog.h"

#include <algorithm>
#include <cstring>

namespace {

// Bytes a context of the size needs; 0 when the size is no pixel size.
std::size_t bytesForSize(CGSize size)
{
    if (!(size.width >= 1) || !(size.height >= 1) || size.width > 1e8f || size.height > 1e8f) return 0;
    return std::size_t(size.width) * std::size_t(size.height) * kQZBytesPerPixel;
}

}  // namespace

QZBitmapImageServer::~QZBitmapImageServer()
{
    if (queueID_ > 0)
        QZDispatchPriorityQueue::cpuHiresProcessingQueue()->destroyQueueWithIdentifierAfterPendingBlocksComplete(
            queueID_);
}

std::shared_ptr<QZBitmapImageServer>
QZBitmapImageServer::makeWithGLInstance(std::shared_ptr<QZOpenGLInstance> glInstance)
{
    return NSObject::create<QZBitmapImageServer>(
        [&](QZBitmapImageServer& server) { return server.initWithGLInstance(std::move(glInstance)); });
}

std::shared_ptr<QZBitmapImageServer> QZBitmapImageServer::make(CGImageRef image, CGFloat scale,
                                                               UIImageOrientation orientation,
                                                               std::shared_ptr<QZOpenGLInstance> glInstance,
                                                               bool fromGLQueue)
{
    if (!image) return nullptr;
    return NSObject::create<QZBitmapImageServer>([&](QZBitmapImageServer& server) {
        return server.initWithCGImage(image, scale, orientation, std::move(glInstance), fromGLQueue);
    });
}

std::shared_ptr<QZBitmapImageServer> QZBitmapImageServer::makeHeadless(CGImageRef image, CGFloat scale,
                                                                       UIImageOrientation orientation)
{
    if (!image) return nullptr;
    return NSObject::create<QZBitmapImageServer>([&](QZBitmapImageServer& server) {
        server.headless_ = true;
        return server.initWithCGImage(image, scale, orientation, nullptr, false);
    });
}

void QZBitmapImageServer::makeOwnQueue(QZQueueType type)
{
    queueID_ = QZDispatchPriorityQueue::cpuHiresProcessingQueue()->generateQueueForType(type);
}

bool QZBitmapImageServer::initWithGLInstance(std::shared_ptr<QZOpenGLInstance> glInstance)
{
    QZImageServer::initWithGLInstance(std::move(glInstance));
    if (!this->glInstance()) makeOwnQueue(QZQueueTypeHires);
    configureForOrientation(UIImageOrientationUp);
    return true;
}

bool QZBitmapImageServer::initWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation,
                                          std::shared_ptr<QZOpenGLInstance> glInstance, bool fromGLQueue)
{
    QZImageServer::initWithCGImage(image, scale, orientation, std::move(glInstance), fromGLQueue);
    if (!this->glInstance()) makeOwnQueue(headless_ ? QZQueueTypeHeadless : QZQueueTypeHires);
    if (fromGLQueue)
        doConfigureForOrientation(orientation);
    else
        configureForOrientation(orientation);
    return true;
}

std::shared_ptr<QZImageBytes> QZBitmapImageServer::data()
{
    std::lock_guard lock(mutex_);
    return bufferLocked();
}

const std::shared_ptr<QZImageBytes>& QZBitmapImageServer::bufferLocked()
{
    // Zero-filled: a read-back or a processor before any draw sees black, not old memory.
    if (!data_) {
        data_ = std::make_shared<QZImageBytes>(bytesForSize(size()), 0);
        fullSizeAllocations_.fetch_add(1);
    }
    return data_;
}

std::uint64_t QZBitmapImageServer::releaseCount() const
{
    std::lock_guard lock(mutex_);
    return releaseCount_;
}

// --- Queuing ---

void QZBitmapImageServer::runBlock(dispatch_block_t block)
{
    if (!block) return;
    if (glInstance())
        glInstance()->enqueueBlockOnGLThread(std::move(block));
    else
        QZDispatchPriorityQueue::cpuHiresProcessingQueue()->addBlock(std::move(block), queueID_);
}

void QZBitmapImageServer::enqueueStep(Step step)
{
    runBlock([self = self<QZBitmapImageServer>(), step = std::move(step), queuedAt = releaseCount()] {
        self->doStep(step, queuedAt);
    });
}

void QZBitmapImageServer::enqueueBlock(QZBitmapBlock block)
{
    if (!block) return;
    enqueueStep([this, block = std::move(block)](CGContextRef context, CGImageRef, QZImageBytes&) {
        block(context, &stopped_);
    });
}

void QZBitmapImageServer::enqueueQopBlock(QZQopBitmapBlock block)
{
    if (!block) return;
    runBlock([self = self<QZBitmapImageServer>(), block = std::move(block), queuedAt = releaseCount()] {
        self->doWithQopBitmap(block, queuedAt);
    });
}

void QZBitmapImageServer::doStep(const Step& step, std::uint64_t queuedAt)
{
    std::shared_ptr<QZImageBytes> buffer;
    CGImageRef image = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (queuedAt != releaseCount_) return;
        // Held for the step: a release meanwhile frees neither.
        buffer = bufferLocked();
        image = CGImageRetain(inputImage_);
    }
    const CGSize size = this->size();
    const std::size_t needed = bytesForSize(size);
    CGContextRef context = nullptr;
    if (needed > buffer->size())
        NSLog("%s %@", "-[QZBitmapImageServer doWithContext:]", "Image size exceeds the buffer");
    else if (needed > 0)
        context = QZCGContextCreateWithData(buffer->data(), size);
    if (!context) NSLog("%s %@", "-[QZBitmapImageServer doWithContext:]", "NULL context in image server");
    step(context, image, *buffer);
    CGContextRelease(context);
    CGImageRelease(image);
}

void QZBitmapImageServer::doWithContext(const QZBitmapBlock& block)
{
    if (!block) return;
    doStep([&](CGContextRef context, CGImageRef, QZImageBytes&) { block(context, &stopped_); }, releaseCount());
}

void QZBitmapImageServer::doWithQopBitmap(const QZQopBitmapBlock& block)
{
    doWithQopBitmap(block, releaseCount());
}

void QZBitmapImageServer::doWithQopBitmap(const QZQopBitmapBlock& block, std::uint64_t queuedAt)
{
    if (!block) return;
    if (const std::shared_ptr<QZOpenGLInstance>& instance = glInstance()) {
        const CGSize size = instance->currentImageSize();
        QopBitmap_t bitmap{nullptr, std::uint32_t(size.width), std::uint32_t(size.height), instance->glData()};
        block(&bitmap, &stopped_);
        return;
    }
    doStep(
        [&](CGContextRef context, CGImageRef, QZImageBytes& buffer) {
            // The library writes width x height pixels: without a context that fits, nothing runs.
            if (!context) return;
            const CGSize size = this->size();
            QopBitmap_t bitmap{reinterpret_cast<QopColor_t*>(buffer.data()), std::uint32_t(size.width),
                               std::uint32_t(size.height), nullptr};
            block(&bitmap, &stopped_);
        },
        queuedAt);
}

void QZBitmapImageServer::runModuleFromImageServerThread(const std::shared_ptr<QZModule>& module)
{
    if (!module) return;
    for (const std::shared_ptr<QZProcessor>& processor : module->processors())
        if (processor) doWithQopBitmap(processor->qopBitmapBlock());
}

void QZBitmapImageServer::runProcessor(const std::shared_ptr<QZProcessor>& processor)
{
    if (!processor) return;
    QZQopBitmapBlock qopBlock = processor->qopBitmapBlock();
    QZBitmapBlock bitmapBlock = processor->bitmapBlock();
    if (qopBlock && (!bitmapBlock || glInstance()))
        enqueueQopBlock(std::move(qopBlock));
    else
        enqueueBlock(std::move(bitmapBlock));
}

// --- Orientation ---

void QZBitmapImageServer::configureForOrientation(UIImageOrientation orientation)
{
    runBlock([self = self<QZBitmapImageServer>(), orientation] { self->doConfigureForOrientation(orientation); });
}

void QZBitmapImageServer::doConfigureForOrientation(UIImageOrientation newOrientation)
{
    CGSize size = this->size();
    const UIImageOrientation current = orientation();
    if (current == newOrientation) return;
    if (current < UIImageOrientationUp || current > UIImageOrientationRightMirrored) {
        NSLog("%s %@", "-[QZBitmapImageServer doConfigureForOrientation:]",
              NSStringWithFormat("Unhandled orientation: %i", int(current)));
        size = CGSizeMake(0, 0);
    } else if (QZImageOrientationIsTurned(current) != QZImageOrientationIsTurned(newOrientation)) {
        std::swap(size.width, size.height);
    }
    setSize(size);
    setOrientation(newOrientation);
}

UIImageOrientation QZBitmapImageServer::transformedOrientation(UIImageOrientation orientation) const
{
    return QZUIImageOrientationForTransform(CGAffineTransformConcat(
        QZCGAffineTransformForOrientation(originalOrientation()), QZCGAffineTransformForOrientation(orientation)));
}

// --- Drawing ---

QZBitmapImageServer::Step QZBitmapImageServer::drawingStep(UIImageOrientation orientation)
{
    return [this, orientation](CGContextRef context, CGImageRef image, QZImageBytes&) {
        QZBitmapServerDrawImage_UIKit(orientation, image, 1 / scale(), context, &stopped_);
    };
}

void QZBitmapImageServer::drawImage()
{
    enqueueStep([this](CGContextRef context, CGImageRef image, QZImageBytes& buffer) {
        drawingStep(orientation())(context, image, buffer);
    });
}

void QZBitmapImageServer::drawImageOnCurrentThread()
{
    doStep(drawingStep(orientation()), releaseCount());
}

void QZBitmapImageServer::drawImageWithOrientation(UIImageOrientation orientation)
{
    configureForOrientation(orientation);
    enqueueStep(drawingStep(orientation));
}

void QZBitmapImageServer::resetOrientation()
{
    configureForOrientation(originalOrientation());
}

void QZBitmapImageServer::drawTransformedImageWithOrientation(UIImageOrientation orientation)
{
    runBlock([self = self<QZBitmapImageServer>(), orientation, queuedAt = releaseCount()] {
        const UIImageOrientation t = self->transformedOrientation(orientation);
        self->doConfigureForOrientation(t);
        self->doStep(self->drawingStep(t), queuedAt);
    });
}

void QZBitmapImageServer::drawStraightenedwithRotation(CGFloat rotation, CGFloat scale, UIImageOrientation orientation)
{
    runBlock([self = self<QZBitmapImageServer>(), rotation, scale, orientation, queuedAt = releaseCount()] {
        const UIImageOrientation t = self->transformedOrientation(orientation);
        self->doConfigureForOrientation(t);
        self->doStep(
            [&](CGContextRef context, CGImageRef image, QZImageBytes&) {
                if (!context) return;
                self->setSize(QZBitmapServerDrawStraightened(context, self->size(), image, rotation, scale, t));
            },
            queuedAt);
    });
}

void QZBitmapImageServer::cropImageToRect(CGRect rect)
{
    enqueueStep([this, rect](CGContextRef context, CGImageRef image, QZImageBytes&) {
        if (!context) return;
        setSize(QZBitmapServerDrawCropped(context, size(), image, rect, orientation()));
    });
}

// --- Results ---

void QZBitmapImageServer::commit()
{
    runBlock([self = self<QZBitmapImageServer>(), queuedAt = releaseCount()] { self->doCommit(queuedAt); });
}

void QZBitmapImageServer::doCommit(std::uint64_t queuedAt)
{
    const CGSize size = this->size();
    const std::size_t needed = bytesForSize(size);
    const std::size_t width = std::size_t(size.width), height = std::size_t(size.height);
    std::shared_ptr<QZImageBytes> buffer;
    CGImageRef previous = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (queuedAt != releaseCount_) return;
        buffer = bufferLocked();
        // Nothing to commit (no context would fit, and none takes a side above 32767): the input
        // image stays.
        if (needed == 0 || needed > buffer->size() || width > 32767 || height > 32767) {
            NSLog("%s %@", "-[QZBitmapImageServer commit]", "NULL context in image server");
            return;
        }
        previous = inputImage_;
        inputImage_ = nullptr;
    }
    // The image being replaced gives its pixels' storage to the new one when nobody else holds
    // it, so a replay allocates its full-size images once, not at every step.
    std::vector<std::uint8_t> pixels;
    CGImageReleaseReclaimingBytes(previous, &pixels);
    if (pixels.capacity() < needed) fullSizeAllocations_.fetch_add(1);
    pixels.resize(needed);
    std::memcpy(pixels.data(), buffer->data(), needed);
    CGImageRef committed = CGImageCreateWithRGBAVector(width, height, std::move(pixels));
    if (!committed) return;
    setInputImage(committed);
    setScale(1.0f);
    setSize(CGSizeMake(CGFloat(width), CGFloat(height)));
    setOriginalOrientation(UIImageOrientationUp);
    setOrientation(UIImageOrientationUp);
    CGImageRelease(committed);
}

void QZBitmapImageServer::getProcessedImage(QZImageBlock completion)
{
    runBlock([self = self<QZBitmapImageServer>(), completion = std::move(completion)] {
        bool drawn = false;
        CGImageRef input = nullptr;
        {
            std::lock_guard lock(self->mutex_);
            drawn = self->data_ != nullptr;
            if (!drawn) input = CGImageRetain(self->inputImage_);
        }
        if (!drawn) {
            if (!completion) {
                CGImageRelease(input);
                return;
            }
            dispatch_async(dispatch_get_main_queue(), [completion, input] {
                completion(input);
                CGImageRelease(input);
            });
            return;
        }
        self->enqueueStep([self = self.get(), completion](CGContextRef context, CGImageRef, QZImageBytes&) {
            CGImageRef image = self->isStopped() ? nullptr : CGBitmapContextCreateImage(context);
            if (!completion) {
                CGImageRelease(image);
                return;
            }
            dispatch_async(dispatch_get_main_queue(), [completion, image] {
                completion(image);
                CGImageRelease(image);
            });
        });
    });
}

void QZBitmapImageServer::getProcessedImageAndData(QZImageAndDataBlock completion)
{
    enqueueStep([this, completion = std::move(completion)](CGContextRef context, CGImageRef, QZImageBytes& buffer) {
        CGImageRef image = isStopped() ? nullptr : CGBitmapContextCreateImage(context);
        if (completion) completion(image, buffer.data());
        CGImageRelease(image);
    });
}

void QZBitmapImageServer::getProcessedImageAndDataOnCurrentThread(const QZImageAndDataBlock& completion)
{
    doStep(
        [&](CGContextRef context, CGImageRef, QZImageBytes& buffer) {
            CGImageRef image = isStopped() ? nullptr : CGBitmapContextCreateImage(context);
            if (completion) completion(image, buffer.data());
            CGImageRelease(image);
        },
        releaseCount());
}

void QZBitmapImageServer::getProcessedImageSizeAndData(QZImageSizeAndDataBlock completion)
{
    enqueueStep([completion = std::move(completion)](CGContextRef context, CGImageRef, QZImageBytes& buffer) {
        if (completion)
            completion(
                CGSizeMake(CGFloat(CGBitmapContextGetWidth(context)), CGFloat(CGBitmapContextGetHeight(context))),
                buffer.data());
    });
}

void QZBitmapImageServer::getProcessedImageSizeAndDataOnCurrentThread(const QZImageSizeAndDataBlock& completion)
{
    doStep(
        [&](CGContextRef context, CGImageRef, QZImageBytes& buffer) {
            if (completion)
                completion(
                    CGSizeMake(CGFloat(CGBitmapContextGetWidth(context)), CGFloat(CGBitmapContextGetHeight(context))),
                    buffer.data());
        },
        releaseCount());
}

void QZBitmapImageServer::takeSnapshot(QZSnapshotHandler handler)
{
    if (!handler) return;
    enqueueStep([this, handler = std::move(handler)](CGContextRef context, CGImageRef, QZImageBytes& buffer) {
        auto snapshot = std::make_shared<QZImageBytes>();
        if (context) snapshot->assign(buffer.begin(), buffer.begin() + std::ptrdiff_t(bytesForSize(size())));
        dispatch_async(dispatch_get_main_queue(), [handler, snapshot] { handler(snapshot); });
    });
}

void QZBitmapImageServer::setPixelsWithSnapshot(std::shared_ptr<const QZImageBytes> snapshot)
{
    if (!snapshot) return;
    enqueueStep([snapshot = std::move(snapshot)](CGContextRef, CGImageRef, QZImageBytes& buffer) {
        const std::size_t length = std::min(snapshot->size(), buffer.size());
        if (length > 0) std::memcpy(buffer.data(), snapshot->data(), length);
    });
}

void QZBitmapImageServer::cancelProcessing()
{
    stopped_.store(true);
    runBlock([self = self<QZBitmapImageServer>()] { self->stopped_.store(false); });
}

void QZBitmapImageServer::releaseInputImage()
{
    CGImageRef image = nullptr;
    std::shared_ptr<QZImageBytes> buffer;
    {
        std::lock_guard lock(mutex_);
        image = inputImage_;
        inputImage_ = nullptr;
        buffer = std::move(data_);
        data_ = nullptr;
        ++releaseCount_;
    }
    CGImageRelease(image);
}
