#include "GLES/EAGLContext.h"

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSLog.h"
#include "GLES/EGLCoreContext.h"

#include <GLES2/gl2ext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

thread_local std::string lastCreationFailure;

// The calling thread's current context. A thread that ends with one current lets it go, so that
// the context can be made current elsewhere afterwards.
struct CurrentSlot {
    std::shared_ptr<EAGLContext> context;
    ~CurrentSlot()
    {
        if (context) EAGLContext::setCurrentContext(nullptr);
    }
};
thread_local CurrentSlot currentSlot;

}  // namespace

EAGLContext::~EAGLContext() = default;

std::shared_ptr<EAGLContext> EAGLContext::make(EAGLRenderingAPI api)
{
    return NSObject::create<EAGLContext>(&EAGLContext::initWithAPI, api);
}

std::string EAGLContext::creationFailureReason()
{
    return lastCreationFailure;
}

bool EAGLContext::initWithAPI(EAGLRenderingAPI api)
{
    if (api != kEAGLRenderingAPIOpenGLES2) {
        lastCreationFailure =
            NSStringWithFormat("rendering API %d is not offered: only OpenGL ES 2", static_cast<int>(api));
        return false;
    }
    std::string why;
    core_ = EGLCoreContext::create(&why);
    if (!core_) {
        lastCreationFailure = why;
        return false;
    }
    api_ = api;
    return true;
}

std::shared_ptr<EAGLContext> EAGLContext::currentContext()
{
    return currentSlot.context;
}

bool EAGLContext::setCurrentContext(const std::shared_ptr<EAGLContext>& context)
{
    std::shared_ptr<EAGLContext>& current = currentSlot.context;
    if (context == current) return true;
    if (context) {
        std::thread::id nobody;
        if (!context->owner_.compare_exchange_strong(nobody, std::this_thread::get_id()))
            return false;  // current on another thread
        std::string why;
        if (!context->core_->makeCurrent(&why)) {
            context->owner_.store(std::thread::id());
            NSLog("EAGLContext: %@", why);
            return false;
        }
    } else {
        std::string why;
        if (!EGLCoreContext::makeNoneCurrent(&why)) {
            NSLog("EAGLContext: %@", why);
            return false;
        }
    }
    if (current) current->owner_.store(std::thread::id());
    current = context;
    return true;
}

bool EAGLContext::renderbufferStorage(GLenum target, const std::shared_ptr<EAGLDrawable>& drawable)
{
    if (target != GL_RENDERBUFFER || !drawable || currentSlot.context.get() != this) return false;
    GLint renderbuffer = 0;
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &renderbuffer);
    if (renderbuffer == 0) return false;
    const EAGLDrawablePixelSize size = drawable->drawablePixelSize();
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (size.width <= 0 || size.height <= 0 || size.width > maxSize || size.height > maxSize) return false;
    // RGBA8, not the RGBA4 of the core API: presented frames are compared to the byte.
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8_OES, static_cast<GLsizei>(size.width),
                          static_cast<GLsizei>(size.height));
    GLint width = 0, height = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
    if (width != size.width || height != size.height) return false;

    std::lock_guard lock(linksMutex_);
    for (auto it = links_.begin(); it != links_.end();) {
        const bool sameDrawable =
            !it->second.drawable.owner_before(drawable) && !drawable.owner_before(it->second.drawable);
        it = sameDrawable || it->second.drawable.expired() ? links_.erase(it) : std::next(it);
    }
    links_[static_cast<GLuint>(renderbuffer)] = {drawable, size.width, size.height};
    return true;
}

bool EAGLContext::presentRenderbuffer(GLenum target)
{
    if (target != GL_RENDERBUFFER || currentSlot.context.get() != this) return false;
    GLint renderbuffer = 0;
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &renderbuffer);
    if (renderbuffer == 0) return false;
    std::shared_ptr<EAGLDrawable> drawable;
    DrawableLink link;
    {
        std::lock_guard lock(linksMutex_);
        auto it = links_.find(static_cast<GLuint>(renderbuffer));
        if (it == links_.end()) return false;
        link = it->second;
        drawable = link.drawable.lock();
    }
    if (!drawable) return false;
    // Storage given since by plain GL (or a reused name) no longer stands for the drawable.
    GLint width = 0, height = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
    if (width != link.width || height != link.height) return false;

    GLint previousFramebuffer = 0, previousPackAlignment = 4;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &previousPackAlignment);
    if (readFramebuffer_ == 0) glGenFramebuffers(1, &readFramebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, readFramebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, static_cast<GLuint>(renderbuffer));
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    std::vector<uint8_t> rows(rowBytes * static_cast<size_t>(height));
    if (complete) {
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
        glPixelStorei(GL_PACK_ALIGNMENT, previousPackAlignment);
    }
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer));
    if (!complete) return false;

    // GL's row 0 is the bottom of the picture, as on a screen; the image starts at the top.
    std::vector<uint8_t> picture(rows.size());
    for (size_t y = 0; y < static_cast<size_t>(height); ++y)
        std::memcpy(&picture[y * rowBytes], &rows[(static_cast<size_t>(height) - 1 - y) * rowBytes], rowBytes);
    CGImageRef image =
        CGImageCreateWithRGBABytes(static_cast<size_t>(width), static_cast<size_t>(height), rowBytes, picture.data());
    if (!image) return false;
    drawable->presentDrawableImage(image);
    CGImageRelease(image);
    return true;
}

bool EAGLContext::dispatchSyncToMainHandingOverCurrentContext(const dispatch_block_t& block)
{
    if (DispatchMainQueue::isMainThread()) {
        std::fprintf(stderr, "EAGLContext::dispatchSyncToMainHandingOverCurrentContext called on the main thread: "
                             "a synchronous hop from the main thread to the main queue never returns\n");
        std::abort();
    }
    std::shared_ptr<EAGLContext> context = currentContext();
    if (context && !setCurrentContext(nullptr)) {
        NSLog("EAGLContext: the current context could not be released for the main thread; the block did not run");
        return false;
    }
    dispatch_sync(dispatch_get_main_queue(), block);
    if (context && !setCurrentContext(context)) {
        NSLog("EAGLContext: the context cannot be taken back: the block left it current on the main thread");
        return false;
    }
    return true;
}
