#include "TesselSDK/remote/QZContentPackFetchOperation.h"

#include <string_view>

#include "CoreData/NSManagedObjectContext.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSLog.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackClass.h"
#include "TesselSDK/remote/QZContentUpdateDocuments.h"
#include "TesselSDK/remote/QZContentUpdateRequests.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZTranslationManager.h"
#include "TesselSDK/remote/QZURLRequestOperation.h"

namespace {

std::shared_ptr<NSError> corruption(const std::string& identifier, const std::string& reason)
{
    NSLog("%s %@", "-[QZContentPackFetchOperation validateAssetDictionary:]",
          NSStringWithFormat("Refused the document of pack \"%@\": %@", identifier, reason));
    return NSError::errorWithDomain(kQZContentUpdateAssetCorruptionDomain, 1);
}

// What a failed save left in the context goes, so the next pack's save does not fail with it.
void dropUnsavedChanges(NSManagedObjectContext& context)
{
    for (const auto& object : context.insertedObjects()) context.deleteObject(object);
    for (const auto& object : context.updatedObjects()) context.refreshObject(object, false);
}

}  // namespace

std::shared_ptr<QZContentPackFetchOperation>
QZContentPackFetchOperation::make(std::shared_ptr<NSURLRequest> request, int index,
                                  std::shared_ptr<QZContentPack> existingPack, std::string identifier,
                                  std::shared_ptr<QZTesselContentManager> manager)
{
    return NSObject::create<QZContentPackFetchOperation>([&](QZContentPackFetchOperation& operation) {
        operation.request_ = std::move(request);
        operation.index_ = index;
        operation.existingPack_ = std::move(existingPack);
        operation.identifier_ = std::move(identifier);
        operation.manager_ = manager;
    });
}

std::shared_ptr<QZContentPackFetchOperation> QZContentPackFetchOperation::refusedEntry(std::string reason)
{
    return NSObject::create<QZContentPackFetchOperation>(
        [&](QZContentPackFetchOperation& operation) { operation.refusal_ = std::move(reason); });
}

void QZContentPackFetchOperation::start()
{
    if (isExecuting() || isFinished()) return;
    setExecuting(true);
    if (!refusal_.empty()) {
        setError(NSError::errorWithDomain(kQZContentUpdateAssetCorruptionDomain, 1));
        finish();
        return;
    }
    auto request = QZURLRequestOperation::operationWithRequest(request_);
    std::shared_ptr<QZContentPackFetchOperation> operation = self<QZContentPackFetchOperation>();
    request->setSuccessBlock(
        [operation](QZURLRequestOperation&, const Value::Data& data) { operation->createContentPackWithData(data); });
    request->setFailureBlock([operation](QZURLRequestOperation&, const std::shared_ptr<NSError>& error) {
        operation->finishWithError(error);
    });
    QZContentUpdateRequestQueue()->addOperation(request);
}

void QZContentPackFetchOperation::createContentPackWithData(const Value::Data& data)
{
    auto manager = manager_.lock();
    if (!manager) {
        finishWithError(NSError::errorWithDomain(kQZCoreDataErrorDomain, 0));
        return;
    }
    // The request delivers on the main queue; the operation finishes there too.
    dispatch_queue_t noted = dispatch_get_main_queue();
    auto context = manager->contentPackUpdateManagedObjectContext();
    std::shared_ptr<QZContentPackFetchOperation> operation = self<QZContentPackFetchOperation>();
    context->performBlock([operation, data, noted] {
        std::shared_ptr<NSError> error = operation->storePackDocument(data);
        dispatch_async(noted, [operation, error] {
            if (error) {
                operation->finishWithError(error);
                return;
            }
            operation->downloadThumbnailsIfNeeded();
            operation->finish();
        });
    });
}

std::shared_ptr<NSError> QZContentPackFetchOperation::storePackDocument(const Value::Data& data)
{
    auto manager = manager_.lock();
    if (!manager) return NSError::errorWithDomain(kQZCoreDataErrorDomain, 0);
    NSManagedObjectContext& context = *manager->contentPackUpdateManagedObjectContext();

    std::shared_ptr<NSError> parseError;
    Value document =
        Value::fromJSON(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), &parseError);
    if (document.isNil()) return parseError ? parseError : NSError::errorWithDomain(kQZCoreDataErrorDomain, 0);

    std::string reason;
    if (!QZPackDocumentIsValid(document, identifier_, &reason)) return corruption(identifier_, reason);
    const std::string packType = document["packType"].stringValue();
    // A stored pack keeps its kind: another type would leave its record of the old class.
    if (existingPack_ && existingPack_->packType() != packType)
        return corruption(identifier_, NSStringWithFormat("its type changed from \"%@\" to \"%@\"",
                                                          existingPack_->packType(), packType));

    // Before the record is made: a document of a type no pack class takes still hands them over.
    for (const Value& translation : QZTakePackTranslations(document))
        QZTranslationManager::sharedManager()->updateWithDictionary(translation);
    if (packType == "effect") document = QZFormattedEffectPack(std::move(document));

    std::shared_ptr<QZContentPack> pack = existingPack_;
    if (!pack) {
        auto basePackClass =
            std::dynamic_pointer_cast<const QZContentPackClass>(QZManagedObjectClass::classNamed("QZContentPack"));
        auto targetClass = basePackClass ? basePackClass->targetClassForPackType(packType) : nullptr;
        auto recordClass = std::dynamic_pointer_cast<const QZContentPackClass>(
            targetClass ? QZManagedObjectClass::classObjectOf(*targetClass) : nullptr);
        if (!recordClass) {
            NSLog("%s %@", "-[QZContentPackFetchOperation createContentPackWithData:]",
                  "expected sub class of QZContentPack");
        } else {
            pack = std::dynamic_pointer_cast<QZContentPack>(recordClass->createInManagedObjectContext(context));
        }
        if (!pack) {
            NSLog("%s %@", "-[QZContentPackFetchOperation createContentPackWithData:]",
                  "expected non nil content pack");
            NSLog("%s %@", "-[QZContentPackFetchOperation createContentPackWithData:]", "Expected non-nil value.");
            return nullptr;
        }
    }
    pack->updateWithDictionary(document);
    // The manifest's position wins over the document's, and a listed pack is never deleted.
    pack->setValueForKey(index_, "index");
    pack->setValueForKey(false, "shouldDelete");

    if (context.hasChanges()) {
        std::shared_ptr<NSError> saveError;
        if (!context.save(&saveError)) {
            NSLog("%s %@", "-[QZContentPackFetchOperation createContentPackWithData:]",
                  NSStringWithFormat("content pack save failed with error: %@",
                                     saveError ? saveError->localizedDescription() : std::string()));
            dropUnsavedChanges(context);
            return NSError::errorWithDomain(kQZCoreDataErrorDomain, 0);
        }
    }
    return nullptr;
}

void QZContentPackFetchOperation::downloadThumbnailsIfNeeded()
{
    // Providers and their registry belong to the main thread: the pack is looked up in the
    // main-queue context, which the save has reached (its merge was queued before this block).
    auto manager = manager_.lock();
    if (!manager) return;
    auto pack = manager->packWithIdentifier(identifier_);
    if (pack && !pack->assetsAvailableForLowResUse()) pack->thumbnailResourceProvider()->downloadResources();
}

void QZContentPackFetchOperation::finish()
{
    setExecuting(false);
    setFinished(true);
}

void QZContentPackFetchOperation::finishWithError(std::shared_ptr<NSError> error)
{
    setError(std::move(error));
    finish();
}
