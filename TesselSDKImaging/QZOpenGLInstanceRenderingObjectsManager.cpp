#include "TesselSDKImaging/QZOpenGLInstanceRenderingObjectsManager.h"

#include "Foundation/NSLog.h"
#include "QopLite/QopGL.h"

namespace {

QZOpenGLInstanceRenderingObjectsManager::SizeKey sizeOf(const QZOpenGLInstanceRenderingObjects& renderingObjects)
{
    return {static_cast<CGFloat>(renderingObjects.width()), static_cast<CGFloat>(renderingObjects.height())};
}

}  // namespace

void QZOpenGLInstanceRenderingObjectsManager::setupRenderingObjects(
    const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& renderingObjects, const std::uint8_t* pixels, int width,
    int height, QopGLData_t* glData)
{
    // The library only reads the pixels of a bitmap it uploads.
    QopBitmap_t bitmap = {reinterpret_cast<QopColor_t*>(const_cast<std::uint8_t*>(pixels)), static_cast<size_t>(width),
                          static_cast<size_t>(height), nullptr};
    const SizeKey key = {static_cast<CGFloat>(width), static_cast<CGFloat>(height)};
    GLuint textureID = 0, processingTexture1 = 0, processingTexture2 = 0;
    auto entry = renderingObjectsDictionary_.find(key);
    if (entry != renderingObjectsDictionary_.end()) {
        QopGLCreateBitmapProcessingObjectOnly(&bitmap, &textureID, glData);
        entry->second.referencedByRenderingObjects[renderingObjects->hashValueAsObject()] = renderingObjects;
        processingTexture1 = entry->second.processingTexture1;
        processingTexture2 = entry->second.processingTexture2;
    } else {
        QopGLCreateProcessingObjects(&bitmap, &textureID, &processingTexture1, &processingTexture2, glData);
        SharedTextures shared;
        shared.processingTexture1 = processingTexture1;
        shared.processingTexture2 = processingTexture2;
        shared.referencedByRenderingObjects[renderingObjects->hashValueAsObject()] = renderingObjects;
        renderingObjectsDictionary_[key] = std::move(shared);
    }
    renderingObjects->setTextureID(textureID);
    renderingObjects->setProcessingTexture1(processingTexture1);
    renderingObjects->setProcessingTexture2(processingTexture2);
    renderingObjects->setWidth(width);
    renderingObjects->setHeight(height);
}

void QZOpenGLInstanceRenderingObjectsManager::commitCurrentFramebufferToRenderingObjects(
    const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& renderingObjects, QopGLData_t* glData)
{
    const GLuint finalizedTexture = glData->glRenderingObjects.readTexture;
    const GLuint oldSourceTexture = glData->glImageData.texID;
    auto entry = renderingObjectsDictionary_.find(sizeOf(*renderingObjects));
    GLuint SharedTextures::*slot = nullptr;
    void (QZOpenGLInstanceRenderingObjects::*setSlot)(GLuint) = nullptr;
    if (entry != renderingObjectsDictionary_.end()) {
        if (finalizedTexture == entry->second.processingTexture1) {
            slot = &SharedTextures::processingTexture1;
            setSlot = &QZOpenGLInstanceRenderingObjects::setProcessingTexture1;
        } else if (finalizedTexture == entry->second.processingTexture2) {
            slot = &SharedTextures::processingTexture2;
            setSlot = &QZOpenGLInstanceRenderingObjects::setProcessingTexture2;
        }
    }
    if (slot) {
        entry->second.*slot = oldSourceTexture;
        for (const auto& [hash, set] : entry->second.referencedByRenderingObjects) ((*set).*setSlot)(oldSourceTexture);
        ((*renderingObjects).*setSlot)(oldSourceTexture);
    } else {
        NSLog("%s %@", "-[QZOpenGLInstanceRenderingObjectsManager commitCurrentFramebufferToRenderingObjects:gLData:]",
              "If the current finalized texture is not processing texture 1 or 2, something went terribly wrong.");
    }
    renderingObjects->setTextureID(finalizedTexture);
    QopGLSetBitmapWithPrecreatedObjects(
        renderingObjects->textureID(), renderingObjects->processingTexture1(), renderingObjects->processingTexture2(),
        static_cast<GLuint>(renderingObjects->width()), static_cast<GLuint>(renderingObjects->height()), glData);
}

void QZOpenGLInstanceRenderingObjectsManager::removeRenderingObjects(
    const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& renderingObjects, QopGLData_t* glData)
{
    auto entry = renderingObjectsDictionary_.find(sizeOf(*renderingObjects));
    if (entry == renderingObjectsDictionary_.end()) return;
    auto& referencedBy = entry->second.referencedByRenderingObjects;
    // Deleting again would delete whatever texture has taken the name since.
    if (referencedBy.erase(renderingObjects->hashValueAsObject()) == 0) return;
    if (!referencedBy.empty()) {
        QopGLDeleteBitmapProcessingObjectOnly(renderingObjects->textureID(), glData);
        return;
    }
    QopGLDeleteProcessingObjects(renderingObjects->textureID(), entry->second.processingTexture1,
                                 entry->second.processingTexture2, glData);
    renderingObjectsDictionary_.erase(entry);
}
