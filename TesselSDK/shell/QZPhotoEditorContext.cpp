#include "TesselSDK/shell/QZPhotoEditorContext.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDK/shell/QZPhotoEditorSession.h"
#include "TesselSDKImaging/QZDeviceInfo.h"

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSLog.h"

#include <algorithm>
#include <cmath>

namespace {

std::mutex& limitMutex()
{
    static std::mutex mutex;
    return mutex;
}

float& limitValue()
{
    static float limit = 3000000.0f;
    return limit;
}

void onMainQueue(dispatch_block_t block)
{
    if (DispatchMainQueue::isMainThread())
        block();
    else
        dispatch_async(dispatch_get_main_queue(), std::move(block));
}

}  // namespace

float QZPhotoEditorContext::highResOutputSizeLimit()
{
    std::lock_guard lock(limitMutex());
    return limitValue();
}

void QZPhotoEditorContext::setHighResOutputSizeLimit(float limit)
{
    std::lock_guard lock(limitMutex());
    limitValue() = limit;
}

std::shared_ptr<QZPhotoEditorContext> QZPhotoEditorContext::make(const std::shared_ptr<QZPhotoEditorSession>& session,
                                                                 const std::shared_ptr<UIImage>& image, CGSize maxSize)
{
    return NSObject::create<QZPhotoEditorContext>([&](QZPhotoEditorContext& context) {
        context.initWithSession(session, maxSize);
        // Chosen once, here: at the photo's own size a software rasteriser replays slower than the
        // CPU server. A smaller context keeps the GPU, as the preview does.
        const bool fullSize = image && context.outputScaleForImage(*image) >= 1;
        context.setupImageServerWithImage(image,
                                          !fullSize || QZDeviceInfo::fullSizeServer() == QZFullSizeServer::GPU);
    });
}

std::shared_ptr<QZPhotoEditorContext> QZPhotoEditorContext::make(const std::shared_ptr<QZPhotoEditorSession>& session,
                                                                 CGSize size)
{
    return NSObject::create<QZPhotoEditorContext>(
        [&](QZPhotoEditorContext& context) { context.initWithSession(session, size); });
}

void QZPhotoEditorContext::initWithSession(const std::shared_ptr<QZPhotoEditorSession>& session, CGSize size)
{
    session_ = session;
    size_ = size;
    completionQueue_ = NSOperationQueue::queue();
    completionQueue_->setMaxConcurrentOperationCount(1);
    completionQueue_->setSuspended(session && session->isOpen());
}

QZPhotoEditorContext::~QZPhotoEditorContext()
{
    std::vector<std::shared_ptr<QZPhotoEditorContextJob>> jobs;
    {
        std::lock_guard lock(mutex_);
        jobs.swap(renderJobs_);
    }
    for (const auto& job : jobs)
        if (job->imageServer) job->imageServer->cancelProcessing();
}

bool QZPhotoEditorContext::isCanceled() const
{
    std::lock_guard lock(mutex_);
    return canceled_;
}

std::vector<std::shared_ptr<QZPhotoEditorContextJob>> QZPhotoEditorContext::renderJobs() const
{
    std::lock_guard lock(mutex_);
    return renderJobs_;
}

void QZPhotoEditorContext::markCanceled()
{
    std::lock_guard lock(mutex_);
    canceled_ = true;
}

CGSize QZPhotoEditorContext::outputSizeForImage(const UIImage& image, CGFloat* scale) const
{
    CGSize output = QZCGSizeScaleToMaxSize(image.size(), size_, scale);
    const float limit = highResOutputSizeLimit();
    const double area = double(output.width) * double(output.height);
    if (limit >= 0 && area > 0) {
        const CGFloat u = CGFloat(std::min(1.0, std::sqrt(double(limit) / area)));
        *scale *= u;
        output = CGSizeMake(output.width * u, output.height * u);
    }
    return output;
}

CGFloat QZPhotoEditorContext::outputScaleForImage(const UIImage& image) const
{
    CGFloat scale = 1;
    outputSizeForImage(image, &scale);
    return scale;
}

