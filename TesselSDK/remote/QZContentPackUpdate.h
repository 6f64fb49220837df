#pragma once
// The content update of the content manager: keeps the store's packs in step with the content
// service, at most once every 1200 seconds (every call with the staging option on), never while
// one runs. The road: main thread (start) -> global queue (version document, 15 s, ignoring the
// cache) -> global queue (manifest, 60 s) -> the update context (differences saved) -> one fetch
// per new or changed pack and the completion on the processing queue -> main thread (end:
// announcements, "kQZCDSLastUpdate"). Every request runs on the asset download queue. The
// manifest version is committed only when every fetch succeeded; an abort writes nothing, so the
// next call may start at once.
//
// Updates of one content root in several processes run one after another: an update holds the
// root's update lock ("TesselContentUpdate.lock" in Application Support) from before its first
// request to its end or abort, waiting on a global queue while another process holds it, so two
// processes never compare one manifest with the store at once (each would insert the new packs).
//
// With no content root or API key configured an update aborts with a log line and contacts
// nothing. A date under "kQZCDSLastUpdate" later than now (a clock set back) counts as none.
// The outcome of the last update is kept for the programs and tests that wait for it.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "Foundation/NSError.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

class QZTesselContentManager;
struct QZManifestEntry;
class QZContentPack;
class QZContentPackFetchOperation;
class QZInterprocessLock;

inline constexpr const char* kQZCDSLastUpdate = "kQZCDSLastUpdate";
// Seconds between two updates, unless the staging option is on.
inline constexpr double kQZContentUpdateSpacing = 1200;

enum class QZContentUpdateOutcome {
    None,       // no update ended yet
    HeldBack,   // within the spacing: nothing was asked
    UpToDate,   // the version document or the manifest names the committed version (or older)
    Committed,  // every fetch succeeded: the manifest version is committed
    Failed,     // aborted, or a fetch failed (the version is not committed)
};

struct QZContentUpdateResult {
    QZContentUpdateOutcome outcome = QZContentUpdateOutcome::None;
    std::string reason;  // why it failed
    // The fetches that failed: the entry's identifier (empty for a refused entry) and the error.
    std::vector<std::pair<std::string, std::shared_ptr<NSError>>> fetchErrors;
    // Held back: the last completed update and when the spacing lets the next one start (seconds
    // since 1970).
    double lastUpdate = 0;
    double nextUpdateDue = 0;
    std::uint64_t sequence = 0;  // grows with every update that ends or is held back
};

class QZContentPackUpdate : public NSObject {
public:
    using NSObject::NSObject;
    ~QZContentPackUpdate() override;

    // The update of the shared content manager.
    static std::shared_ptr<QZContentPackUpdate> sharedUpdate();
    static std::shared_ptr<QZContentPackUpdate> make(std::shared_ptr<QZTesselContentManager> manager);

    // Main thread.
    void updateContentPacks();
    // When the internet is reachable: the thumbnail download of every pack of the main-queue
    // context whose thumbnails are not on the device.
    void downloadThumbnailsIfNeeded();
    // YES when a committed manifest version is stored and is equal to or higher than `version`.
    static bool upToDateWithManifestVersion(const std::string& version);

    // Any thread.
    QZContentUpdateResult lastResult() const;

    // The steps, in order.
    void updateContentPacksRemote();
    void parseVersionFileWithData(const Value::Data& data);
    void updateWithManifestData(const Value::Data& data);
    std::shared_ptr<QZContentPackFetchOperation>
    fetchOperationWithAssetDictionary(const QZManifestEntry& entry, std::shared_ptr<QZContentPack> existingPack);
    // Main thread: the end of an update whose fetches all ran (failed or not).
    void contentPackUpdateDidFinish(std::vector<std::pair<std::string, std::shared_ptr<NSError>>> fetchErrors);
    void remoteVersionFileDownloadFailed(const std::shared_ptr<NSError>& error);
    // Queued to the main thread: the flag goes back, nothing else is written.
    void abortContentPackUpdate(QZContentUpdateOutcome outcome, std::string reason);

private:
    // In the update context: the manifest compared with the store.
    void applyManifestDifferences(const struct QZManifest& manifest);
    void setResult(QZContentUpdateOutcome outcome, std::string reason,
                   std::vector<std::pair<std::string, std::shared_ptr<NSError>>> fetchErrors = {},
                   double lastUpdate = 0, double nextUpdateDue = 0);

    std::weak_ptr<QZTesselContentManager> manager_;
    mutable std::mutex mutex_;
    QZContentUpdateResult result_;
    // Taken on a global queue before the version request, let go on the main thread at the end.
    std::unique_ptr<QZInterprocessLock> rootLock_;
};
