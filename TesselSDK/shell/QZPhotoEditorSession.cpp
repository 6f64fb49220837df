#include "TesselSDK/shell/QZPhotoEditorSession.h"

#include "TesselSDK/shell/QZPhotoEditorContext.h"

#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"

#include <algorithm>
#include <cfloat>

const std::string QZPhotoEditorSessionCancelledNotification = "QZPhotoEditorSessionCanceledNotification";

std::shared_ptr<QZPhotoEditorSession> QZPhotoEditorSession::make()
{
    return NSObject::create<QZPhotoEditorSession>();
}

QZPhotoEditorSession::~QZPhotoEditorSession()
{
    for (const auto& context : contexts_) context->setSession(nullptr);
}

void QZPhotoEditorSession::setOpen(bool open)
{
    if (open == open_) return;
    open_ = open;
    if (open) return;
    // A context may leave the list while it hears of the close.
    const auto contexts = contexts_;
    auto self = this->self<QZPhotoEditorSession>();
    for (const auto& context : contexts) context->sessionDidClose(self);
}

void QZPhotoEditorSession::setCancelled(bool cancelled)
{
    if (cancelled == cancelled_) return;
    cancelled_ = cancelled;
    if (cancelled)
        NSNotificationCenter::defaultCenter()->postNotificationName(QZPhotoEditorSessionCancelledNotification, self());
}

void QZPhotoEditorSession::addModulesObject(const std::shared_ptr<QZModule>& module)
{
    modules_.push_back(module);
    const auto contexts = contexts_;
    auto self = this->self<QZPhotoEditorSession>();
    for (const auto& context : contexts) context->sessionDidAddModule(self, module);
}

void QZPhotoEditorSession::removeAllModules()
{
    modules_.clear();
    const auto contexts = contexts_;
    auto self = this->self<QZPhotoEditorSession>();
    for (const auto& context : contexts) context->sessionDidRemoveAllModules(self);
}

void QZPhotoEditorSession::removeContextsObject(const QZPhotoEditorContext* context)
{
    std::erase_if(contexts_, [&](const auto& c) { return c.get() == context; });
}

std::shared_ptr<QZPhotoEditorContext> QZPhotoEditorSession::adopt(std::shared_ptr<QZPhotoEditorContext> context)
{
    if (!context) return nullptr;
    // A cancelled session's edits must not reach the host: its contexts deliver nil.
    if (cancelled_) context->markCanceled();
    contexts_.push_back(context);
    return context;
}

std::shared_ptr<QZPhotoEditorContext>
QZPhotoEditorSession::createContextWithImage(const std::shared_ptr<UIImage>& image, CGSize maxSize)
{
    if (!image) {
        NSLog("Error: You must pass in an image to create a context.");
        return nullptr;
    }
    return adopt(QZPhotoEditorContext::make(self<QZPhotoEditorSession>(), image, maxSize));
}

std::shared_ptr<QZPhotoEditorContext>
QZPhotoEditorSession::createContextWithImage(const std::shared_ptr<UIImage>& image)
{
    return createContextWithImage(image, CGSizeMake(FLT_MAX, FLT_MAX));
}

std::shared_ptr<QZPhotoEditorContext> QZPhotoEditorSession::createContextWithSize(CGSize size)
{
    return adopt(QZPhotoEditorContext::make(self<QZPhotoEditorSession>(), size));
}

std::shared_ptr<QZPhotoEditorContext> QZPhotoEditorSession::createContext()
{
    return createContextWithSize(CGSizeMake(FLT_MAX, FLT_MAX));
}
