#include "TesselSDK/remote/QZEffectContentPackItem.h"

#include "TesselSDK/foundation/QZSDKResources.h"
#include "TesselSDK/remote/QZContentPack.h"

std::shared_ptr<UIImage> QZEffectContentPackItem::previewImage()
{
    if (previewImage_) return previewImage_;
    const std::string name = resourceName(".jpg");
    if (name.empty()) return nullptr;
    if (std::shared_ptr<QZContentPack> owner = pack()) previewImage_ = owner->thumbnailImageNamed(name);
    if (!previewImage_) previewImage_ = QZSDKResources::imageNamed(name);
    return previewImage_;
}
