#pragma once
// The message update of the content manager: keeps the store's messages in step with the content
// service. At most one runs at a time; it is started on the main thread by the root screen, the
// public controller's content fetch, or a host. The road: main thread (start) -> global queue
// (version document "<key>/messages/messageVersion.json", 15 s, ignoring the cache) -> global queue
// (manifest, the same) -> the messages update context (withdrawn messages marked, the new ones
// listed) -> one fetch per new message and the completion on the processing queue -> main thread
// (the flag cleared). Every request runs on the asset download queue. Stored messages are never
// fetched again; the messages version is committed only when every fetch succeeded.
//
// With no content root or API key configured an update logs one line and contacts nothing. The
// outcome of the last update is kept for the programs and tests that wait for it.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "Foundation/NSError.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

class NSManagedObjectContext;
class QZMessageFetchOperation;
class QZTesselContentManager;

enum class QZMessageUpdateOutcome {
    None,       // no update ended yet
    UpToDate,   // the version document or the manifest names the committed version (or older)
    Committed,  // every fetch succeeded (the version is committed unless it is 0)
    Failed,     // a fetch or the final save failed: the version is not committed
    Aborted,    // stopped before any fetch: nothing configured, a request failed, a document refused
};

struct QZMessageUpdateResult {
    QZMessageUpdateOutcome outcome = QZMessageUpdateOutcome::None;
    std::string reason;
    // The fetches that failed: the entry's identifier and the error.
    std::vector<std::pair<std::string, std::shared_ptr<NSError>>> fetchErrors;
    std::uint64_t sequence = 0;  // grows with every update that ends
};

class QZMessageUpdate : public NSObject {
public:
    using NSObject::NSObject;

    // The update of the shared content manager.
    static std::shared_ptr<QZMessageUpdate> sharedUpdate();
    static std::shared_ptr<QZMessageUpdate> make(std::shared_ptr<QZTesselContentManager> manager);

    // Main thread: starts an update unless one runs.
    void updateMessages();
    // YES when the committed messages version (absent: 0) is at least `version`.
    static bool currentWithMessagesManifestVersion(long long version);
    // The start-up clean-up of the main-queue context: expired messages lose their assets and stay
    // (so they are not fetched again), withdrawn ones are deleted.
    static void removeMessagesMarkedForDeletionInContext(NSManagedObjectContext& context);

    // Any thread.
    QZMessageUpdateResult lastResult() const;
    bool isIdle() const;

    // The steps, in order.
    void downloadMessagesVersionFile();
    void parseMessagesVersionFileWithData(const Value::Data& data);
    void updateMessagesWithManifestData(const Value::Data& data);
    // Null for an entry that is skipped for now (past its end date, or for a newer editor).
    std::shared_ptr<QZMessageFetchOperation> createFetchOperationWithDictionary(const Value& entry);
    void messagesUpdateDidFinish(QZMessageUpdateOutcome outcome, std::string reason,
                                 std::vector<std::pair<std::string, std::shared_ptr<NSError>>> fetchErrors = {});
    void abortMessagesUpdateWithError(std::string reason);

private:
    // In the messages update context.
    void applyManifest(const Value& manifest, long long version);

    std::weak_ptr<QZTesselContentManager> manager_;
    mutable std::mutex mutex_;
    QZMessageUpdateResult result_;
};
