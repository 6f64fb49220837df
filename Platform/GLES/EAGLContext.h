#pragma once
// The GL context stand-in over the EGL core: an OpenGL ES 2 context with no share group.
//
// The current context is per thread and held strongly while current. EGL binds a context to one
// thread at a time, so making a context current that is current on another thread answers NO and
// changes nothing; a thread hands its context to another by letting it go first. Bindings and
// objects belong to the context and go with it.
//
// A renderbuffer's storage may come from a drawable (a layer): the context then remembers, weakly,
// which drawable each renderbuffer stands for, and presenting the renderbuffer reads it back and
// hands the drawable an immutable image of it.

#include "Dispatch/DispatchQueue.h"
#include "Foundation/NSObject.h"
#include "GLES/EAGLDrawable.h"

#include <GLES2/gl2.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class EGLCoreContext;

enum EAGLRenderingAPI {
    kEAGLRenderingAPIOpenGLES1 = 1,
    kEAGLRenderingAPIOpenGLES2 = 2,
    kEAGLRenderingAPIOpenGLES3 = 3,
};

class EAGLContext : public NSObject {
public:
    using NSObject::NSObject;
    ~EAGLContext() override;

    // initWithAPI:. Null for any API but OpenGL ES 2, or when EGL gives no context; the calling
    // thread's creationFailureReason() then says why, for a log line.
    static std::shared_ptr<EAGLContext> make(EAGLRenderingAPI api);
    static std::string creationFailureReason();

    EAGLRenderingAPI API() const { return api_; }

    // Null makes no context current (the one that was is flushed). NO, changing nothing, when the
    // context is current on another thread or EGL refuses.
    static bool setCurrentContext(const std::shared_ptr<EAGLContext>& context);
    static std::shared_ptr<EAGLContext> currentContext();

    // renderbufferStorage:fromDrawable:. Gives the renderbuffer bound to GL_RENDERBUFFER RGBA8
    // storage of the drawable's pixel size and links it to the drawable (one renderbuffer per
    // drawable: new storage replaces either link). NO, with nothing changed, for another target,
    // no bound renderbuffer, a zero-area or oversized drawable, or when this context is not current
    // on the calling thread.
    bool renderbufferStorage(GLenum target, const std::shared_ptr<EAGLDrawable>& drawable);
    // presentRenderbuffer:. Reads the renderbuffer bound to GL_RENDERBUFFER back through a
    // framebuffer of the context's own, restores the bindings it touched, and hands the linked
    // drawable the image. NO, presenting nothing, when the renderbuffer has no drawable storage
    // (never given any, storage replaced since, drawable gone) or this context is not current.
    bool presentRenderbuffer(GLenum target);

    // For a GL block's synchronous hop to the main thread: releases the calling thread's current
    // context (EGL flushes its commands), runs the block synchronously on the main queue, then
    // makes the context current again. NO (logged) only when it cannot be taken back, because the
    // block left it current on the main thread. Called on the main thread it stops the process
    // with a message, like any synchronous hop from there to the main queue.
    static bool dispatchSyncToMainHandingOverCurrentContext(const dispatch_block_t& block);

private:
    bool initWithAPI(EAGLRenderingAPI api);
    static bool makeCurrentOnThisThread(const std::shared_ptr<EAGLContext>& context);

    struct DrawableLink {
        std::weak_ptr<EAGLDrawable> drawable;
        long width = 0;
        long height = 0;
    };

    EAGLRenderingAPI api_ = kEAGLRenderingAPIOpenGLES2;
    std::unique_ptr<EGLCoreContext> core_;
    // The thread the context is current on; a default id when none.
    std::atomic<std::thread::id> owner_{};
    std::mutex linksMutex_;
    std::map<GLuint, DrawableLink> links_;  // renderbuffer -> the drawable its storage came from
    GLuint readFramebuffer_ = 0;            // used by presents only, while current
};
