#include "TesselSDK/remote/QZMessageUpdate.h"

#include <limits>
#include <map>
#include <set>
#include <string_view>

#include "CoreData/NSManagedObjectContext.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSUserDefaults.h"
#include "Network/NSMutableURLRequest.h"
#include "Network/NSURL.h"
#include "TesselSDK/remote/QZContentUpdateRequests.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZMessageConversions.h"
#include "TesselSDK/remote/QZMessageFetchOperation.h"
#include "TesselSDK/remote/QZMessageUpdateCompletionOperation.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZURLRequestOperation.h"
#include "UIKit/UIScreen.h"

namespace {

// Both documents are small: idle for 15 s, or not whole within a minute, they failed.
constexpr double kMessagesRequestTimeout = 15;
constexpr double kMessagesRequestTotalTimeout = 60;

using Errors = std::vector<std::pair<std::string, std::shared_ptr<NSError>>>;

// A messages document, asked of the service itself (never a cache).
void fetchDocument(const std::shared_ptr<NSURL>& url, std::function<void(const Value::Data&)> success,
                   std::function<void(const std::shared_ptr<NSError>&)> failure)
{
    auto request =
        NSMutableURLRequest::requestWithURL(url, NSURLRequestReloadIgnoringLocalCacheData, kMessagesRequestTimeout);
    request->setTotalTimeoutInterval(kMessagesRequestTotalTimeout);
    QZFetchUpdateDocument(request, std::move(success), std::move(failure));
}

Value parseJSON(const Value::Data& data, std::string* reason)
{
    std::shared_ptr<NSError> error;
    Value document = Value::fromJSON(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), &error);
    if (!document.isDictionary()) {
        *reason = error ? error->localizedDescription() : std::string("no JSON object");
        return {};
    }
    return document;
}

std::string replaceAll(std::string text, std::string_view pattern, std::string_view replacement)
{
    for (std::size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern, at + replacement.size()))
        text.replace(at, pattern.size(), replacement);
    return text;
}

}  // namespace

void QZTesselContentManager::updateMessages()
{
    QZMessageUpdate::sharedUpdate()->updateMessages();
}

std::shared_ptr<QZMessageUpdate> QZMessageUpdate::sharedUpdate()
{
    static std::mutex mutex;
    static std::shared_ptr<QZMessageUpdate> shared;
    auto manager = QZTesselContentManager::sharedManager();
    std::lock_guard lock(mutex);
    // A test that starts the manager afresh starts its update afresh too.
    if (!shared || shared->manager_.lock() != manager) shared = make(manager);
    return shared;
}

std::shared_ptr<QZMessageUpdate> QZMessageUpdate::make(std::shared_ptr<QZTesselContentManager> manager)
{
    return NSObject::create<QZMessageUpdate>([&](QZMessageUpdate& update) { update.manager_ = manager; });
}

QZMessageUpdateResult QZMessageUpdate::lastResult() const
{
    std::lock_guard lock(mutex_);
    return result_;
}

bool QZMessageUpdate::isIdle() const
{
    auto manager = manager_.lock();
    return !manager || !manager->isUpdatingMessages();
}

bool QZMessageUpdate::currentWithMessagesManifestVersion(long long version)
{
    const Value stored =
        NSUserDefaults::standardUserDefaults()->objectForKey(kQZContentManagerCurrentMessagingManifestVerion);
    return stored.longLongValue() >= version;
}

void QZMessageUpdate::updateMessages()
{
    DispatchMainQueue::requireMainThread("-[QZTesselContentManager updateMessages]");
    auto manager = manager_.lock();
    if (!manager) return;
    manager->contentPackManagedObjectContext();
    if (manager->isUpdatingMessages()) return;
    manager->setUpdatingMessages(true);
    downloadMessagesVersionFile();
}

void QZMessageUpdate::downloadMessagesVersionFile()
{
    const bool staging = QZUsesStagingContentService();
    std::shared_ptr<QZMessageUpdate> update = self<QZMessageUpdate>();
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [update, staging] {
        std::shared_ptr<NSURL> url = QZContentServiceDocumentURL(staging, "messages/messageVersion.json");
        if (!url) {
            const char* reason = "No content service root or API key is configured: messages are not updated.";
            NSLog("%s %@", "-[QZTesselContentManager downloadMessagesVersionFile]", reason);
            update->abortMessagesUpdateWithError(reason);
            return;
        }
        fetchDocument(
            url, [update](const Value::Data& data) { update->parseMessagesVersionFileWithData(data); },
            [update](const std::shared_ptr<NSError>& error) {
                update->abortMessagesUpdateWithError("version request failed: " + QZDescribeUpdateError(error));
            });
    });
}

