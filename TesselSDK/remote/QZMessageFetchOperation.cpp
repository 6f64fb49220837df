#include "TesselSDK/remote/QZMessageFetchOperation.h"

#include <string_view>

#include "CoreData/NSManagedObjectContext.h"
#include "Dispatch/Dispatch.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSLog.h"
#include "Network/NSMutableURLRequest.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDK/remote/QZAtomicFile.h"
#include "TesselSDK/remote/QZContentPackFetchOperation.h"
#include "TesselSDK/remote/QZContentPackResourceArchive.h"
#include "TesselSDK/remote/QZContentUpdateRequests.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZURLRequestOperation.h"

namespace {

constexpr double kMessageRequestTimeout = 20;
constexpr const char* kFetchMethod = "-[QZMessageFetchOperation start]";

std::shared_ptr<NSError> downloadFailure(const std::string& identifier, const std::string& reason)
{
    NSLog("%s %@", kFetchMethod, NSStringWithFormat("message %@: %@", identifier, reason));
    return NSError::errorWithDomain(kQZMessageDownloadFailureDomain, 0);
}

}  // namespace

std::shared_ptr<QZMessageFetchOperation> QZMessageFetchOperation::make(std::shared_ptr<NSURL> url,
                                                                       std::string identifier,
                                                                       std::shared_ptr<QZTesselContentManager> manager)
{
    return NSObject::create<QZMessageFetchOperation>([&](QZMessageFetchOperation& operation) {
        if (url)
            operation.request_ = NSMutableURLRequest::requestWithURL(url, NSURLRequestReloadIgnoringLocalCacheData,
                                                                     kMessageRequestTimeout);
        operation.identifier_ = std::move(identifier);
        operation.manager_ = manager;
    });
}

void QZMessageFetchOperation::start()
{
    if (isExecuting() || isFinished()) return;
    setExecuting(true);
    if (!request_) {
        finishWithError(downloadFailure(identifier_, "the archive address is no URL"));
        return;
    }
    auto request = QZURLRequestOperation::operationWithRequest(request_);
    std::shared_ptr<QZMessageFetchOperation> operation = self<QZMessageFetchOperation>();
    request->setSuccessBlock([operation](QZURLRequestOperation&, const Value::Data& data) {
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                       [operation, data] { operation->readArchive(data); });
    });
    request->setFailureBlock([operation](QZURLRequestOperation&, const std::shared_ptr<NSError>& error) {
        operation->finishWithError(error ? error : NSError::errorWithDomain(kQZMessageDownloadFailureDomain, 0));
    });
    QZContentUpdateRequestQueue()->addOperation(request);
}

void QZMessageFetchOperation::readArchive(const Value::Data& data)
{
    // A name of our own: the identifier comes from the network and never becomes a path.
    const std::string path = QZCreateUniqueFile(QZFileSystemUtils::temporaryDirectory(), "message-", ".zip");
    if (path.empty()) {
        finishWithError(downloadFailure(identifier_, "no temporary file could be made"));
        return;
    }
    std::string reason;
    Value message, banner;
    bool valid = false;
    if (QZWriteFileAtomically(path, data, &reason)) {
        auto archive = QZContentPackResourceArchive::make(path);
        valid = archive->validate();
        if (valid) {
            message = archive->dataForResourceNamed("message.json");
            banner = archive->dataForResourceNamed("banner.jpg");
        } else {
            reason = "the archive is not valid";
        }
    }
    NSFileManager::defaultManager()->removeItemAtPath(path);
    if (!valid) {
        finishWithError(downloadFailure(identifier_, reason));
        return;
    }

    std::shared_ptr<NSError> parseError;
    Value document;
    if (const Value::Data* bytes = message.asData())
        document =
            Value::fromJSON(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), &parseError);
    if (!document.isDictionary()) {
        NSLog("%s %@", kFetchMethod, NSStringWithFormat("message %@: message.json holds no JSON object", identifier_));
        finishWithError(parseError ? parseError : NSError::errorWithDomain(kQZMessageDeserializationFailureDomain, 0));
        return;
    }

    auto manager = manager_.lock();
    if (!manager) {
        finishWithError(NSError::errorWithDomain(kQZCoreDataErrorDomain, 0));
        return;
    }
    std::shared_ptr<QZMessageFetchOperation> operation = self<QZMessageFetchOperation>();
    manager->messagesUpdateManagedObjectContext()->performBlock(
        [operation, document, banner] { operation->finishWithError(operation->storeMessage(document, banner)); });
}

std::shared_ptr<NSError> QZMessageFetchOperation::storeMessage(const Value& document, const Value& banner)
{
    auto manager = manager_.lock();
    if (!manager) return NSError::errorWithDomain(kQZCoreDataErrorDomain, 0);
    NSManagedObjectContext& context = *manager->messagesUpdateManagedObjectContext();
    auto messageClass = QZManagedObjectClass::classNamed("QZMessage");
    auto message = std::dynamic_pointer_cast<QZMessage>(
        messageClass ? messageClass->createInManagedObjectContext(context) : nullptr);
    if (!message) return NSError::errorWithDomain(kQZCoreDataErrorDomain, 0);
    message->updateWithDictionary(document);
    // The manifest's identifier wins: the next manifest finds the record by it.
    if (document["identifier"] != Value(identifier_))
        NSLog("%s %@", "-[QZMessageFetchOperation start]",
              NSStringWithFormat("message.json names %@ for the entry %@: the entry's identifier is kept",
                                 document["identifier"], identifier_));
    message->setValueForKey(identifier_, "identifier");

    std::string bannerPath = message->bannerImagePath();
    if (!bannerPath.empty()) {
        std::string reason;
        const Value::Data* bytes = banner.asData();
        if (!bytes || !QZWriteFileAtomically(bannerPath, *bytes, &reason)) {
            NSLog("%s %@", kFetchMethod, "image save failure");
            bannerPath.clear();
        }
    }

    if (context.hasChanges()) {
        std::shared_ptr<NSError> saveError;
        if (!context.save(&saveError)) {
            NSLog("%s %@", kFetchMethod, NSStringWithFormat("save failed with error %@", saveError));
            // A failed save keeps its changes: left in this shared context they would fail every
            // later save of it.
            context.reset();
            if (!bannerPath.empty()) NSFileManager::defaultManager()->removeItemAtPath(bannerPath);
            return saveError ? saveError : NSError::errorWithDomain(kQZCoreDataErrorDomain, 0);
        }
    }
    return nullptr;
}

void QZMessageFetchOperation::finishWithError(std::shared_ptr<NSError> error)
{
    setError(std::move(error));
    setExecuting(false);
    setFinished(true);
}
