#pragma once
// Serves one set of a pack's resources (high resolution or thumbnails) by file name from the
// pack's folder inside the resource bundle, else from the set's zip archive in the content
// directory, keeping the bytes read in a cache. It downloads the archive on demand (validated,
// then installed in one rename: a failed download never touches an installed archive) and
// reports its state and progress to its asset manager. Main thread only, as the packs it serves
// live in the main context; the archive's validation alone runs on a worker.
//
// An identifier that may not form a path (QZIsSafeResourceIdentifier), or a missing content
// directory, gives no archive path and no bundle folder: the state reads 1, lookups find nothing
// and a download fails without a request.

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
class QZContentPackResourceArchive;
class QZDownloadOperation;
class NSError;
class UIImage;

// Posted on the main queue before the reset reports of a failed download; object: the provider.
inline constexpr const char* kQZResourceProviderDidFail = "kQZResourceProviderDidFail";
// userInfo key: YES for a high-resolution provider.
inline constexpr const char* kQZResourceProvierHighRes = "kQZResourceProvierHighRes";

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
    // Why the last download failed (set before kQZResourceProviderDidFail is posted); null when
    // none failed or a later one succeeded.
    const std::shared_ptr<NSError>& lastDownloadError() const { return lastDownloadError_; }

    // Computed on first read (3 when the archive is in the content directory or, for thumbnails,
    // the bundle folder holds "iap_preview.png"; 2 while downloading; else 1) and cached.
    QZContentPackResourceProviderState state();
    // The bundle folder's image of that name, else (in state 3) the archive's; nil when none.
    std::shared_ptr<UIImage> imageNamed(const std::string& name);
    // The cached bytes, else the bundle folder's file, else (in state 3) the archive's entry, then
    // cached; nil when there is none.
    Value dataForResourceNamed(const std::string& name);
    void clearResourceCache();
    // Starts the archive download unless the state is 2 or 3 (or, for thumbnails, the internet is
    // unreachable): state 2, reported, then the operation on the asset manager's queue.
    void downloadResources();
    // The archive, opened at the archive path on first use in state 3; null in other states.
    std::shared_ptr<QZContentPackResourceArchive> remoteResourceArchive();

    // The archive's file name ("<id>.zip", "<id>_thumbnail.zip") and path in the content
    // directory; nullopt for an unsafe identifier or when there is no content directory.
    std::string archiveName() const;
    std::optional<std::string> archivePath() const;
    // The same for any pack and type.
    static std::string archiveNameForPack(const std::string& identifier, QZContentPackResourceProviderType type);
    static std::optional<std::string> archivePathForPack(const std::string& identifier,
                                                         QZContentPackResourceProviderType type);

    // The operation that downloads `request` to `archivePath`: validated as an archive with its
    // images (every one for the full-size set; for thumbnails a failing one is only logged) on a
    // high-priority worker (answered on the main queue; a refusal's reason names the entry),
    // marked not to be backed up once installed. The provider adds its own progress, success and
    // failure blocks.
    static std::shared_ptr<QZDownloadOperation>
    makeArchiveDownloadOperation(const std::string& remoteURL, const std::string& archivePath,
                                 QZContentPackResourceProviderType type = QZContentPackResourceProviderTypeHighResolution);

private:
    bool initWithType(QZContentPackResourceProviderType type, const std::string& identifier,
                      const std::string& remoteURL, const std::shared_ptr<QZAssetManager>& contentManager);
    const std::set<std::string>& bundleResourceFilenames();
    std::optional<std::string> bundlePathForResource(const std::string& name);
    // Calls the asset manager's resourceProviderDidUpdateKeyPath.
    void report(const char* keyPath);
    void downloadFinished();
    void downloadFailedWithError(const std::shared_ptr<NSError>& error);
    void cleanupAfterDownload();

    QZContentPackResourceProviderType type_ = QZContentPackResourceProviderTypeHighResolution;
    std::string identifier_;
    std::string remoteURL_;
    std::weak_ptr<QZAssetManager> contentManager_;
    QZContentPackResourceProviderState state_ = QZContentPackResourceProviderStateUnknown;
    float downloadProgress_ = -1.0f;
    bool downloading_ = false;
    std::shared_ptr<NSError> lastDownloadError_;
    std::optional<std::set<std::string>> bundleResourceFilenames_;
    std::shared_ptr<NSCache> resourceCache_;
    std::shared_ptr<QZContentPackResourceArchive> remoteResourceArchive_;
};