void QZMessageUpdate::parseMessagesVersionFileWithData(const Value::Data& data)
{
    std::string reason;
    const Value version = parseJSON(data, &reason);
    if (version.isNil()) {
        NSLog("%s %@", "-[QZTesselContentManager parseMessagesVersionFileWithData:]",
              "Version document refused: " + reason);
        abortMessagesUpdateWithError("version document refused: " + reason);
        return;
    }
    if (currentWithMessagesManifestVersion(version["messagesVersion"].longLongValue())) {
        messagesUpdateDidFinish(QZMessageUpdateOutcome::UpToDate, {});
        return;
    }
    std::shared_ptr<NSURL> url = NSURL::URLWithString(version["messagesURL"].stringValue());
    if (!url) {
        abortMessagesUpdateWithError("manifest address is no URL: " + version["messagesURL"].stringValue());
        return;
    }
    std::shared_ptr<QZMessageUpdate> update = self<QZMessageUpdate>();
    fetchDocument(
        url, [update](const Value::Data& body) { update->updateMessagesWithManifestData(body); },
        [update](const std::shared_ptr<NSError>& error) {
            update->abortMessagesUpdateWithError("manifest request failed: " + QZDescribeUpdateError(error));
        });
}

void QZMessageUpdate::updateMessagesWithManifestData(const Value::Data& data)
{
    std::string reason;
    Value manifest = parseJSON(data, &reason);
    if (manifest.isNil()) {
        NSLog("%s %@", "-[QZTesselContentManager updateMessagesWithManifestData:]", "Manifest refused: " + reason);
        abortMessagesUpdateWithError("manifest refused: " + reason);
        return;
    }
    const long long version = manifest["messagesVersion"].longLongValue();
    if (currentWithMessagesManifestVersion(version)) {
        messagesUpdateDidFinish(QZMessageUpdateOutcome::UpToDate, {});
        return;
    }
    auto manager = manager_.lock();
    if (!manager) return;
    std::shared_ptr<QZMessageUpdate> update = self<QZMessageUpdate>();
    manager->messagesUpdateManagedObjectContext()->performBlock(
        [update, manifest = std::move(manifest), version] { update->applyManifest(manifest, version); });
}

void QZMessageUpdate::applyManifest(const Value& manifest, long long version)
{
    auto manager = manager_.lock();
    if (!manager) return;
    NSManagedObjectContext& context = *manager->messagesUpdateManagedObjectContext();

    std::multimap<std::string, std::shared_ptr<QZMessage>> working;
    if (auto records = QZManagedObjectClass::classNamed("QZMessage")->fetchAllInManagedObjectContext(context))
        for (const auto& record : *records)
            if (auto message = std::dynamic_pointer_cast<QZMessage>(record))
                working.emplace(message->identifier(), message);

    std::vector<std::shared_ptr<QZMessageFetchOperation>> fetches;
    std::set<std::string> listed;
    const Value entries = manifest["messages"];
    for (std::size_t i = 0; i < entries.count(); ++i) {
        const Value entry = entries[i];
        const std::string identifier = entry["identifier"].stringValue();
        if (identifier.empty()) {
            NSLog("%s %@", "-[QZTesselContentManager updateMessagesWithManifestData:]",
                  "An entry without an identifier is skipped");
            continue;
        }
        // Listed twice: the first entry stands, so the message is fetched once.
        if (!listed.insert(identifier).second) continue;
        if (auto found = working.find(identifier); found != working.end()) {
            working.erase(found);
            continue;
        }
        if (auto fetch = createFetchOperationWithDictionary(entry)) fetches.push_back(fetch);
    }
    // Records listed under one identifier twice are both kept; only unlisted ones are withdrawn.
    for (const auto& [identifier, message] : working) {
        if (listed.count(identifier)) continue;
        message->setValueForKey(true, "hasBeenShown");
        message->setValueForKey(true, "shouldDelete");
    }

    if (context.hasChanges()) {
        std::shared_ptr<NSError> error;
        if (!context.save(&error)) {
            NSLog("%s %@", "-[QZTesselContentManager updateMessagesWithManifestData:]",
                  NSStringWithFormat("save failed with error: %@", error));
            context.reset();
            abortMessagesUpdateWithError("the manifest's changes could not be saved");
            return;
        }
    }

    std::shared_ptr<QZMessageUpdate> update = self<QZMessageUpdate>();
    auto completion = QZMessageUpdateCompletionOperation::make(
        version, fetches, manager, [update, fetches](QZMessageUpdateCompletionOperation& ended) {
            Errors errors;
            for (const auto& fetch : fetches)
                if (auto error = fetch->error()) errors.emplace_back(fetch->identifier(), error);
            if (ended.error()) {
                update->messagesUpdateDidFinish(QZMessageUpdateOutcome::Failed,
                                                "the messages could not be saved: the version is not committed",
                                                std::move(errors));
            } else if (!errors.empty()) {
                std::string reason = "the messages version is not committed, a message fetch failed:";
                for (const auto& [identifier, error] : errors)
                    reason += NSStringWithFormat(" %@ (%@ %ld)", identifier, error->domain(),
                                                 static_cast<long>(error->code()));
                update->messagesUpdateDidFinish(QZMessageUpdateOutcome::Failed, std::move(reason), std::move(errors));
            } else {
                update->messagesUpdateDidFinish(QZMessageUpdateOutcome::Committed, {});
            }
        });
    const auto& queue = manager->remoteUpdateProcessingQueue();
    for (const auto& fetch : fetches) queue->addOperation(fetch);
    queue->addOperation(completion);
}

