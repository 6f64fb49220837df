#pragma once
// The editor's one OpenGL ES 2 context and one GPU record, for the whole process. The manager
// loads the shader programs, hands out sub-queues of the GPU queue and runs every GL block with
// the context current. GL instances retain it at creation and release it when they go; the last
// release tears everything down only when "editor.purgesGPUMemory" is on or a purge was asked for,
// and the next retain sets everything up again.
//
// The GPU queue runs on one thread of its own (an EGL context is current on one thread at a time).
// A block takes the context of the set-up it was queued under, so a block queued before a
// tear-down still runs with its context before the destroy block deletes it, and no block of an
// older set-up reaches a newer record.
//
// No GPU is no crash: when the context cannot be made, set-up logs why, counts as done with a
// record whose failure latch is set and a maximum size of 0 x 0, and answers setupFailed(); GL
// blocks are then dropped.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"
#include "TesselSDKImaging/QZDispatchPriorityQueue.h"
#include "TesselSDKImaging/QZQueueType.h"
#include "QopLite/QopGLData.h"
#include "QopLite/QopGLUtils.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class EAGLContext;
class QZAppBackgroundStateManager;

class QZOpenGLManager : public NSObject {
public:
    using NSObject::NSObject;

    // The one manager, made on first use (thread-safe); making it sets up.
    static std::shared_ptr<QZOpenGLManager> sharedOpenGLManager();
    // The manager when it has been made, else null: for callers that must never cause a set-up.
    static std::shared_ptr<QZOpenGLManager> existingOpenGLManager();
    // Sets up when the shared manager is not set up: lets a host start the GL load early.
    static void beginOpenGLLoad();
    // Sets / clears the request to tear down at the end of the current (or next) hold.
    static void requestOpenGLDataPurge();
    static void cancelOpenGLDataPurgeRequest();
    // The shader-group loaders the warm-up runs, one block each, in this order.
    static const std::array<QopGLPrewarmFunction, 14>& prewarmFunctions();

    // Sets up when nobody holds the manager and it is not set up, then counts one more holder.
    std::shared_ptr<QZOpenGLManager> retainManager();
    // Counts one holder less (nothing at 0); at 0, tears down when "editor.purgesGPUMemory" is on
    // or a purge was requested, and clears the request.
    void releaseManager();
    // Both run on the caller's thread under the manager's lock; set-up does nothing while set up,
    // tear-down nothing while not.
    void setup();
    void breakdown();
    void beginPrewarmingShaders();

    // Sub-queues of the GPU queue, which outlives tear-downs.
    int generateQueueWithType(QZQueueType type);
    // Forgets the sub-queue once its queued blocks have run.
    void destroyQueueWithIdentifier(int identifier);
    void pauseRenderingOnQueueWithIdentifier(int identifier);
    void resumeRenderingOnQueueWithIdentifier(int identifier);
    void cancelRenderingOnQueueWithIdentifier(int identifier);
    // Queues the block with the manager's current context, made current on the GL thread for it
    // (and left current there until another set-up's block or the destroy block). A null block
    // is ignored; with no context (not set up, or set-up failed) the block is dropped and logged.
    void addBlock(dispatch_block_t block, int identifier);
    // In a GL block: binds the record's renderbuffer, when it names one, and presents it through
    // the current context.
    void presentCurrentRenderbuffer();

    // Null before set-up and once the destroy block of a tear-down has run.
    QopGLData_t* glData() const { return glData_.load(); }
    std::shared_ptr<EAGLContext> glContext() const;
    CGSize maxSize() const;
    // GL_RENDERER of the current set-up's context, read with the size; empty without one.
    std::string rendererName() const;
    bool hasSetup() const;
    std::shared_ptr<QZDispatchPriorityQueue> priorityQueue() const;
    std::int32_t managerRetainCount() const;
    std::shared_ptr<QZAppBackgroundStateManager> backgroundStateManager() const;
    std::int32_t prewarmQueueIdentifer() const;
    bool purgeFlag() const;
    // The current set-up has no usable context or record (our addition: GL instances are not
    // made on it).
    bool setupFailed() const { return setupFailed_.load(); }

    // Calls f with glData() while the record cannot be freed: the destroy block frees it under the
    // same lock. Takes no lock of the manager (the background observer uses it).
    template <class F>
    void withGLData(F&& f) const
    {
        std::lock_guard lock(recordMutex_);
        f(glData_.load());
    }

private:
    void failSetup();

    mutable std::recursive_mutex mutex_;
    std::atomic<QopGLData_t*> glData_{nullptr};
    std::shared_ptr<EAGLContext> glContext_;
    CGSize maxSize_{0, 0};
    std::string rendererName_;
    bool hasSetup_ = false;
    std::shared_ptr<QZDispatchPriorityQueue> priorityQueue_;
    std::int32_t managerRetainCount_ = 0;
    std::shared_ptr<QZAppBackgroundStateManager> backgroundStateManager_;
    std::int32_t prewarmQueueIdentifer_ = 0;
    bool purgeFlag_ = false;
    std::atomic<bool> setupFailed_{false};
    mutable std::mutex recordMutex_;
};
