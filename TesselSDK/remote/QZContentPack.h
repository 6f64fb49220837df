#pragma once
// A content pack: one record of the content store with its ordered items, its kind ("packType"),
// its resource archives, whether its resources are on the device and whether it has been
// announced. The announcement flag and the two resource providers live with the record object,
// so the same pack fetched in another context starts again. Main queue context.

#include <memory>
#include <string>
#include <vector>

#include "TesselSDK/remote/QZContentPackResourceProvider.h"
#include "TesselSDK/remote/QZManagedObject.h"

class QZContentPackAnalytics;
class QZContentPackItem;
class UIImage;

class QZContentPack : public QZManagedObject {
public:
    using QZManagedObject::QZManagedObject;

    std::string identifier() { return valueForKey("identifier").stringValue(); }
    std::string packType() { return valueForKey("packType").stringValue(); }
    std::string packVersion() { return valueForKey("packVersion").stringValue(); }
    std::string highResURL() { return valueForKey("highResURL").stringValue(); }
    std::string thumbnailURL() { return valueForKey("thumbnailURL").stringValue(); }

    // The items sorted by "index".
    std::vector<std::shared_ptr<QZContentPackItem>> orderedItems();
    std::string localizedDisplayName();
    std::string localizedDisplayDescription();

    // Made on first read through the asset manager, then held.
    std::shared_ptr<QZContentPackResourceProvider> highResolutionResourceProvider();
    std::shared_ptr<QZContentPackResourceProvider> thumbnailResourceProvider();
    std::shared_ptr<UIImage> thumbnailImageNamed(const std::string& name);
    std::shared_ptr<UIImage> highResolutionImageNamed(const std::string& name);
    Value loadDataForResourceNamed(const std::string& name);
    // "iap_preview.png" from the thumbnail set.
    std::shared_ptr<UIImage> packPreviewImage() { return thumbnailImageNamed("iap_preview.png"); }
    // Both providers drop their cached bytes.
    void uncacheResources();

    bool assetsAvailableForLowResUse();
    // YES when the pack needs no download, else when the high-resolution set is on the device.
    bool assetsAvailableForHighResUse();
    bool availableForDisplay() { return assetsAvailableForLowResUse(); }
    // YES at most once per record object: the first call that finds the pack available.
    bool shouldNotifyForAvailability();
    bool hasNotifiedForAvailability() const { return hasNotifiedForAvailability_; }
    // YES when packVersion is empty or lower than `version`.
    bool requiresUpdateToVersion(const std::string& version);
    // kQZEffects, kQZFrames or kQZStickers by "packType"; null for any other type.
    const char* toolKey();
    // The stored analytics record, else a new one linked to the pack.
    std::shared_ptr<QZContentPackAnalytics> analytics();

    // Items from a pack document: each element gets its position as "index" before the merge.
    void updateRelationship(const NSRelationshipDescription& relationship, const Value& value) override;
    // Drops the providers' caches and the images its items keep.
    void willTurnIntoFault() override;
    // Called by an item of this pack when it keeps an image, so that turning into a fault finds the
    // items to empty without walking every object of the context.
    void itemKeptImages(const std::shared_ptr<QZContentPackItem>& item);

private:
    bool hasNotifiedForAvailability_ = false;
    std::vector<std::weak_ptr<QZContentPackItem>> itemsKeepingImages_;
    std::shared_ptr<QZContentPackResourceProvider> highResolutionResourceProvider_;
    std::shared_ptr<QZContentPackResourceProvider> thumbnailResourceProvider_;
};

class QZEffectContentPack : public QZContentPack {
public:
    using QZContentPack::QZContentPack;
};

class QZFrameContentPack : public QZContentPack {
public:
    using QZContentPack::QZContentPack;
};

class QZStickerContentPack : public QZContentPack {
public:
    using QZContentPack::QZContentPack;
};
