#pragma once
// Effect thumbnails: each effect item rendered on the GPU over the GL instance's image as it was
// when the generator was made (a texture of the thumbnail size, drawn once), kept in a memory cache
// by item identifier. Requests come from the main thread; renders run one after another on the
// instance's queue and complete on the main thread. Requests are not merged.
//
// Queued blocks hold the generator weakly: released mid-render, the render still finishes (its
// result is dropped) and the deletion of the thumbnail texture, queued by the destructor, follows.

#include <functional>
#include <memory>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSCache.h"
#include "Foundation/NSObject.h"

class QZBitmapImageServer;
class QZEffectContentPackItem;
class QZOpenGLInstance;
class UIImage;

class QZEffectContentPackThumnailGenerator : public NSObject {
public:
    using ThumbnailCompletion = std::function<void(std::shared_ptr<UIImage> thumbnail)>;

    using NSObject::NSObject;
    ~QZEffectContentPackThumnailGenerator() override;

    // initWithGLInstance:andThumbnailSize:. Null for a null instance.
    static std::shared_ptr<QZEffectContentPackThumnailGenerator> make(std::shared_ptr<QZOpenGLInstance> glInstance,
                                                                      CGSize thumbnailSize);

    const std::shared_ptr<NSCache>& thumbnailCache() const { return thumbnailCache_; }
    const std::shared_ptr<QZOpenGLInstance>& glInstance() const { return glInstance_; }
    CGSize thumbnailSize() const { return thumbnailSize_; }
    const std::shared_ptr<QZBitmapImageServer>& imageServer() const { return imageServer_; }

    // Main thread. A cached thumbnail completes at once; otherwise one render is queued and its
    // image, when one comes back, is cached and handed to the completion (which may be nil).
    // Without an image nothing is cached and the completion is not called. "original" renders the
    // unedited image; any other item its effectJSON, with seed 0 and borders on.
    void thumbnailForEffectContentPackItem(QZEffectContentPackItem& item, ThumbnailCompletion completion);

private:
    bool initWithGLInstance(std::shared_ptr<QZOpenGLInstance> glInstance, CGSize thumbnailSize);

    std::shared_ptr<NSCache> thumbnailCache_;
    std::shared_ptr<QZOpenGLInstance> glInstance_;
    CGSize thumbnailSize_{0, 0};
    std::shared_ptr<QZBitmapImageServer> imageServer_;
};
