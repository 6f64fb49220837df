#include "TesselSDK/remote/QZContentPackUpdate.h"

#include <algorithm>
#include <cfloat>
#include <map>
#include <vector>

#include "CoreData/NSManagedObjectContext.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSUserDefaults.h"
#include "Network/NSMutableURLRequest.h"
#include "Network/NSURL.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackFetchOperation.h"
#include "TesselSDK/remote/QZContentPackUpdateCompletionOperation.h"
#include "TesselSDK/remote/QZContentUpdateDocuments.h"
#include "TesselSDK/remote/QZContentUpdateRequests.h"
#include "TesselSDK/remote/QZInterprocessLock.h"
#include "TesselSDK/remote/QZReachability.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZURLRequestOperation.h"
#include "TesselSDK/remote/QZVersionComparison.h"

namespace {

// Idle limits; the version document, a few lines, must also come whole within a minute. The
// manifest and the pack documents keep the platform's limit of five minutes for the whole load.
constexpr double kVersionRequestTimeout = 15;
constexpr double kVersionRequestTotalTimeout = 60;
constexpr double kDocumentRequestTimeout = 60;
constexpr int kUnlistedPackIndex = 1000;
constexpr const char* kUpdateLockName = "TesselContentUpdate.lock";

// Seconds since the last completed update; none stored, or one in the future, reads as the
// largest float, so nothing holds the update back.
double secondsSinceLastUpdate(double now)
{
    const std::optional<Value::Date> last =
        NSUserDefaults::standardUserDefaults()->objectForKey(kQZCDSLastUpdate).asDate();
    if (!last || last->timeIntervalSince1970 > now) return FLT_MAX;
    return now - last->timeIntervalSince1970;
}

}  // namespace

std::shared_ptr<QZContentPackUpdate> QZContentPackUpdate::sharedUpdate()
{
    static std::mutex mutex;
    static std::shared_ptr<QZContentPackUpdate> shared;
    auto manager = QZTesselContentManager::sharedManager();
    std::lock_guard lock(mutex);
    // A test that starts the manager afresh starts its update afresh too.
    if (!shared || shared->manager_.lock() != manager) shared = make(manager);
    return shared;
}

std::shared_ptr<QZContentPackUpdate> QZContentPackUpdate::make(std::shared_ptr<QZTesselContentManager> manager)
{
    return NSObject::create<QZContentPackUpdate>([&](QZContentPackUpdate& update) {
        update.manager_ = manager;
        const std::optional<std::string> directory = QZFileSystemUtils::applicationSupportDirectory();
        if (directory) update.rootLock_ = std::make_unique<QZInterprocessLock>(*directory + "/" + kUpdateLockName);
    });
}

QZContentPackUpdate::~QZContentPackUpdate() = default;

QZContentUpdateResult QZContentPackUpdate::lastResult() const
{
    std::lock_guard lock(mutex_);
    return result_;
}

void QZContentPackUpdate::setResult(QZContentUpdateOutcome outcome, std::string reason,
                                    std::vector<std::pair<std::string, std::shared_ptr<NSError>>> fetchErrors,
                                    double lastUpdate, double nextUpdateDue)
{
    std::lock_guard lock(mutex_);
    result_.outcome = outcome;
    result_.reason = std::move(reason);
    result_.fetchErrors = std::move(fetchErrors);
    result_.lastUpdate = lastUpdate;
    result_.nextUpdateDue = nextUpdateDue;
    ++result_.sequence;
}

bool QZContentPackUpdate::upToDateWithManifestVersion(const std::string& version)
{
    const Value committed =
        NSUserDefaults::standardUserDefaults()->objectForKey(kQZContentManagerCurrentContentManifestVerion);
    if (!committed.isString()) return false;
    return QZCompareVersions(committed.stringValue(), version) >= 0;
}

void QZContentPackUpdate::updateContentPacks()
{
    DispatchMainQueue::requireMainThread("-[QZTesselContentManager updateContentPacks]");
    auto manager = manager_.lock();
    if (!manager) return;
    manager->contentPackManagedObjectContext();
    if (manager->isUpdatingAssets()) return;
    const double spacing = QZUsesStagingContentService() ? 0 : kQZContentUpdateSpacing;
    const double now = NSDate::date()->timeIntervalSince1970();
    const double elapsed = secondsSinceLastUpdate(now);
    if (spacing > elapsed) {
        setResult(QZContentUpdateOutcome::HeldBack, {}, {}, now - elapsed, now - elapsed + spacing);
        return;
    }
    manager->setUpdatingAssets(true);
    updateContentPacksRemote();
}

