#pragma once
// The process-wide registry of pack resource providers: one provider per pack and type, not
// owned (the pack holds it), so every pack object of one identifier shares the provider while any
// of them holds it. Main thread only. The download queue and the routing of provider changes
// arrive with the archive downloads.

#include <map>
#include <memory>
#include <string>

#include "Foundation/NSObject.h"
#include "TesselSDK/remote/QZContentPackResourceProvider.h"

class QZContentPack;

class QZAssetManager : public NSObject {
public:
    using NSObject::NSObject;

    static std::shared_ptr<QZAssetManager> sharedManager();

    // The registered provider of the pack's identifier and type, else a new one (registered).
    std::shared_ptr<QZContentPackResourceProvider>
    resourceProviderForContentPack(QZContentPack& pack, QZContentPackResourceProviderType type);
    // Removes the provider's entry, only while the entry still names that provider.
    void uncacheResourceProvider(const QZContentPackResourceProvider& provider);

    // "%@-%@" over the identifier and "highRes" or "thumbnail".
    static std::string registryKey(const std::string& identifier, QZContentPackResourceProviderType type);

private:
    struct Entry {
        std::weak_ptr<QZContentPackResourceProvider> provider;
        const QZContentPackResourceProvider* address = nullptr;  // identifies it while it dies
    };
    std::map<std::string, Entry> resourceProviders_;
};
