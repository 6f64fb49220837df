#pragma once
// The end of a content update's fetches: runs on the processing queue once every pack fetch has
// finished. When none carries an error it commits the pending manifest version
// ("kQZContentPackCurrentManifestVerion") and reports "CDS Update: Succeeded"; otherwise it
// reports "CDS Update: Failed" and commits nothing. Then it calls its block once.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Foundation/NSOperation.h"

class QZContentPackFetchOperation;

class QZContentPackUpdateCompletionOperation : public NSOperation {
public:
    using CompletionBlock = std::function<void()>;

    using NSOperation::NSOperation;

    // initWithPendingManifest:fetchOperations:completionBlock:; every fetch becomes a dependency.
    static std::shared_ptr<QZContentPackUpdateCompletionOperation>
    make(std::string pendingContentPackManifestVersion,
         const std::vector<std::shared_ptr<QZContentPackFetchOperation>>& fetchOperations,
         CompletionBlock completionBlock);

    const std::string& pendingContentPackManifestVersion() const { return pendingVersion_; }

    void main() override;

private:
    std::string pendingVersion_;
    CompletionBlock completionBlock_;
};