void QZContentPackUpdate::updateContentPacksRemote()
{
    const bool staging = QZUsesStagingContentService();
    std::shared_ptr<QZContentPackUpdate> update = self<QZContentPackUpdate>();
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [update, staging] {
        std::shared_ptr<NSURL> url = QZContentServiceDocumentURL(staging, "version.json");
        if (!url) {
            const char* reason = "No content service root or API key is configured: packs are not updated.";
            NSLog("%s %@", "-[QZTesselContentManager updateContentPacksRemote]", reason);
            update->abortContentPackUpdate(QZContentUpdateOutcome::Failed, reason);
            return;
        }
        std::string lockFailure;
        if (update->rootLock_ && !update->rootLock_->lock(&lockFailure)) {
            update->abortContentPackUpdate(QZContentUpdateOutcome::Failed,
                                           "the content root's update lock cannot be taken: " + lockFailure);
            return;
        }
        auto request =
            NSMutableURLRequest::requestWithURL(url, NSURLRequestReloadIgnoringLocalCacheData, kVersionRequestTimeout);
        request->setTotalTimeoutInterval(kVersionRequestTotalTimeout);
        QZFetchUpdateDocument(
            request, [update](const Value::Data& data) { update->parseVersionFileWithData(data); },
            [update](const std::shared_ptr<NSError>& error) { update->remoteVersionFileDownloadFailed(error); });
    });
}

void QZContentPackUpdate::parseVersionFileWithData(const Value::Data& data)
{
    std::string reason;
    std::optional<QZVersionDocument> version = QZReadVersionDocument(data, &reason);
    if (!version) {
        NSLog("%s %@", "-[QZTesselContentManager parseVersionFileWithData:]", "Version document refused: " + reason);
        abortContentPackUpdate(QZContentUpdateOutcome::Failed, "version document refused: " + reason);
        return;
    }
    if (upToDateWithManifestVersion(version->manifestVersion)) {
        abortContentPackUpdate(QZContentUpdateOutcome::UpToDate, {});
        return;
    }
    std::shared_ptr<NSURL> url = NSURL::URLWithString(version->manifestURL);
    if (!url) {
        abortContentPackUpdate(QZContentUpdateOutcome::Failed, "manifest address is no URL: " + version->manifestURL);
        return;
    }
    if (auto manager = manager_.lock()) manager->setPendingContentPackManifestVersion(version->manifestVersion);
    std::shared_ptr<QZContentPackUpdate> update = self<QZContentPackUpdate>();
    QZFetchUpdateDocument(
        NSMutableURLRequest::requestWithURL(url, NSURLRequestUseProtocolCachePolicy, kDocumentRequestTimeout),
        [update](const Value::Data& body) { update->updateWithManifestData(body); },
        [update](const std::shared_ptr<NSError>& error) {
            update->abortContentPackUpdate(QZContentUpdateOutcome::Failed,
                                           "manifest request failed: " + QZDescribeUpdateError(error));
        });
}

void QZContentPackUpdate::updateWithManifestData(const Value::Data& data)
{
    std::string reason;
    std::optional<QZManifest> manifest = QZReadManifest(data, &reason);
    if (!manifest) {
        NSLog("%s %@", "-[QZTesselContentManager updateWithManifestData:]", "Manifest refused: " + reason);
        abortContentPackUpdate(QZContentUpdateOutcome::Failed, "manifest refused: " + reason);
        return;
    }
    if (!QZTesselContentManager::compatibleWithSDKVersion(manifest->sdkVersion)) {
        abortContentPackUpdate(QZContentUpdateOutcome::Failed,
                               "the manifest needs a newer editor (" + manifest->sdkVersion + ")");
        return;
    }
    if (upToDateWithManifestVersion(manifest->manifestVersion)) {
        abortContentPackUpdate(QZContentUpdateOutcome::UpToDate, {});
        return;
    }
    auto manager = manager_.lock();
    if (!manager) return;
    std::shared_ptr<QZContentPackUpdate> update = self<QZContentPackUpdate>();
    manager->contentPackUpdateManagedObjectContext()->performBlock(
        [update, manifest = std::move(*manifest)] { update->applyManifestDifferences(manifest); });
}