std::shared_ptr<QZMessageFetchOperation> QZMessageUpdate::createFetchOperationWithDictionary(const Value& entry)
{
    // Read to the second: a float would move a date near today by up to a minute.
    double endDate = std::numeric_limits<double>::infinity();
    const Value end = entry["endDate"];
    if (!end.isNil()) {
        std::optional<double> seconds = QZSecondsFromNumberOrString(end);
        if (!seconds) {
            NSLog("%s %@", "-[QZTesselContentManager createFetchOperationWithDictionary:]",
                  NSStringWithFormat("Unreadable endDate %@: the entry is skipped", end));
            return nullptr;
        }
        endDate = *seconds;
    }
    if (!QZTesselContentManager::compatibleWithSDKVersion(entry["sdkVersion"].stringValue())) return nullptr;
    if (!(NSDate::date()->timeIntervalSince1970() < endDate)) return nullptr;
    const std::string address = replaceAll(entry["messagesURL"].stringValue(), "{scale}",
                                           UIScreen::mainScreen()->scale() > 1.0 ? "retina" : "nonRetina");
    return QZMessageFetchOperation::make(NSURL::URLWithString(address), entry["identifier"].stringValue(),
                                         manager_.lock());
}

void QZMessageUpdate::messagesUpdateDidFinish(QZMessageUpdateOutcome outcome, std::string reason, Errors fetchErrors)
{
    std::shared_ptr<QZMessageUpdate> update = self<QZMessageUpdate>();
    dispatch_async(dispatch_get_main_queue(),
                   [update, outcome, reason = std::move(reason), fetchErrors = std::move(fetchErrors)]() mutable {
                       {
                           std::lock_guard lock(update->mutex_);
                           update->result_.outcome = outcome;
                           update->result_.reason = std::move(reason);
                           update->result_.fetchErrors = std::move(fetchErrors);
                           ++update->result_.sequence;
                       }
                       if (auto manager = update->manager_.lock()) manager->setUpdatingMessages(false);
                   });
}

void QZMessageUpdate::abortMessagesUpdateWithError(std::string reason)
{
    messagesUpdateDidFinish(QZMessageUpdateOutcome::Aborted, std::move(reason));
}

void QZMessageUpdate::removeMessagesMarkedForDeletionInContext(NSManagedObjectContext& context)
{
    constexpr const char* method = "-[QZTesselContentManager removeMessagesMarkedForDeletionInContext:]";
    auto messageClass = QZManagedObjectClass::classNamed("QZMessage");
    if (!messageClass) return;
    const Value now = Value::date(NSDate::date()->timeIntervalSince1970());
    // fetchAllMatching logs a failed fetch itself.
    auto expired = messageClass->fetchAllMatching(
        NSPredicate::compare("endDate", NSPredicateOperatorType::LessThan, now), context);
    if (!expired) NSLog("%s %@", method, "message request failed with error");
    for (const auto& record : expired.value_or(QZManagedObjectClass::Records{}))
        if (auto message = std::dynamic_pointer_cast<QZMessage>(record)) message->cleanupAssetsWithSave(false);
    auto withdrawn = messageClass->fetchAllMatching(NSPredicate::equal("shouldDelete", true), context);
    if (!withdrawn) NSLog("%s %@", method, "message request failed with error");
    for (const auto& record : withdrawn.value_or(QZManagedObjectClass::Records{}))
        if (auto message = std::dynamic_pointer_cast<QZMessage>(record)) {
            message->cleanupAssetsWithSave(false);
            context.deleteObject(message);
        }
    std::shared_ptr<NSError> error;
    if (context.hasChanges() && !context.save(&error))
        NSLog("%s %@", method, NSStringWithFormat("clean up save failed with error %@", error));
}
