#include "TesselSDK/remote/QZEffectContentPackItem.h"

#include "TesselSDKFoundation/QZSDKResources.h"
#include "Foundation/NSLog.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDKImaging/Modules/QZOriginalModule.h"

#include <functional>
#include <map>

namespace {

using ModuleFactory = std::function<std::shared_ptr<QZModule>()>;

const std::map<std::string, ModuleFactory>& registeredModuleClasses()
{
    static const std::map<std::string, ModuleFactory> classes = {
        {"original", [] { return std::shared_ptr<QZModule>(QZOriginalModule::make()); }},
    };
    return classes;
}

}  // namespace

std::shared_ptr<QZModule> QZEffectContentPackItem::module()
{
    const auto found = registeredModuleClasses().find(identifier());
    if (found == registeredModuleClasses().end()) {
        NSLog("Expected non-nil module class.");
        return nullptr;
    }
    return found->second();
}

std::shared_ptr<UIImage> QZEffectContentPackItem::previewImage()
{
    if (previewImage_) return previewImage_;
    const std::string name = resourceName(".jpg");
    if (name.empty()) return nullptr;
    std::shared_ptr<QZContentPack> owner = pack();
    if (owner) previewImage_ = owner->thumbnailImageNamed(name);
    if (!previewImage_) previewImage_ = QZSDKResources::imageNamed(name);
    if (previewImage_) keptImages(owner);
    return previewImage_;
}