void QZContentPackUpdate::applyManifestDifferences(const QZManifest& manifest)
{
    auto manager = manager_.lock();
    if (!manager) return;
    NSManagedObjectContext& context = *manager->contentPackUpdateManagedObjectContext();

    std::multimap<std::string, std::shared_ptr<QZContentPack>> working;
    if (auto records = QZManagedObjectClass::classNamed("QZContentPack")->fetchAllInManagedObjectContext(context))
        for (const auto& record : *records)
            if (auto pack = std::dynamic_pointer_cast<QZContentPack>(record)) working.emplace(pack->identifier(), pack);

    std::vector<std::shared_ptr<QZContentPackFetchOperation>> fetches;
    for (const QZManifestEntry& entry : manifest.packs) {
        auto found = working.find(entry.identifier);
        if (found == working.end()) {
            fetches.push_back(fetchOperationWithAssetDictionary(entry, nullptr));
            continue;
        }
        std::shared_ptr<QZContentPack> pack = found->second;
        working.erase(found);
        // Listed again: whatever "deletedPacks" said before, the pack stays.
        pack->setValueForKey(false, "shouldDelete");
        if (pack->requiresUpdateToVersion(entry.packVersion)) {
            fetches.push_back(fetchOperationWithAssetDictionary(entry, pack));
        } else {
            pack->setValueForKey(entry.index, "index");
            pack->setValueForKey(true, "displayInStore");
        }
    }
    for (const std::string& refused : manifest.refusedEntries)
        fetches.push_back(QZContentPackFetchOperation::refusedEntry(refused));
    for (const auto& [identifier, pack] : working) {
        if (manifest.deletedPacks.count(identifier)) pack->setValueForKey(true, "shouldDelete");
        pack->setValueForKey(false, "displayInStore");
        pack->setValueForKey(kUnlistedPackIndex, "index");
    }

    if (context.hasChanges()) {
        std::shared_ptr<NSError> error;
        if (!context.save(&error)) {
            NSLog("%s %@", "-[QZTesselContentManager updateWithManifestData:]",
                  NSStringWithFormat("save failed with error %@", error));
            abortContentPackUpdate(QZContentUpdateOutcome::Failed, "the manifest's changes could not be saved");
            return;
        }
    }

    std::shared_ptr<QZContentPackUpdate> update = self<QZContentPackUpdate>();
    auto completion = QZContentPackUpdateCompletionOperation::make(
        manager->pendingContentPackManifestVersion(), fetches, [update, fetches] {
            std::vector<std::pair<std::string, std::shared_ptr<NSError>>> errors;
            for (const auto& fetch : fetches)
                if (auto error = fetch->error()) errors.emplace_back(fetch->identifier(), error);
            dispatch_async(dispatch_get_main_queue(), [update, errors = std::move(errors)]() mutable {
                update->contentPackUpdateDidFinish(std::move(errors));
            });
        });
    const auto& queue = manager->remoteUpdateProcessingQueue();
    for (const auto& fetch : fetches) queue->addOperation(fetch);
    queue->addOperation(completion);
}

std::shared_ptr<QZContentPackFetchOperation>
QZContentPackUpdate::fetchOperationWithAssetDictionary(const QZManifestEntry& entry,
                                                       std::shared_ptr<QZContentPack> existingPack)
{
    std::shared_ptr<NSURL> url = NSURL::URLWithString(entry.manifestURL);
    if (!url) return QZContentPackFetchOperation::refusedEntry("pack document address is no URL: " + entry.manifestURL);
    return QZContentPackFetchOperation::make(NSURLRequest::requestWithURL(url), entry.index, std::move(existingPack),
                                             entry.identifier, manager_.lock());
}

void QZContentPackUpdate::contentPackUpdateDidFinish(
    std::vector<std::pair<std::string, std::shared_ptr<NSError>>> fetchErrors)
{
    if (rootLock_) rootLock_->unlock();
    auto manager = manager_.lock();
    if (!manager) return;
    manager->setUpdatingAssets(false);
    manager->notifyForAllPackAvailibilityIfNecessary();
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(Value::date(NSDate::date()->timeIntervalSince1970()), kQZCDSLastUpdate);
    defaults->synchronize();
    if (fetchErrors.empty()) {
        setResult(QZContentUpdateOutcome::Committed, {});
        return;
    }
    std::string reason = "the manifest version is not committed, a pack fetch failed:";
    for (const auto& [identifier, error] : fetchErrors)
        reason += NSStringWithFormat(" %@ (%@ %ld)", identifier.empty() ? std::string("refused entry") : identifier,
                                     error->domain(), static_cast<long>(error->code()));
    setResult(QZContentUpdateOutcome::Failed, std::move(reason), std::move(fetchErrors));
}

void QZContentPackUpdate::remoteVersionFileDownloadFailed(const std::shared_ptr<NSError>& error)
{
    abortContentPackUpdate(QZContentUpdateOutcome::Failed, "version request failed: " + QZDescribeUpdateError(error));
}

void QZContentPackUpdate::abortContentPackUpdate(QZContentUpdateOutcome outcome, std::string reason)
{
    std::shared_ptr<QZContentPackUpdate> update = self<QZContentPackUpdate>();
    dispatch_async(dispatch_get_main_queue(), [update, outcome, reason = std::move(reason)]() mutable {
        if (auto manager = update->manager_.lock()) manager->setUpdatingAssets(false);
        if (update->rootLock_) update->rootLock_->unlock();
        update->setResult(outcome, std::move(reason));
    });
}

void QZContentPackUpdate::downloadThumbnailsIfNeeded()
{
    DispatchMainQueue::requireMainThread("-[QZTesselContentManager downloadThumbnailsIfNeeded]");
    auto manager = manager_.lock();
    if (!manager || !manager->reachability() || !manager->reachability()->isReachable()) return;
    for (const auto& pack : manager->contentPacks())
        if (!pack->assetsAvailableForLowResUse()) pack->thumbnailResourceProvider()->downloadResources();
}
