#include "TesselSDKImaging/QZOpenGLManager.h"

#include "TesselSDKImaging/QZAppBackgroundStateManager.h"
#include "TesselSDKImaging/QZDeviceInfo.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

#include "Foundation/NSLog.h"
#include "GLES/EAGLContext.h"
#include "QopLite/QopGL.h"

#include <GLES2/gl2.h>

#include <cstdlib>

namespace {

// The process carries on (a host's unsaved work must not go with it): GL work is dropped and the
// editor tells the person it cannot edit.
constexpr const char* kNoContextMessage =
    "An OpenGL context cannot be created: GL work is dropped and photo editing is not available.";

// The shared manager once made; read by code that must not make it.
std::atomic<QZOpenGLManager*> existingManager{nullptr};

std::shared_ptr<QZDispatchPriorityQueue> gpuQueue()
{
    return QZDispatchPriorityQueue::processingQueue();
}

}  // namespace

std::shared_ptr<QZOpenGLManager> QZOpenGLManager::sharedOpenGLManager()
{
    static auto* manager = new std::shared_ptr<QZOpenGLManager>([] {
        std::shared_ptr<QZOpenGLManager> made = NSObject::create<QZOpenGLManager>(&QZOpenGLManager::setup);
        existingManager.store(made.get());
        return made;
    }());
    return *manager;
}

std::shared_ptr<QZOpenGLManager> QZOpenGLManager::existingOpenGLManager()
{
    QZOpenGLManager* manager = existingManager.load();
    return manager ? manager->self<QZOpenGLManager>() : nullptr;
}

void QZOpenGLManager::beginOpenGLLoad()
{
    std::shared_ptr<QZOpenGLManager> manager = sharedOpenGLManager();
    // Under the lock: a retain setting up at the same time would otherwise make a second context
    // and record, one of them leaked and the GL instances split between them.
    std::lock_guard lock(manager->mutex_);
    if (!manager->priorityQueue_) manager->setup();
}

void QZOpenGLManager::requestOpenGLDataPurge()
{
    std::shared_ptr<QZOpenGLManager> manager = sharedOpenGLManager();
    std::lock_guard lock(manager->mutex_);
    manager->purgeFlag_ = true;
}

void QZOpenGLManager::cancelOpenGLDataPurgeRequest()
{
    std::shared_ptr<QZOpenGLManager> manager = sharedOpenGLManager();
    std::lock_guard lock(manager->mutex_);
    manager->purgeFlag_ = false;
}

const std::array<QopGLPrewarmFunction, 14>& QZOpenGLManager::prewarmFunctions()
{
    static const std::array<QopGLPrewarmFunction, 14> table = {
        QopGLLoadBitmapBlendShaders,
        QopGLLoadColorMapAndTransformShaders,
        QopGLLoadIntensityMapShaders,
        QopGLLoadVignetteShaders,
        QopGLLoadEnhanceAndBlurShaders,
        QopGLLoadLABShaders,
        QopGLLoadSpotAndDrawingToolShaders,
        QopGLLoadFlareShaders1,
        QopGLLoadFlareShaders2,
        QopGLLoadFlareShaders3,
        QopGLLoadBorderShaders,
        QopGLLoadGradientShaders,
        QopGLLoadMiscellaneousShaders1,
        QopGLLoadMiscellaneousShaders2,
    };
    return table;
}

std::shared_ptr<QZOpenGLManager> QZOpenGLManager::retainManager()
{
    std::lock_guard lock(mutex_);
    if (managerRetainCount_ == 0 && !priorityQueue_) setup();
    ++managerRetainCount_;
    return self<QZOpenGLManager>();
}

void QZOpenGLManager::releaseManager()
{
    std::lock_guard lock(mutex_);
    if (managerRetainCount_ == 0) return;
    if (--managerRetainCount_ > 0) return;
    const bool purgesGPUMemory = QZPhotoEditorCustomization::optionValueForKey("editor.purgesGPUMemory").boolValue();
    if (purgesGPUMemory || purgeFlag_) {
        breakdown();
        purgeFlag_ = false;
    }
}

