#pragma once
// Serves one set of a pack's resources (high resolution or thumbnails) by file name from the
// pack's folder inside the resource bundle, keeping the bytes read in a cache, and computes
// whether the set is on the device. Main thread only, as the packs it serves live in the main
// context. Downloads and the downloaded archive's lookups arrive with the download operation.

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "Foundation/NSCache.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"
#include "TesselSDK/remote/QZSafePathName.h"

class QZAssetManager;
class UIImage;

enum QZContentPackResourceProviderType : int {
    QZContentPackResourceProviderTypeHighResolution = 0,
    QZContentPackResourceProviderTypeThumbnail = 1,
};

enum QZContentPackResourceProviderState : int {
    QZContentPackResourceProviderStateUnknown = 0,
    QZContentPackResourceProviderStateNotDownloaded = 1,
    QZContentPackResourceProviderStateDownloading = 2,
    QZContentPackResourceProviderStateDownloaded = 3,
};

class QZContentPackResourceProvider : public NSObject {
public:
    using NSObject::NSObject;
    ~QZContentPackResourceProvider() override;

    static std::shared_ptr<QZContentPackResourceProvider> make(QZContentPackResourceProviderType type,
                                                               const std::string& contentPackIdentifier,
                                                               const std::string& remoteURL,
                                                               const std::shared_ptr<QZAssetManager>& contentManager);

    const std::string& contentPackIdentifier() const { return identifier_; }
    QZContentPackResourceProviderType resourceProviderType() const { return type_; }
    const std::string& remoteURL() const { return remoteURL_; }
    float downloadProgress() const { return downloadProgress_; }
    bool isDownloading() const { return downloading_; }

    // Computed on first read (3 when the archive is in the content directory or, for thumbnails,
    // the bundle folder holds "iap_preview.png"; 2 while downloading; else 1) and cached.
    QZContentPackResourceProviderState state();
    // The bundle folder's image of that name; nil when there is none.
    std::shared_ptr<UIImage> imageNamed(const std::string& name);
    // The cached bytes, else the bundle folder's file (then cached); nil when there is none.
    Value dataForResourceNamed(const std::string& name);
    void clearResourceCache();
    // Starts nothing yet: the download operation arrives with the archive downloads.
    void downloadResources() {}

    // The archive's file name ("<id>.zip", "<id>_thumbnail.zip") and path in the content
    // directory; nullopt for an unsafe identifier or when there is no content directory.
    std::string archiveName() const;
    std::optional<std::string> archivePath() const;

private:
    bool initWithType(QZContentPackResourceProviderType type, const std::string& identifier,
                      const std::string& remoteURL, const std::shared_ptr<QZAssetManager>& contentManager);
    const std::set<std::string>& bundleResourceFilenames();
    std::optional<std::string> bundlePathForResource(const std::string& name);

    QZContentPackResourceProviderType type_ = QZContentPackResourceProviderTypeHighResolution;
    std::string identifier_;
    std::string remoteURL_;
    std::weak_ptr<QZAssetManager> contentManager_;
    QZContentPackResourceProviderState state_ = QZContentPackResourceProviderStateUnknown;
    float downloadProgress_ = -1.0f;
    bool downloading_ = false;
    std::optional<std::set<std::string>> bundleResourceFilenames_;
    std::shared_ptr<NSCache> resourceCache_;
};
