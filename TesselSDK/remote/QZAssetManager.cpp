#include "TesselSDK/remote/QZAssetManager.h"

#include "Dispatch/DispatchMainQueue.h"
#include "TesselSDK/remote/QZContentPack.h"

std::shared_ptr<QZAssetManager> QZAssetManager::sharedManager()
{
    static const std::shared_ptr<QZAssetManager> shared = NSObject::create<QZAssetManager>();
    return shared;
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
    auto found =
        resourceProviders_.find(registryKey(provider.contentPackIdentifier(), provider.resourceProviderType()));
    // A provider dying after a newer one took its key leaves the newer entry alone.
    if (found != resourceProviders_.end() && found->second.address == &provider) resourceProviders_.erase(found);
}
