#include "TesselSDK/remote/QZContentPackResourceProvider.h"

#include <fstream>
#include <iterator>

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSError.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "Network/NSMutableURLRequest.h"
#include "Network/NSURL.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/remote/QZAssetManager.h"
#include "TesselSDK/remote/QZContentPackResourceArchive.h"
#include "TesselSDK/remote/QZDownloadOperation.h"
#include "TesselSDK/remote/QZReachability.h"
#include "UIKit/UIImage.h"

namespace {

constexpr const char* kPackPreviewImageName = "iap_preview.png";
// The platform's code for a file that is not there.
constexpr NSInteger kFileNoSuchFileError = 4;
// An archive may be large (up to 1 GiB) and the network slow; half an hour bounds a server that
// trickles bytes without failing a real download.
constexpr double kArchiveTotalTimeout = 1800;

std::optional<Value::Data> readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return Value::Data(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

std::shared_ptr<QZContentPackResourceProvider>
QZContentPackResourceProvider::make(QZContentPackResourceProviderType type, const std::string& contentPackIdentifier,
                                    const std::string& remoteURL, const std::shared_ptr<QZAssetManager>& contentManager)
{
    return NSObject::create<QZContentPackResourceProvider>(&QZContentPackResourceProvider::initWithType, type,
                                                           contentPackIdentifier, remoteURL, contentManager);
}

bool QZContentPackResourceProvider::initWithType(QZContentPackResourceProviderType type, const std::string& identifier,
                                                 const std::string& remoteURL,
                                                 const std::shared_ptr<QZAssetManager>& contentManager)
{
    type_ = type;
    identifier_ = identifier;
    remoteURL_ = remoteURL;
    contentManager_ = contentManager;
    resourceCache_ = NSCache::make();
    return true;
}

QZContentPackResourceProvider::~QZContentPackResourceProvider()
{
    if (auto manager = contentManager_.lock()) manager->uncacheResourceProvider(*this);
}

std::string QZContentPackResourceProvider::archiveNameForPack(const std::string& identifier,
                                                              QZContentPackResourceProviderType type)
{
    return identifier + (type == QZContentPackResourceProviderTypeThumbnail ? "_thumbnail" : "") + "." +
           QZContentPackResourceArchive::archivePathExtension();
}

std::optional<std::string> QZContentPackResourceProvider::archivePathForPack(const std::string& identifier,
                                                                             QZContentPackResourceProviderType type)
{
    if (!QZIsSafeResourceIdentifier(identifier)) return std::nullopt;
    std::optional<std::string> directory = QZFileSystemUtils::resourcesDirectoryURL();
    if (!directory) return std::nullopt;
    return *directory + "/" + archiveNameForPack(identifier, type);
}

std::string QZContentPackResourceProvider::archiveName() const
{
    return archiveNameForPack(identifier_, type_);
}

std::optional<std::string> QZContentPackResourceProvider::archivePath() const
{
    return archivePathForPack(identifier_, type_);
}

QZContentPackResourceProviderState QZContentPackResourceProvider::state()
{
    if (state_ != QZContentPackResourceProviderStateUnknown) return state_;
    std::optional<std::string> archive = archivePath();
    bool present = archive && NSFileManager::defaultManager()->fileExistsAtPath(*archive);
    // A high-resolution set counts only its downloaded archive, even beside a bundle folder.
    if (!present && type_ == QZContentPackResourceProviderTypeThumbnail)
        present = bundlePathForResource(kPackPreviewImageName).has_value();
    if (present)
        state_ = QZContentPackResourceProviderStateDownloaded;
    else if (downloading_)
        state_ = QZContentPackResourceProviderStateDownloading;
    else
        state_ = QZContentPackResourceProviderStateNotDownloaded;
    return state_;
}

const std::set<std::string>& QZContentPackResourceProvider::bundleResourceFilenames()
{
    if (!bundleResourceFilenames_) {
        bundleResourceFilenames_.emplace();
        std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle();
        if (bundle && QZIsSafeResourceIdentifier(identifier_))
            for (const std::string& name :
                 NSFileManager::defaultManager()->contentsOfDirectoryAtPath(bundle->bundlePath() + "/" + identifier_))
                bundleResourceFilenames_->insert(name);
    }
    return *bundleResourceFilenames_;
}

std::optional<std::string> QZContentPackResourceProvider::bundlePathForResource(const std::string& name)
{
    // Only names listed in the folder: a name holding a path never matches an entry.
    if (!bundleResourceFilenames().count(name)) return std::nullopt;
    return QZSDKResources::resourceBundle()->bundlePath() + "/" + identifier_ + "/" + name;
}

std::shared_ptr<QZContentPackResourceArchive> QZContentPackResourceProvider::remoteResourceArchive()
{
    if (state() != QZContentPackResourceProviderStateDownloaded) return nullptr;
    if (!remoteResourceArchive_) {
        std::optional<std::string> path = archivePath();
        // A thumbnail set in state 3 through its bundle folder has no archive: lookups miss quietly.
        if (path && !NSFileManager::defaultManager()->fileExistsAtPath(*path)) return nullptr;
        if (!path) {
            NSLog("%s %@", "-[QZContentPackResourceProvider remoteResourceArchive]",
                  NSStringWithFormat("Unable to load resource archive at path: %@", archiveName()));
            return nullptr;
        }
        remoteResourceArchive_ = QZContentPackResourceArchive::make(*path);
    }
    return remoteResourceArchive_;
}

std::shared_ptr<UIImage> QZContentPackResourceProvider::imageNamed(const std::string& name)
{
    if (bundlePathForResource(name)) return QZSDKResources::imageNamed(name, identifier_);
    std::shared_ptr<QZContentPackResourceArchive> archive = remoteResourceArchive();
    return archive ? archive->imageNamed(name) : nullptr;
}

Value QZContentPackResourceProvider::dataForResourceNamed(const std::string& name)
{
    Value cached = resourceCache_->objectForKey(name);
    if (!cached.isNil()) return cached;
    Value data;
    if (std::optional<std::string> path = bundlePathForResource(name)) {
        if (std::optional<Value::Data> bytes = readFile(*path)) data = Value(std::move(*bytes));
    } else if (std::shared_ptr<QZContentPackResourceArchive> archive = remoteResourceArchive()) {
        data = archive->dataForResourceNamed(name);
    }
    if (!data.isNil()) resourceCache_->setObject(data, name);
    return data;
}

std::shared_ptr<QZDownloadOperation>
QZContentPackResourceProvider::makeArchiveDownloadOperation(const std::string& remoteURL,
                                                            const std::string& archivePath,
                                                            QZContentPackResourceProviderType type)
{
    auto request = NSMutableURLRequest::requestWithURL(
        NSURL::URLWithString(remoteURL), NSURLRequestReloadIgnoringLocalCacheData, NSURLRequestDefaultTimeoutInterval);
    request->setTotalTimeoutInterval(kArchiveTotalTimeout);
    auto operation = QZDownloadOperation::make(request, archivePath);
    // Every image the pack will show is decoded now, within the archive's limits: a pack that
    // would show nothing, or take the editor's memory, is refused before it is installed.
    const QZContentPackResourceArchive::ImageCheck images = type == QZContentPackResourceProviderTypeThumbnail
                                                                ? QZContentPackResourceArchive::ImageCheck::ThumbnailImages
                                                                : QZContentPackResourceArchive::ImageCheck::EveryImage;
    operation->setValidationBlock(
        [images](const std::string& path, QZDownloadOperation::ValidationCompletion completion) {
            dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_HIGH, 0), [path, completion, images] {
                std::string reason;
                const bool valid = QZContentPackResourceArchive::make(path)->validate(images, &reason);
                dispatch_async(dispatch_get_main_queue(),
                               [completion, valid, reason] { completion(valid, valid ? std::string() : reason); });
            });
        });
    operation->setSuccessBlock([archivePath](QZDownloadOperation&) {
        // Backups may still take the file; that is no reason to refuse it.
        QZFileSystemUtils::addSkipBackupAttributeToItemAtURL(archivePath);
    });
    return operation;
}

