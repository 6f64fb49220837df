#pragma once
// The process-wide companion of the pack resource providers: the registry that hands out one
// provider per pack and type, not owned (the pack holds it), so every pack object of one
// identifier shares the provider while any of them holds it; the download queue (3 at a time) on
// which archive downloads and the content and message requests run; and the router that turns
// provider changes into notifications. The registry is main thread only.

#include <map>
#include <memory>
#include <string>

#include "Foundation/NSObject.h"
#include "Foundation/NSOperationQueue.h"
#include "TesselSDK/remote/QZContentPackResourceProvider.h"

class QZContentPack;
class NSOperation;

class QZAssetManager : public NSObject {
public:
    static constexpr long kMaximumConcurrentDownloads = 3;

    using NSObject::NSObject;

    // Created on first call, thread-safe.
    static std::shared_ptr<QZAssetManager> sharedManager();

    // The registered provider of the pack's identifier and type, else a new one (registered).
    std::shared_ptr<QZContentPackResourceProvider>
    resourceProviderForContentPack(QZContentPack& pack, QZContentPackResourceProviderType type);
    // Removes the provider's entry, only while the entry still names that provider.
    void uncacheResourceProvider(const QZContentPackResourceProvider& provider);

    // "%@-%@" over the identifier and "highRes" or "thumbnail".
    static std::string registryKey(const std::string& identifier, QZContentPackResourceProviderType type);

    const std::shared_ptr<NSOperationQueue>& downloadQueue() const { return downloadQueue_; }
    void startDownload(const std::shared_ptr<NSOperation>& operation);

    // A provider changed "state" or "downloadProgress". High resolution: every change is posted as
    // QZTesselContentManagerResourcesUpdatedNotification (object the provider, userInfo
    // {"keyPath"}). Thumbnail: reaching state 3 makes the content manager announce the pack. Both
    // asynchronously on the main queue, so observers never run inside the provider's call.
    void resourceProviderDidUpdateKeyPath(const std::shared_ptr<QZContentPackResourceProvider>& provider,
                                          const std::string& keyPath);

    // Downloads the thumbnails of every stored pack that cannot show yet; from another thread it
    // runs on the main thread and waits for it.
    void downloadThumbnailAssets();
    // A registered provider is downloading its archive (main thread).
    bool isDownloading() const;

private:
    void init();

    struct Entry {
        std::weak_ptr<QZContentPackResourceProvider> provider;
        const QZContentPackResourceProvider* address = nullptr;  // identifies it while it dies
    };
    std::map<std::string, Entry> resourceProviders_;
    std::shared_ptr<NSOperationQueue> downloadQueue_;
};
