#include "GLES/EGLHeadlessContext.h"

bool EGLHeadlessContext::open(std::string* why)
{
    close();
    std::unique_ptr<EGLCoreContext> context = EGLCoreContext::create(why);
    if (!context || !context->makeCurrent(why)) return false;
    context_ = std::move(context);
    return true;
}

void EGLHeadlessContext::close()
{
    if (!context_) return;
    context_.reset();
    eglReleaseThread();
}