void QZPhotoEditorContext::setupImageServerWithImage(const std::shared_ptr<UIImage>& image, bool useGL)
{
    if (!image || !image->CGImage()) return;
    CGFloat scale = 1;
    const CGSize output = outputSizeForImage(*image, &scale);
    scale_ = scale;
    inputImage_ = image;

    // Where the GPU cannot take the output (no GL, or beyond its largest texture), the CPU path
    // replays instead of failing.
    // As the image server's size: a side thinner than a pixel at this scale keeps one.
    const CGSize pixels = CGSizeMake(std::max<CGFloat>(1, std::floor(output.width)),
                                     std::max<CGFloat>(1, std::floor(output.height)));
    auto madeInstance =
        useGL ? QZOpenGLInstance::make(pixels, QopGLRenderingModeOverwriteOriginal, QZQueueTypeHires) : nullptr;
    auto madeServer = QZBitmapImageServer::make(image->CGImage(), scale, image->imageOrientation(), madeInstance);
    {
        std::lock_guard lock(mutex_);
        glInstance_ = std::move(madeInstance);
        imageServer_ = std::move(madeServer);
    }
    if (!imageServer_) return;

    // A tone or effect module does not draw its input; every path draws it once here, before the
    // first module is queued.
    if (!glInstance_) {
        imageServer_->drawImage();
        return;
    }
    glInstance_->pauseRendering();
    imageServer_->drawImage();
    std::weak_ptr<QZOpenGLInstance> weakInstance = glInstance_;
    std::weak_ptr<QZBitmapImageServer> weakServer = imageServer_;
    imageServer_->getProcessedImageSizeAndData([weakInstance, weakServer](CGSize drawn, std::uint8_t* bytes) {
        if (auto instance = weakInstance.lock()) instance->setInputImageDataFromGLQueue(bytes, drawn, false);
        if (auto server = weakServer.lock()) server->releaseInputImage();
    });
    glInstance_->setupProcessingObjects();
    glInstance_->renderIdentityImageWithCompletion(nullptr);
}

void QZPhotoEditorContext::addModuleToJob(const std::shared_ptr<QZModule>& module, const QZPhotoEditorContextJob& job)
{
    if (!module) return;
    modified_ = true;
    const std::shared_ptr<QZBitmapImageServer>& server = job.imageServer;
    if (!server) return;
    // A brush width or text size chosen on the preview scales to the output. Without an editing
    // size the ratio means nothing; the module keeps its own scale.
    const auto session = this->session();
    const CGSize editing = session ? session->editingSize() : CGSizeMake(0, 0);
    const CGSize served = server->size();
    if (editing.width > 0 && editing.height > 0)
        module->setScaleFactor(std::max(served.height / editing.height, served.width / editing.width));
    if (glInstance_) {
        module->setWillRunOnCPU(false);
        server->runModule(module, false, nullptr);
    } else {
        module->setWillRunOnCPU(true);
        server->runModule(module, true, [server] { server->commit(); });
    }
}

void QZPhotoEditorContext::render(RenderCompletion completion)
{
    if (hasBegunRendering_) {
        NSLog("Attempt to call render: on an QZPhotoEditorContext instance that has already begun rendering. No "
              "action will be taken.");
        return;
    }
    hasBegunRendering_ = true;
    if (!completion) return;
    if (isCanceled()) {
        completion(nullptr);
        return;
    }

    auto job = QZPhotoEditorContextJob::make(imageServer_, scale_);
    {
        std::lock_guard lock(mutex_);
        renderJobs_.push_back(job);
    }
    auto session = this->session();
    if (session) {
        const auto modules = session->modules();
        for (const auto& module : modules) addModuleToJob(module, *job);
    }

    std::weak_ptr<QZPhotoEditorContext> weak = weakSelf<QZPhotoEditorContext>();
    if (glInstance_) {
        std::lock_guard lock(mutex_);
        completionBlock_ = [weak, completion, job](std::shared_ptr<UIImage> image) {
            completion(std::move(image));
            if (auto self = weak.lock()) self->finishJob(job);
        };
    } else {
        completionQueue_->addOperationWithBlock([weak, completion, job] {
            dispatch_async(dispatch_get_main_queue(), [weak, completion, job] {
                if (weak.expired()) return;
                auto deliver = [weak, completion, job](CGImageRef cgImage) {
                    auto self = weak.lock();
                    if (!self) return;
                    const bool wanted = cgImage && !self->isCanceled() && self->isModified();
                    completion(wanted ? UIImage::imageWithCGImage(cgImage) : nullptr);
                    self->finishJob(job);
                };
                if (job->imageServer)
                    job->imageServer->getProcessedImage(deliver);
                else
                    deliver(nullptr);
            });
        });
    }
    if (!session || !session->isOpen()) sessionDidClose(session);
}

void QZPhotoEditorContext::renderInputImage(const std::shared_ptr<UIImage>& image, RenderCompletion completion)
{
    // No image: nothing to build a server on, and the completion hears it once.
    if (!image) {
        if (completion) completion(nullptr);
        return;
    }
    setupImageServerWithImage(image, false);
    render(std::move(completion));
}

