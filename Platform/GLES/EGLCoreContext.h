#pragma once
// An OpenGL ES 2 context on the process's display, with no share group. EGL binds a context to
// one thread at a time and draws here only into framebuffer objects, so contexts are made current
// with no surface.

#include "GLES/EGLDisplayConnection.h"

#include <EGL/egl.h>

#include <memory>
#include <string>

class EGLCoreContext {
public:
    // Null, with the reason in *why (may be null), when no display opens or EGL refuses the
    // context.
    static std::unique_ptr<EGLCoreContext> create(std::string* why);
    // Released first when current on the calling thread. A context current on another thread is
    // destroyed by EGL once that thread lets it go.
    ~EGLCoreContext();
    EGLCoreContext(const EGLCoreContext&) = delete;
    EGLCoreContext& operator=(const EGLCoreContext&) = delete;

    EGLContext handle() const { return context_; }
    const EGLDisplayConnection& connection() const { return *connection_; }

    // Makes the context current on the calling thread (EGL_BAD_ACCESS while it is current on
    // another). false with EGL's error in *why (may be null).
    bool makeCurrent(std::string* why);
    bool isCurrentOnThisThread() const { return eglGetCurrentContext() == context_; }

    // Makes no context current on the calling thread; the one that was is flushed. true when
    // none was current.
    static bool makeNoneCurrent(std::string* why);

private:
    EGLCoreContext(std::shared_ptr<EGLDisplayConnection> connection, EGLContext context)
        : connection_(std::move(connection)), context_(context)
    {
    }

    std::shared_ptr<EGLDisplayConnection> connection_;
    EGLContext context_;
};
