#include "TesselSDK/remote/QZEffectContentPackThumnailGenerator.h"

#include "Dispatch/DispatchMainQueue.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDKImaging/Modules/QZJSONEffectModule.h"
#include "TesselSDKImaging/Modules/QZOriginalModule.h"
#include "TesselSDKImaging/QZBitmapImageServer.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"
#include "UIKit/UIImage.h"

std::shared_ptr<QZEffectContentPackThumnailGenerator>
QZEffectContentPackThumnailGenerator::make(std::shared_ptr<QZOpenGLInstance> glInstance, CGSize thumbnailSize)
{
    return NSObject::create<QZEffectContentPackThumnailGenerator>(
        &QZEffectContentPackThumnailGenerator::initWithGLInstance, std::move(glInstance), thumbnailSize);
}

bool QZEffectContentPackThumnailGenerator::initWithGLInstance(std::shared_ptr<QZOpenGLInstance> glInstance,
                                                              CGSize thumbnailSize)
{
    if (!glInstance) return false;
    glInstance_ = std::move(glInstance);
    thumbnailSize_ = thumbnailSize;
    thumbnailCache_ = NSCache::make();
    thumbnailCache_->setName("EffectSelectionImageCache");
    imageServer_ = QZBitmapImageServer::makeWithGLInstance(glInstance_);
    glInstance_->createCachedThumbnailImageTexture(thumbnailSize_);
    return true;
}

QZEffectContentPackThumnailGenerator::~QZEffectContentPackThumnailGenerator()
{
    // Queued behind every render still waiting, so none of them loses its texture.
    if (glInstance_) glInstance_->destroyCachedThumbnailImageTextureForSize(thumbnailSize_);
}

void QZEffectContentPackThumnailGenerator::thumbnailForEffectContentPackItem(QZEffectContentPackItem& item,
                                                                             ThumbnailCompletion completion)
{
    DispatchMainQueue::requireMainThread(
        "-[QZEffectContentPackThumnailGenerator thumbnailForEffectContentPackItem:withCompletion:]");
    const std::string identifier = item.identifier();
    if (auto cached = thumbnailCache_->objectForKey(identifier).object<UIImage>()) {
        if (completion) completion(cached);
        return;
    }

    std::shared_ptr<QZModule> module;
    if (identifier == "original") {
        module = QZOriginalModule::make();
    } else {
        auto effect = QZJSONEffectModule::make();
        effect->setJsonString(item.effectJSON());
        module = effect;
    }
    module->setParameterSeed(0);
    module->setBordersEnabled(true);

    std::weak_ptr<QZEffectContentPackThumnailGenerator> weakSelf = self<QZEffectContentPackThumnailGenerator>();
    auto delivered = [weakSelf, identifier, completion = std::move(completion)](std::shared_ptr<UIImage> image) {
        auto generator = weakSelf.lock();
        if (!generator || !image) return;
        generator->thumbnailCache_->setObject(image, identifier);
        if (completion) completion(image);
    };
    // The block holds what the render needs, never the generator.
    glInstance_->enqueueBlockOnGLThread([glInstance = glInstance_, server = imageServer_, module, size = thumbnailSize_,
                                         delivered = std::move(delivered)] {
        glInstance->setThumbnailRenderingObjectsOfSizeActiveFromGLQueue(size);
        server->runModuleFromImageServerThread(module);
        glInstance->getOutputImageFromLastRenderFromGLQueue(delivered);
        glInstance->setThumbnailRenderingObjectsOfSizeActiveFromGLQueue(CGSizeZero);
    });
}
