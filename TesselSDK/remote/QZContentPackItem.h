#pragma once
// One item of a content pack (an effect, a frame or a sticker). Its identifier is the stem of its
// resource file names; images are read through its pack's resource providers. Images an item
// keeps are dropped when the record turns into a fault.

#include <memory>
#include <string>

#include "TesselSDK/remote/QZManagedObject.h"

class QZContentPack;
class QZContentPackItemAnalytics;
class UIImage;

class QZContentPackItem : public QZManagedObject {
public:
    using QZManagedObject::QZManagedObject;

    std::string identifier() { return valueForKey("identifier").stringValue(); }
    std::shared_ptr<QZContentPack> pack();
    // displayName through the editor's localised strings.
    std::string localizedDisplayName();
    // nil here; sticker and frame items answer theirs.
    virtual std::shared_ptr<UIImage> thumbnailImage() { return nullptr; }
    // The stored analytics record, else a new one linked to the item.
    std::shared_ptr<QZContentPackItemAnalytics> analytics();
    // Forgets the images kept by this item.
    virtual void dropCachedImages() {}

    void willTurnIntoFault() override { dropCachedImages(); }

protected:
    // The item's resource name (identifier + suffix); empty when the identifier may not name a file.
    std::string resourceName(const std::string& suffix);
    // Tells `owner` (this item's pack) that the item now keeps an image.
    void keptImages(const std::shared_ptr<QZContentPack>& owner);
};
