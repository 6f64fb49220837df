#include "TesselSDK/remote/QZAssetManager.h"

#include <algorithm>

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSNotificationCenter.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

std::shared_ptr<QZAssetManager> QZAssetManager::sharedManager()
{
    static const std::shared_ptr<QZAssetManager> shared = NSObject::create<QZAssetManager>(&QZAssetManager::init);
    return shared;
}

void QZAssetManager::init()
{
    downloadQueue_ = NSOperationQueue::queue();
    downloadQueue_->setMaxConcurrentOperationCount(kMaximumConcurrentDownloads);
}

std::string QZAssetManager::registryKey(const std::string& identifier, QZContentPackResourceProviderType type)
{
    return identifier + "-" + (type == QZContentPackResourceProviderTypeThumbnail ? "thumbnail" : "highRes");
}

std::shared_ptr<QZContentPackResourceProvider>
QZAssetManager::resourceProviderForContentPack(QZContentPack& pack, QZContentPackResourceProviderType type)
{
    DispatchMainQueue::requireMainThread("-[QZAssetManager resourceProviderForContentPack:withType:]");
    const std::string identifier = pack.identifier();
    const std::string key = registryKey(identifier, type);
    if (auto found = resourceProviders_.find(key); found != resourceProviders_.end())
        if (auto provider = found->second.provider.lock()) return provider;
    const std::string url =
        type == QZContentPackResourceProviderTypeThumbnail ? pack.thumbnailURL() : pack.highResURL();
    auto provider = QZContentPackResourceProvider::make(type, identifier, url, self<QZAssetManager>());
    resourceProviders_[key] = Entry{provider, provider.get()};
    return provider;
}

void QZAssetManager::uncacheResourceProvider(const QZContentPackResourceProvider& provider)
{
    DispatchMainQueue::requireMainThread("-[QZAssetManager uncacheResourceProvider:]");
    auto found =
        resourceProviders_.find(registryKey(provider.contentPackIdentifier(), provider.resourceProviderType()));
    // A provider dying after a newer one took its key leaves the newer entry alone.
    if (found != resourceProviders_.end() &&
        (found->second.address == &provider || found->second.provider.expired()))
        resourceProviders_.erase(found);
}

void QZAssetManager::startDownload(const std::shared_ptr<NSOperation>& operation)
{
    downloadQueue_->addOperation(operation);
}

void QZAssetManager::resourceProviderDidUpdateKeyPath(const std::shared_ptr<QZContentPackResourceProvider>& provider,
                                                      const std::string& keyPath)
{
    if (provider->resourceProviderType() != QZContentPackResourceProviderTypeThumbnail) {
        dispatch_async(dispatch_get_main_queue(), [provider, keyPath] {
            NSNotificationCenter::defaultCenter()->postNotificationName(
                QZTesselContentManagerResourcesUpdatedNotification, provider,
                Value::dictionary({{"keyPath", Value(keyPath)}}));
        });
        return;
    }
    if (keyPath != "state" || provider->state() != QZContentPackResourceProviderStateDownloaded) return;
    dispatch_async(dispatch_get_main_queue(), [identifier = provider->contentPackIdentifier()] {
        std::shared_ptr<QZTesselContentManager> contentManager = QZTesselContentManager::sharedManager();
        contentManager->notifyForPackAvailibilityIfNecessary(contentManager->packWithIdentifier(identifier));
    });
}

void QZAssetManager::downloadThumbnailAssets()
{
    if (!DispatchMainQueue::isMainThread()) {
        std::shared_ptr<QZAssetManager> manager = self<QZAssetManager>();
        dispatch_sync(dispatch_get_main_queue(), [manager] { manager->downloadThumbnailAssets(); });
        return;
    }
    for (const std::shared_ptr<QZContentPack>& pack : QZTesselContentManager::sharedManager()->contentPacks())
        if (!pack->assetsAvailableForLowResUse()) pack->thumbnailResourceProvider()->downloadResources();
}

bool QZAssetManager::isDownloading() const
{
    return std::any_of(resourceProviders_.begin(), resourceProviders_.end(), [](const auto& entry) {
        auto provider = entry.second.provider.lock();
        return provider && provider->isDownloading();
    });
}
