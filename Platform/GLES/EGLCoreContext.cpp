#include "GLES/EGLCoreContext.h"

#include "GLES/EGLError.h"

std::unique_ptr<EGLCoreContext> EGLCoreContext::create(std::string* why)
{
    std::shared_ptr<EGLDisplayConnection> connection = EGLDisplayConnection::open(why);
    if (!connection) return nullptr;
    // The API is per thread in EGL: name it on the thread that creates.
    if (eglBindAPI(EGL_OPENGL_ES_API) != EGL_TRUE) {
        if (why) *why = "the EGL display has no OpenGL ES API: " + EGLLastErrorName();
        return nullptr;
    }
    const EGLint attributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
    EGLContext context = eglCreateContext(connection->display(), connection->config(), EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) {
        if (why) *why = "eglCreateContext refused an OpenGL ES 2 context: " + EGLLastErrorName();
        return nullptr;
    }
    return std::unique_ptr<EGLCoreContext>(new EGLCoreContext(std::move(connection), context));
}

EGLCoreContext::~EGLCoreContext()
{
    if (isCurrentOnThisThread()) makeNoneCurrent(nullptr);
    eglDestroyContext(connection_->display(), context_);
}

bool EGLCoreContext::makeCurrent(std::string* why)
{
    if (eglMakeCurrent(connection_->display(), EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_TRUE) return true;
    if (why) *why = "eglMakeCurrent failed: " + EGLLastErrorName();
    return false;
}

bool EGLCoreContext::makeNoneCurrent(std::string* why)
{
    EGLDisplay display = eglGetCurrentDisplay();
    if (display == EGL_NO_DISPLAY) return true;
    if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) == EGL_TRUE) return true;
    if (why) *why = "eglMakeCurrent releasing the current context failed: " + EGLLastErrorName();
    return false;
}
