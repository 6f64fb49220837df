#include "TesselSDK/remote/QZStickerContentPackItem.h"

#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "TesselSDK/remote/QZContentPack.h"

std::shared_ptr<UIImage> QZStickerContentPackItem::thumbnailImage()
{
    const std::string name = resourceName("_thumbnail.png");
    std::shared_ptr<QZContentPack> owner = pack();
    std::shared_ptr<UIImage> thumbnail = owner && !name.empty() ? owner->thumbnailImageNamed(name) : nullptr;
    if (!thumbnail)
        NSLog("%s %@", "-[QZStickerContentPackItem thumbnailImage]",
              NSStringWithFormat("expected non-null thumbnail for identifier %@", identifier()));
    return thumbnail;
}

std::shared_ptr<UIImage> QZStickerContentPackItem::smallImage()
{
    if (!smallImage_) {
        const std::string name = resourceName("-small.png");
        if (std::shared_ptr<QZContentPack> owner = pack(); owner && !name.empty()) {
            smallImage_ = owner->highResolutionImageNamed(name);
            if (smallImage_) keptImages(owner);
        }
    }
    return smallImage_;
}

std::shared_ptr<UIImage> QZStickerContentPackItem::largeImage()
{
    if (!largeImage_) {
        const std::string name = resourceName("-large.png");
        if (std::shared_ptr<QZContentPack> owner = pack(); owner && !name.empty()) {
            largeImage_ = owner->highResolutionImageNamed(name);
            largeImageUnreadable_ = !largeImage_;
            if (largeImage_) keptImages(owner);
        }
    }
    return largeImage_;
}
