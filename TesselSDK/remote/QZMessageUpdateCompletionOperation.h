#pragma once
// The end of a message update's fetches: runs on the processing queue once every message fetch has
// finished, whatever their outcome. It saves the messages update context; a failed save is logged,
// the context reset and "Core Data" 0 kept in `error`. Otherwise, when a fetch failed it reports
// "Message Update: Failed"; when none did and the pending version is not 0 it commits that version
// and reports "Message Update: Succeeded". Then it calls its block once.

#include <functional>
#include <memory>
#include <vector>

#include "TesselSDK/remote/QZErrorOperation.h"

class QZMessageFetchOperation;
class QZTesselContentManager;

inline constexpr const char* kQZContentManagerCurrentMessagingManifestVerion =
    "kQZContentManagerCurrentMessagingManifestVerion";

class QZMessageUpdateCompletionOperation : public QZErrorOperation {
public:
    // Receives the operation, whose `error` is set by then.
    using CompletionBlock = std::function<void(QZMessageUpdateCompletionOperation& operation)>;
    using QZErrorOperation::QZErrorOperation;

    // initWithPendingManifestVersion:fetchOperations:completionBlock:; every fetch becomes a
    // dependency.
    static std::shared_ptr<QZMessageUpdateCompletionOperation>
    make(long long pendingVersion, const std::vector<std::shared_ptr<QZMessageFetchOperation>>& fetchOperations,
         std::shared_ptr<QZTesselContentManager> manager, CompletionBlock completionBlock);

    long long pendingVersion() const { return pendingVersion_; }
    void main() override;

private:
    long long pendingVersion_ = 0;
    std::vector<std::shared_ptr<QZMessageFetchOperation>> fetches_;
    std::weak_ptr<QZTesselContentManager> manager_;
    CompletionBlock completionBlock_;
};
