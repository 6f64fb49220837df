#include "TesselSDK/remote/QZContentPack.h"

#include <algorithm>

#include "Foundation/NSLog.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDK/remote/QZAssetManager.h"
#include "TesselSDK/remote/QZContentPackAnalytics.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/remote/QZTranslationManager.h"
#include "TesselSDK/remote/QZVersionComparison.h"

std::vector<std::shared_ptr<QZContentPackItem>> QZContentPack::orderedItems()
{
    std::vector<std::shared_ptr<QZContentPackItem>> items;
    Value related = valueForKey("items");
    if (const Value::Array* all = related.asArray())
        for (const Value& value : *all)
            if (auto item = value.object<QZContentPackItem>()) items.push_back(std::move(item));
    std::vector<std::pair<std::int64_t, std::shared_ptr<QZContentPackItem>>> keyed;
    for (auto& item : items) keyed.emplace_back(item->valueForKey("index").longLongValue(), item);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) items[i] = keyed[i].second;
    return items;
}

std::string QZContentPack::localizedDisplayName()
{
    return QZTranslationManager::sharedManager()->translationForKey(valueForKey("displayName").stringValue());
}

std::string QZContentPack::localizedDisplayDescription()
{
    return QZTranslationManager::sharedManager()->translationForKey(valueForKey("displayDescription").stringValue());
}

std::shared_ptr<QZContentPackResourceProvider> QZContentPack::highResolutionResourceProvider()
{
    if (!highResolutionResourceProvider_)
        highResolutionResourceProvider_ = QZAssetManager::sharedManager()->resourceProviderForContentPack(
            *this, QZContentPackResourceProviderTypeHighResolution);
    return highResolutionResourceProvider_;
}

std::shared_ptr<QZContentPackResourceProvider> QZContentPack::thumbnailResourceProvider()
{
    if (!thumbnailResourceProvider_)
        thumbnailResourceProvider_ = QZAssetManager::sharedManager()->resourceProviderForContentPack(
            *this, QZContentPackResourceProviderTypeThumbnail);
    return thumbnailResourceProvider_;
}

std::shared_ptr<UIImage> QZContentPack::thumbnailImageNamed(const std::string& name)
{
    return thumbnailResourceProvider()->imageNamed(name);
}

std::shared_ptr<UIImage> QZContentPack::highResolutionImageNamed(const std::string& name)
{
    return highResolutionResourceProvider()->imageNamed(name);
}

Value QZContentPack::loadDataForResourceNamed(const std::string& name)
{
    return highResolutionResourceProvider()->dataForResourceNamed(name);
}

void QZContentPack::uncacheResources()
{
    // Only providers already made: a fault must not create them.
    if (highResolutionResourceProvider_) highResolutionResourceProvider_->clearResourceCache();
    if (thumbnailResourceProvider_) thumbnailResourceProvider_->clearResourceCache();
}

bool QZContentPack::assetsAvailableForLowResUse()
{
    return thumbnailResourceProvider()->state() == QZContentPackResourceProviderStateDownloaded;
}

bool QZContentPack::assetsAvailableForHighResUse()
{
    Value requiresDownload = valueForKey("requiresDownload");
    if (requiresDownload.isNil() || !requiresDownload.boolValue()) return true;
    return highResolutionResourceProvider()->state() == QZContentPackResourceProviderStateDownloaded;
}

bool QZContentPack::shouldNotifyForAvailability()
{
    if (hasNotifiedForAvailability_) return false;
    const bool available = availableForDisplay();
    if (available) hasNotifiedForAvailability_ = true;
    return available;
}

bool QZContentPack::requiresUpdateToVersion(const std::string& version)
{
    const std::string stored = packVersion();
    return stored.empty() || QZCompareVersions(stored, version) < 0;
}

const char* QZContentPack::toolKey()
{
    const std::string type = packType();
    if (type == "effect") return kQZEffects;
    if (type == "sticker") return kQZStickers;
    if (type == "frame") return kQZFrames;
    return nullptr;
}

std::shared_ptr<QZContentPackAnalytics> QZContentPack::analytics()
{
    if (auto stored = valueForKey("analytics").object<QZContentPackAnalytics>()) return stored;
    std::shared_ptr<NSManagedObjectContext> context = managedObjectContext();
    if (!context) return nullptr;
    auto created =
        std::dynamic_pointer_cast<QZContentPackAnalytics>(context->insertNewObjectForEntityForName("PackAnalytics"));
    if (created) setValueForKey(Value(created), "analytics");
    return created;
}

void QZContentPack::updateRelationship(const NSRelationshipDescription& relationship, const Value& value)
{
    std::shared_ptr<const QZManagedObjectClass> own = classObject();
    std::shared_ptr<const NSClass> target = own ? own->targetClassForRelationship(relationship) : nullptr;
    if (!target || !target->isSubclassOfClass<QZContentPackItem>()) {
        QZManagedObject::updateRelationship(relationship, value);
        return;
    }
    const Value::Array* elements = value.asArray();
    if (!elements) {
        NSLog("%s %@", "-[QZContentPack updateRelationship:withValue:]", "Expected array of items.");
        return;
    }
    // "index" always equals the item's position in the latest document.
    Value::Array indexed;
    indexed.reserve(elements->size());
    for (std::size_t position = 0; position < elements->size(); ++position) {
        Value element = (*elements)[position];
        if (element.isDictionary()) element.setObject(static_cast<std::int64_t>(position), "index");
        indexed.push_back(std::move(element));
    }
    QZManagedObject::updateRelationship(relationship, Value(std::move(indexed)));
}

void QZContentPack::willTurnIntoFault()
{
    uncacheResources();
    std::vector<std::weak_ptr<QZContentPackItem>> items;
    items.swap(itemsKeepingImages_);
    for (const auto& weak : items)
        if (auto item = weak.lock())
            if (item->managedObjectContext() && item->valueForKey("pack").object().get() == this)
                item->dropCachedImages();
}

void QZContentPack::itemKeptImages(const std::shared_ptr<QZContentPackItem>& item)
{
    for (const auto& kept : itemsKeepingImages_)
        if (kept.lock() == item) return;
    itemsKeepingImages_.push_back(item);
}
