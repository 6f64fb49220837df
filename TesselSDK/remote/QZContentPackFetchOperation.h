#pragma once
// One pack of a content update: fetches the pack document named by a manifest entry, checks it
// and writes the pack and its items through the content manager's update context, then starts the
// pack's thumbnail download on the main thread. A concurrent operation of the manager's processing
// queue; its request runs on the asset download queue. It always runs to its end (cancel does
// nothing) and finishes on the main thread, carrying in `error` what went wrong:
// - the transport error, or the parse error of a body that is not JSON;
// - "ContentUpdateAssetCorruption" code 1: a document failing the check, answering for another
//   entry, naming a place outside the content directory, or changing the stored pack's type;
// - "Core Data" code 0: the pack could not be saved (its unsaved changes are dropped, so the
//   other packs of the update still save).
// A document whose "packType" names no pack class stores nothing and carries no error.

#include <memory>
#include <string>

#include "Network/NSURLRequest.h"
#include "TesselSDK/remote/QZErrorOperation.h"

class QZContentPack;
class QZTesselContentManager;

inline constexpr const char* kQZContentUpdateAssetCorruptionDomain = "ContentUpdateAssetCorruption";
inline constexpr const char* kQZCoreDataErrorDomain = "Core Data";

class QZContentPackFetchOperation : public QZErrorOperation {
public:
    using QZErrorOperation::QZErrorOperation;

    // initWithRequest:index:existingPack:, with the manifest entry's identifier, which the document
    // must carry. `existingPack` is the record in the update context, or null for a new pack.
    static std::shared_ptr<QZContentPackFetchOperation> make(std::shared_ptr<NSURLRequest> request, int index,
                                                             std::shared_ptr<QZContentPack> existingPack,
                                                             std::string identifier,
                                                             std::shared_ptr<QZTesselContentManager> manager);
    // A manifest entry that cannot be fetched: the operation fails at its start with code 1.
    static std::shared_ptr<QZContentPackFetchOperation> refusedEntry(std::string reason);

    const std::shared_ptr<NSURLRequest>& urlRequest() const { return request_; }
    int index() const { return index_; }
    const std::shared_ptr<QZContentPack>& contentPack() const { return existingPack_; }
    const std::string& identifier() const { return identifier_; }

    bool isConcurrent() const override { return true; }
    void start() override;
    void cancel() override {}

    // Main thread: continues in the update context with the body.
    void createContentPackWithData(const Value::Data& data);
    void finish();
    void finishWithError(std::shared_ptr<NSError> error);

private:
    // In the update context: the document made into a record; the error that stops it otherwise.
    std::shared_ptr<NSError> storePackDocument(const Value::Data& data);
    // Main thread, after the save reached the main-queue context.
    void downloadThumbnailsIfNeeded();

    std::shared_ptr<NSURLRequest> request_;
    int index_ = 0;
    std::shared_ptr<QZContentPack> existingPack_;
    std::string identifier_;
    std::weak_ptr<QZTesselContentManager> manager_;
    std::string refusal_;  // set for a refused entry
};