void QZOpenGLManager::setup()
{
    std::lock_guard lock(mutex_);
    if (hasSetup_) return;
    backgroundStateManager_ = QZAppBackgroundStateManager::make();
    setupFailed_ = false;

    std::shared_ptr<EAGLContext> context = EAGLContext::make(kEAGLRenderingAPIOpenGLES2);
    if (!context) {
        NSLog("%@", kNoContextMessage);
        NSLog("EAGLContext: %@", EAGLContext::creationFailureReason());
        failSetup();
        return;
    }
    // The size query runs on the caller's thread, which may be in a GL block of its own: its
    // current context is put back afterwards.
    std::shared_ptr<EAGLContext> previous = EAGLContext::currentContext();
    if (!EAGLContext::setCurrentContext(context)) {
        NSLog("%@", kNoContextMessage);
        NSLog("EAGLContext: the new context cannot be made current for the size query");
        failSetup();
        return;
    }
    const CGFloat dimension = QopGLMaxImageDimension();
    const GLubyte* renderer = glGetString(GL_RENDERER);
    rendererName_ = renderer ? reinterpret_cast<const char*>(renderer) : "";
    if (!EAGLContext::setCurrentContext(previous))
        NSLog("%s %@", "-[QZOpenGLManager setup]", "The caller's GL context could not be made current again.");

    glContext_ = context;
    maxSize_ = CGSizeMake(dimension, dimension);
    hasSetup_ = true;
    priorityQueue_ = gpuQueue();
    auto* record = static_cast<QopGLData_t*>(std::calloc(1, sizeof(QopGLData_t)));
    glData_.store(record);

    const int loadQueue = priorityQueue_->generateQueueForType(QZQueueTypeLoad);
    std::shared_ptr<QZOpenGLManager> manager = self<QZOpenGLManager>();
    addBlock(
        [manager, record] {
            if (QopGLInitialize(record, QZDeviceInfo::detecteDeviceGPUSpeed(), QopGLRenderingModeDefault)) return;
            // No identity program: nothing can be drawn on this set-up.
            record->state = QopGLStateFailed;
            manager->setupFailed_ = true;
            NSLog("%s %@", "-[QZOpenGLManager setup]", "The GL record could not be initialised.");
        },
        loadQueue);
    priorityQueue_->destroyQueueWithIdentifierAfterPendingBlocksComplete(loadQueue);
    beginPrewarmingShaders();
}

void QZOpenGLManager::failSetup()
{
    // Counted as set up, so that no retain tries again: a record whose failure latch is set, and
    // no context, so GL blocks are dropped and GL instances are not made.
    auto* record = static_cast<QopGLData_t*>(std::calloc(1, sizeof(QopGLData_t)));
    record->state = QopGLStateFailed;
    glContext_.reset();
    maxSize_ = CGSizeMake(0, 0);
    rendererName_.clear();
    hasSetup_ = true;
    priorityQueue_ = gpuQueue();
    glData_.store(record);
    setupFailed_ = true;
}

void QZOpenGLManager::beginPrewarmingShaders()
{
    std::lock_guard lock(mutex_);
    QopGLData_t* record = glData_.load();
    if (!glContext_ || !record) return;
    const int prewarmQueue = gpuQueue()->generateQueueForType(QZQueueTypePrewarm);
    for (QopGLPrewarmFunction load : prewarmFunctions()) addBlock([load, record] { load(record, true); }, prewarmQueue);
    prewarmQueueIdentifer_ = prewarmQueue;
}

void QZOpenGLManager::breakdown()
{
    std::lock_guard lock(mutex_);
    if (!hasSetup_) return;
    if (prewarmQueueIdentifer_ != 0) {
        priorityQueue_->destroyQueueWithIdentifier(prewarmQueueIdentifer_);
        prewarmQueueIdentifer_ = -1;
    }
    // The destroy block works on this set-up's record and context, whatever is set up by the time
    // it runs; its sub-queue is never destroyed.
    const int destroyQueue = priorityQueue_->generateQueueForType(QZQueueTypeDestroy);
    std::shared_ptr<QZOpenGLManager> manager = self<QZOpenGLManager>();
    priorityQueue_->addBlock(
        [manager, record = glData_.load(), context = glContext_] {
            if (!record) return;
            if (context) {
                if (EAGLContext::setCurrentContext(context))
                    QopGLDestroy(record);
                else
                    NSLog("%s %@", "-[QZOpenGLManager breakdown]",
                          "The GL context cannot be made current: its objects go with it.");
                EAGLContext::setCurrentContext(nullptr);
            }
            std::lock_guard recordLock(manager->recordMutex_);
            QopGLData_t* expected = record;
            manager->glData_.compare_exchange_strong(expected, nullptr);
            std::free(record);
        },
        destroyQueue);
    priorityQueue_.reset();
    hasSetup_ = false;
    glContext_.reset();
    backgroundStateManager_.reset();
    setupFailed_ = false;
}

