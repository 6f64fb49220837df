#include "TesselSDK/shell/QZPhotoEditorController.h"

#include "TesselSDK/shell/QZSDKViewController.h"

#include "TesselSDK/remote/QZTesselContentManager.h"

#include "Dispatch/Dispatch.h"

namespace {

template <class Init>
std::shared_ptr<QZSDKViewController> makeRootScreen(const std::shared_ptr<UIImage>& image, Init init)
{
    if (!image) return nullptr;
    return NSObject::create<QZSDKViewController>(std::move(init));
}

}  // namespace

std::shared_ptr<QZSDKViewController> QZPhotoEditorController::initWithImage(const std::shared_ptr<UIImage>& image)
{
    return makeRootScreen(image, [&](QZSDKViewController& editor) { return editor.initWithImage(image); });
}

std::shared_ptr<QZSDKViewController> QZPhotoEditorController::initWithImage(const std::shared_ptr<UIImage>& image,
                                                                            const Value& options)
{
    return makeRootScreen(image, [&](QZSDKViewController& editor) { return editor.initWithImage(image, options); });
}

std::shared_ptr<QZSDKViewController>
QZPhotoEditorController::initWithImageQuickLaunchTool(const std::shared_ptr<UIImage>& image, const std::string& toolKey)
{
    return makeRootScreen(
        image, [&](QZSDKViewController& editor) { return editor.initWithImageQuickLaunchTool(image, toolKey); });
}

std::shared_ptr<QZSDKViewController>
QZPhotoEditorController::initWithImageQuickLaunchContentIdentifier(const std::shared_ptr<UIImage>& image,
                                                                   const std::string& identifier)
{
    return makeRootScreen(image, [&](QZSDKViewController& editor) {
        return editor.initWithImageQuickLaunchContentIdentifier(image, identifier);
    });
}

std::string QZPhotoEditorController::versionString()
{
    return "3.3.11";
}

void QZPhotoEditorController::fetchContent()
{
    dispatch_async(dispatch_get_main_queue(), [] {
        auto manager = QZTesselContentManager::sharedManager();
        manager->contentPackManagedObjectContext();
        manager->updateContentPacks();
        manager->updateMessages();
    });
}
