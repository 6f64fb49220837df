#pragma once
// The host's entry into the editor. Every factory answers the root screen, the object the host
// gives a delegate and presents; the delegate hears the edited image or the cancellation. Where no
// GL context can be made the root screen cannot edit: its setupFailure() says why, at once.

#include "UIKit/UIImage.h"

#include "Foundation/Value.h"

#include <memory>
#include <optional>
#include <string>

class QZSDKViewController;

// Every method is optional: the defaults stand for a delegate that does not implement it.
class QZPhotoEditorControllerDelegate {
public:
    virtual ~QZPhotoEditorControllerDelegate() = default;
    virtual void photoEditorFinishedWithImage(QZSDKViewController* /*editor*/, std::shared_ptr<UIImage> /*image*/) {}
    virtual void photoEditorCanceled(QZSDKViewController* /*editor*/) {}
    // nullopt: not implemented, which unloads the caches as YES does.
    virtual std::optional<bool> photoEditorShouldUncacheResources(QZSDKViewController* /*editor*/)
    {
        return std::nullopt;
    }
};
using QZPhotoEditorControllerDelegate_Private = QZPhotoEditorControllerDelegate;

// The keys of initWithImage(image, options) are kQZPhotoEditorControllerToolsKey and its neighbours
// (QZPhotoEditorCustomization.h).

class QZPhotoEditorController {
public:
    // Nil for a nil image.
    static std::shared_ptr<QZSDKViewController> initWithImage(const std::shared_ptr<UIImage>& image);
    static std::shared_ptr<QZSDKViewController> initWithImage(const std::shared_ptr<UIImage>& image,
                                                              const Value& options);
    static std::shared_ptr<QZSDKViewController> initWithImageQuickLaunchTool(const std::shared_ptr<UIImage>& image,
                                                                             const std::string& toolKey);
    static std::shared_ptr<QZSDKViewController>
    initWithImageQuickLaunchContentIdentifier(const std::shared_ptr<UIImage>& image, const std::string& identifier);
    static std::string versionString();
    // Queues on the main queue: the pack store made, then a pack update.
    static void fetchContent();
};