int QZOpenGLManager::generateQueueWithType(QZQueueType type)
{
    return gpuQueue()->generateQueueForType(type);
}

void QZOpenGLManager::destroyQueueWithIdentifier(int identifier)
{
    gpuQueue()->destroyQueueWithIdentifierAfterPendingBlocksComplete(identifier);
}

void QZOpenGLManager::pauseRenderingOnQueueWithIdentifier(int identifier)
{
    gpuQueue()->pauseQueueWithIdentifier(identifier);
}

void QZOpenGLManager::resumeRenderingOnQueueWithIdentifier(int identifier)
{
    gpuQueue()->restartQueueWithIdentifier(identifier);
}

void QZOpenGLManager::cancelRenderingOnQueueWithIdentifier(int identifier)
{
    gpuQueue()->cancelPendingBlocksOnQueueWithIdentifier(identifier);
}

void QZOpenGLManager::addBlock(dispatch_block_t block, int identifier)
{
    if (!block) return;
    std::shared_ptr<EAGLContext> context = glContext();
    if (!context) {
        NSLog("%s %@", "-[QZOpenGLManager addBlock:toQueueWithIdentifier:]",
              "There is no GL context: the block is dropped.");
        return;
    }
    gpuQueue()->addBlock(
        [context, block = std::move(block)] {
            if (!EAGLContext::setCurrentContext(context)) {
                NSLog("%s %@", "-[QZOpenGLManager addBlock:toQueueWithIdentifier:]",
                      "The GL context is current on another thread: the block is dropped.");
                return;
            }
            // The context stays current on the GL thread between blocks: the main thread gets it
            // only through a hand-over, and the destroy block lets it go.
            block();
        },
        identifier);
}

void QZOpenGLManager::presentCurrentRenderbuffer()
{
    QopGLData_t* record = glData();
    std::shared_ptr<EAGLContext> context = EAGLContext::currentContext();
    if (!record || !context || record->glRenderingObjects.renderbuffer == 0) return;
    glBindRenderbuffer(GL_RENDERBUFFER, record->glRenderingObjects.renderbuffer);
    context->presentRenderbuffer(GL_RENDERBUFFER);
}

std::shared_ptr<EAGLContext> QZOpenGLManager::glContext() const
{
    std::lock_guard lock(mutex_);
    return glContext_;
}

CGSize QZOpenGLManager::maxSize() const
{
    std::lock_guard lock(mutex_);
    return maxSize_;
}

std::string QZOpenGLManager::rendererName() const
{
    std::lock_guard lock(mutex_);
    return rendererName_;
}

bool QZOpenGLManager::hasSetup() const
{
    std::lock_guard lock(mutex_);
    return hasSetup_;
}

std::shared_ptr<QZDispatchPriorityQueue> QZOpenGLManager::priorityQueue() const
{
    std::lock_guard lock(mutex_);
    return priorityQueue_;
}

std::int32_t QZOpenGLManager::managerRetainCount() const
{
    std::lock_guard lock(mutex_);
    return managerRetainCount_;
}

std::shared_ptr<QZAppBackgroundStateManager> QZOpenGLManager::backgroundStateManager() const
{
    std::lock_guard lock(mutex_);
    return backgroundStateManager_;
}

std::int32_t QZOpenGLManager::prewarmQueueIdentifer() const
{
    std::lock_guard lock(mutex_);
    return prewarmQueueIdentifer_;
}

bool QZOpenGLManager::purgeFlag() const
{
    std::lock_guard lock(mutex_);
    return purgeFlag_;
}