void QZContentPackResourceProvider::downloadResources()
{
    static const char* method = "-[QZContentPackResourceProvider downloadResources]";
    DispatchMainQueue::requireMainThread(method);
    const QZContentPackResourceProviderState current = state();
    if (current == QZContentPackResourceProviderStateDownloading ||
        current == QZContentPackResourceProviderStateDownloaded)
        return;
    if (type_ == QZContentPackResourceProviderTypeThumbnail) {
        std::shared_ptr<QZReachability> reachability = QZReachability::reachabilityForInternetConnection();
        if (!reachability || !reachability->isReachable()) return;
    }
    std::weak_ptr<QZContentPackResourceProvider> weakSelf = self<QZContentPackResourceProvider>();
    std::optional<std::string> path = archivePath();
    std::shared_ptr<QZAssetManager> manager = contentManager_.lock();
    if (!path || !manager) {
        // A name from the network that would leave the content directory, or no content
        // directory at all: nothing is requested, and the screens hear of a failed download.
        NSLog("%s %@", method, NSStringWithFormat("No archive path for pack %@; nothing is downloaded", identifier_));
        dispatch_async(dispatch_get_main_queue(), [weakSelf] {
            if (auto provider = weakSelf.lock())
                provider->downloadFailedWithError(NSError::errorWithDescription(
                    NSCocoaErrorDomain, kFileNoSuchFileError,
                    "The pack's identifier forms no file name, or there is no content directory."));
        });
        return;
    }
    auto operation = makeArchiveDownloadOperation(remoteURL_, *path, type_);
    operation->setProgressBlock([weakSelf](QZDownloadOperation&, float fraction) {
        auto provider = weakSelf.lock();
        if (!provider || !(fraction > 0)) return;
        provider->downloadProgress_ = fraction;
        provider->report("downloadProgress");
    });
    QZDownloadOperation::SuccessBlock installed = operation->successBlock();
    operation->setSuccessBlock([weakSelf, installed](QZDownloadOperation& op) {
        if (installed) installed(op);
        if (auto provider = weakSelf.lock()) provider->downloadFinished();
    });
    operation->setFailureBlock([weakSelf](QZDownloadOperation&, const std::shared_ptr<NSError>& error) {
        if (auto provider = weakSelf.lock()) provider->downloadFailedWithError(error);
    });
    downloading_ = true;
    state_ = QZContentPackResourceProviderStateDownloading;
    report("state");
    manager->startDownload(operation);
}

void QZContentPackResourceProvider::downloadFinished()
{
    lastDownloadError_.reset();
    cleanupAfterDownload();
}

void QZContentPackResourceProvider::downloadFailedWithError(const std::shared_ptr<NSError>& error)
{
    // Kept for whoever reports the failure; the notification's userInfo stays as listeners know it.
    lastDownloadError_ = error;
    NSNotificationCenter::defaultCenter()->postNotificationName(
        kQZResourceProviderDidFail, self(),
        Value::dictionary(
            {{kQZResourceProvierHighRes, Value(type_ == QZContentPackResourceProviderTypeHighResolution)}}));
    cleanupAfterDownload();
}

void QZContentPackResourceProvider::cleanupAfterDownload()
{
    downloading_ = false;
    state_ = QZContentPackResourceProviderStateUnknown;
    report("state");
    downloadProgress_ = -1.0f;
    report("downloadProgress");
}

void QZContentPackResourceProvider::report(const char* keyPath)
{
    if (auto manager = contentManager_.lock())
        manager->resourceProviderDidUpdateKeyPath(self<QZContentPackResourceProvider>(), keyPath);
}

void QZContentPackResourceProvider::clearResourceCache()
{
    resourceCache_->removeAllObjects();
}