void QZPhotoEditorContext::finishJob(const std::shared_ptr<QZPhotoEditorContextJob>& job)
{
    bool none;
    {
        std::lock_guard lock(mutex_);
        std::erase(renderJobs_, job);
        none = renderJobs_.empty();
    }
    if (!none) return;
    if (auto session = this->session()) session->removeContextsObject(this);
}

QZPhotoEditorContext::RenderCompletion QZPhotoEditorContext::takeCompletionBlock()
{
    std::lock_guard lock(mutex_);
    RenderCompletion block;
    block.swap(completionBlock_);
    return block;
}

void QZPhotoEditorContext::cancelRendering()
{
    std::vector<std::shared_ptr<QZBitmapImageServer>> servers;
    std::shared_ptr<QZOpenGLInstance> instance;
    bool readBackQueued;
    {
        std::lock_guard lock(mutex_);
        if (canceled_) return;
        canceled_ = true;
        for (const auto& job : renderJobs_) servers.push_back(job->imageServer);
        renderJobs_.clear();
        instance = glInstance_;
        readBackQueued = readBackQueued_;
    }
    for (const auto& server : servers)
        if (server) server->cancelProcessing();

    std::weak_ptr<QZPhotoEditorContext> weak = weakSelf<QZPhotoEditorContext>();
    if (instance) {
        instance->cancelRendering();
        // The cancel may drop the queued read-back: the host still hears once.
        if (readBackQueued)
            dispatch_async(dispatch_get_main_queue(), [weak] {
                auto self = weak.lock();
                if (!self) return;
                if (auto block = self->takeCompletionBlock()) block(nullptr);
            });
        return;
    }
    completionQueue_->addOperationWithBlock([weak] {
        auto self = weak.lock();
        if (!self) return;
        auto session = self->session();
        self->completionQueue_->setSuspended(session && session->isOpen());
    });
    completionQueue_->setSuspended(false);
}

void QZPhotoEditorContext::sessionDidAddModule(const std::shared_ptr<QZPhotoEditorSession>&,
                                               const std::shared_ptr<QZModule>& module)
{
    for (const auto& job : renderJobs()) addModuleToJob(module, *job);
}

void QZPhotoEditorContext::sessionDidRemoveAllModules(const std::shared_ptr<QZPhotoEditorSession>& session)
{
    // Nothing replayed yet, or a result already settled (cancelled, or the close has come).
    if (!modified_ || !inputImage_ || renderJobs().empty() || isCanceled() || !session || !session->isOpen()) return;

    // The one render's job replays on imageServer_ (main thread only, like glInstance_): drop what
    // it and the GL instance still have queued. They go once the new ones replace them.
    const bool gpu = glInstance_ != nullptr;
    if (imageServer_) imageServer_->cancelProcessing();
    if (gpu) glInstance_->cancelRendering();

    // A fresh server (and GL instance) on the input.
    modified_ = false;
    setupImageServerWithImage(inputImage_, gpu);
    if (gpu && !glInstance_) {
        // The pending completion waits for a GPU read-back that can no longer come.
        NSLog("Unable to start the render again on the GPU: it delivers nothing.");
        markCanceled();
        if (auto block = takeCompletionBlock()) block(nullptr);
        return;
    }
    std::lock_guard lock(mutex_);
    for (const auto& job : renderJobs_) job->imageServer = imageServer_;
}

void QZPhotoEditorContext::sessionDidClose(const std::shared_ptr<QZPhotoEditorSession>&)
{
    if (!glInstance_) {
        // An unmodified render delivers nil rather than never.
        if (!isCanceled()) completionQueue_->setSuspended(false);
        return;
    }
    bool pending, canceled;
    {
        std::lock_guard lock(mutex_);
        pending = completionBlock_ != nullptr;
        canceled = canceled_;
    }
    if (!pending) return;
    if (canceled || !modified_) {
        cancelRendering();
        if (auto block = takeCompletionBlock()) block(nullptr);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (readBackQueued_) return;
        readBackQueued_ = true;
    }
    std::weak_ptr<QZPhotoEditorContext> weak = weakSelf<QZPhotoEditorContext>();
    glInstance_->getFinalOutputImage([weak](std::shared_ptr<UIImage> image) {
        onMainQueue([weak, image] {
            auto self = weak.lock();
            if (!self) return;
            auto block = self->takeCompletionBlock();
            if (block) block(self->isCanceled() ? nullptr : image);
        });
    });
    glInstance_->resumeRendering();
}
