#include "TesselSDK/remote/QZTesselContentManager.h"

#include <cstdio>

#include "CoreData/NSPredicate.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackResourceProvider.h"
#include "TesselSDK/remote/QZContentStoreShippedPacks.h"
#include "TesselSDK/remote/QZContentPackUpdate.h"
#include "TesselSDK/remote/QZReachability.h"
#include "TesselSDK/remote/QZVersionComparison.h"

namespace {

constexpr const char* kEditorVersion = "3.3.11";

std::mutex sharedMutex;
std::shared_ptr<QZTesselContentManager> sharedInstance;

std::mutex messagesHandlerMutex;
std::function<void(NSManagedObjectContext&)> removeMessagesMarkedForDeletion;

// The record classes reach the process through the host's registration call; nothing is left
// for the linker to drop, so forcing a load is empty.
void forceLinkerLoad_() {}

std::shared_ptr<const QZManagedObjectClass> packClassObject()
{
    return QZManagedObjectClass::classNamed("QZContentPack");
}

std::vector<std::shared_ptr<const NSClass>> classesNamed(const std::vector<std::string>& names)
{
    std::vector<std::shared_ptr<const NSClass>> classes;
    for (const auto& name : names)
        if (auto cls = NSClassFromString(name)) classes.push_back(cls);
    return classes;
}

}  // namespace

QZTesselContentManager::~QZTesselContentManager()
{
    auto center = NSNotificationCenter::defaultCenter();
    if (contentPackSaveObserver_) center->removeObserver(contentPackSaveObserver_);
    if (messagesSaveObserver_) center->removeObserver(messagesSaveObserver_);
}

std::shared_ptr<QZTesselContentManager> QZTesselContentManager::sharedManager()
{
    std::lock_guard lock(sharedMutex);
    if (!sharedInstance) {
        forceLinkerLoad_();
        sharedInstance = NSObject::create<QZTesselContentManager>(
            [](QZTesselContentManager& m) { m.reachability_ = QZReachability::reachabilityForInternetConnection(); });
    }
    return sharedInstance;
}

bool QZTesselContentManager::compatibleWithSDKVersion(const std::string& version)
{
    return QZCompareVersions(kEditorVersion, version) >= 0;
}

std::shared_ptr<NSManagedObjectContext> QZTesselContentManager::contentPackManagedObjectContext()
{
    std::call_once(mainContextOnce_, [this] {
        auto context = NSManagedObjectContext::context(NSMainQueueConcurrencyType);
        context->setMergePolicy(NSMergeByPropertyStoreTrumpMergePolicy);
        context->setPersistentStoreCoordinator(contentPackPersistentStoreCoordinator());
        context->setName("contentPackManagedObjectContext");
        removeContentPacksMarkedForDeletionInContext(*context);
        std::function<void(NSManagedObjectContext&)> removeMessages;
        {
            std::lock_guard lock(messagesHandlerMutex);
            removeMessages = removeMessagesMarkedForDeletion;
        }
        if (removeMessages) context->performBlockAndWait([&] { removeMessages(*context); });
        mainContext_ = context;
    });
    return mainContext_;
}

std::shared_ptr<NSManagedObjectContext> QZTesselContentManager::contentPackUpdateManagedObjectContext()
{
    std::call_once(updateContextOnce_, [this] {
        updateContext_ =
            makePrivateContext(contentPackUpdatePersistentStoreCoordinator(), "contentPackUpdateManagedObjectContext",
                               {"QZEffectContentPack", "QZEffectContentPackItem", "QZFrameContentPack",
                                "QZFrameContentPackItem", "QZStickerContentPack", "QZStickerContentPackItem"},
                               &contentPackSaveObserver_);
    });
    return updateContext_;
}

std::shared_ptr<NSManagedObjectContext> QZTesselContentManager::messagesUpdateManagedObjectContext()
{
    if (DispatchMainQueue::isMainThread())
        NSLog("%s %@", "-[QZTesselContentManager messagesUpdateManagedObjectContext]",
              "Should not be calling update context from main thread");
    std::call_once(messagesContextOnce_, [this] {
        messagesContext_ =
            makePrivateContext(contentPackPersistentStoreCoordinator(), "messagesUpdateManagedObjectContext",
                               {"QZMessage", "QZMessageText"}, &messagesSaveObserver_);
    });
    return messagesContext_;
}

std::shared_ptr<NSManagedObjectContext>
QZTesselContentManager::makePrivateContext(const std::shared_ptr<NSPersistentStoreCoordinator>& coordinator,
                                           const char* name, std::vector<std::string> mergedClassNames,
                                           std::shared_ptr<NSObject>* observer)
{
    auto context = NSManagedObjectContext::context(NSPrivateQueueConcurrencyType);
    context->setMergePolicy(NSMergeByPropertyObjectTrumpMergePolicy);
    context->setPersistentStoreCoordinator(coordinator);
    context->setName(name);
    *observer = NSNotificationCenter::defaultCenter()->addObserverForName(
        NSManagedObjectContextDidSaveNotification, context, dispatch_get_main_queue(),
        [weak = weakSelf<QZTesselContentManager>(), names = std::move(mergedClassNames)](const auto& notification) {
            if (auto manager = weak.lock())
                mergeFromNotification(notification, manager->contentPackManagedObjectContext(), classesNamed(names));
        });
    return context;
}

std::string QZTesselContentManager::pendingContentPackManifestVersion() const
{
    std::lock_guard lock(stateMutex_);
    return pendingContentPackManifestVersion_;
}

void QZTesselContentManager::setPendingContentPackManifestVersion(std::string version)
{
    std::lock_guard lock(stateMutex_);
    pendingContentPackManifestVersion_ = std::move(version);
}

bool QZTesselContentManager::isUpdatingAssets() const
{
    std::lock_guard lock(stateMutex_);
    return updatingAssets_;
}

void QZTesselContentManager::setUpdatingAssets(bool updating)
{
    std::lock_guard lock(stateMutex_);
    updatingAssets_ = updating;
}

std::string QZTesselContentManager::pendingMessagesManifestVersion() const
{
    std::lock_guard lock(stateMutex_);
    return pendingMessagesManifestVersion_;
}

void QZTesselContentManager::setPendingMessagesManifestVersion(std::string version)
{
    std::lock_guard lock(stateMutex_);
    pendingMessagesManifestVersion_ = std::move(version);
}

bool QZTesselContentManager::isUpdatingMessages() const
{
    std::lock_guard lock(stateMutex_);
    return updatingMessages_;
}

void QZTesselContentManager::setUpdatingMessages(bool updating)
{
    std::lock_guard lock(stateMutex_);
    updatingMessages_ = updating;
}

std::vector<std::shared_ptr<QZContentPack>> QZTesselContentManager::contentPacks()
{
    std::vector<std::shared_ptr<QZContentPack>> packs;
    auto packClass = packClassObject();
    if (!packClass) return packs;
    if (auto records = packClass->fetchAllInManagedObjectContext(*contentPackManagedObjectContext()))
        for (const auto& record : *records)
            if (auto pack = std::dynamic_pointer_cast<QZContentPack>(record)) packs.push_back(pack);
    return packs;
}

std::shared_ptr<QZContentPack> QZTesselContentManager::packWithIdentifier(const std::string& identifier)
{
    auto packClass = packClassObject();
    if (!packClass) return nullptr;
    return std::dynamic_pointer_cast<QZContentPack>(
        packClass->findObjectWithIdentifier(Value(identifier), *contentPackManagedObjectContext()));
}

void QZTesselContentManager::synchronize()
{
    auto context = contentPackManagedObjectContext();
    if (!context->hasChanges()) return;
    std::shared_ptr<NSError> error;
    if (!context->save(&error))
        NSLog("%s %@", "-[QZTesselContentManager synchronize]", NSStringWithFormat("Error saving context: %@", error));
}

void QZTesselContentManager::updateContentPacks()
{
    QZContentPackUpdate::sharedUpdate()->updateContentPacks();
}

void QZTesselContentManager::downloadThumbnailsIfNeeded()
{
    QZContentPackUpdate::sharedUpdate()->downloadThumbnailsIfNeeded();
}

bool QZTesselContentManager::upToDateWithManifestVersion(const std::string& version)
{
    return QZContentPackUpdate::upToDateWithManifestVersion(version);
}

void QZTesselContentManager::notifyForPackAvailibilityIfNecessary(const std::shared_ptr<QZContentPack>& pack)
{
    if (!pack || !pack->shouldNotifyForAvailability()) return;
    auto classObject = std::const_pointer_cast<QZManagedObjectClass>(pack->classObject());
    NSNotificationCenter::defaultCenter()->postNotificationName(
        QZPhotoEditorControllerContentPackAvailabilityNotification, nullptr,
        Value::dictionary({{kQZPhotoEditorControllerContentPackAvailabiltyIdenfiter, Value(pack->identifier())},
                           {kQZPhotoEditorControllerContentPackAvailabiltyClass, Value(classObject)}}));
}

void QZTesselContentManager::notifyForAllPackAvailibilityIfNecessary()
{
    for (const auto& pack : contentPacks()) notifyForPackAvailibilityIfNecessary(pack);
}

void QZTesselContentManager::removeContentPacksMarkedForDeletionInContext(NSManagedObjectContext& context)
{
    auto packClass = packClassObject();
    if (!packClass) return;
    context.performBlockAndWait([&] {
        auto marked = packClass->fetchAllMatching(NSPredicate::equal("shouldDelete", Value(true)), context);
        if (!marked) return;
        std::vector<std::string> identifiers;
        for (const auto& pack : *marked) {
            if (auto contentPack = std::dynamic_pointer_cast<QZContentPack>(pack))
                identifiers.push_back(contentPack->identifier());
            context.deleteObject(pack);
        }
        if (!context.hasChanges()) return;
        std::shared_ptr<NSError> error;
        if (!context.save(&error)) {
            NSLog("%s %@", "-[QZTesselContentManager removeContentPacksMarkedForDeletionInContext:]",
                  NSStringWithFormat("delete failed with error %@",
                                     error ? error->localizedDescription() : std::string()));
            return;
        }
        // Withdrawn by the service: a shipped one is not added back from the prebuilt store.
        QZRememberContentPacksWithdrawnByService(identifiers);
        // The archives go with their records, at the same moment: no screen of this run has
        // opened them yet, and a pack listed again later downloads them afresh.
        for (const std::string& identifier : identifiers)
            for (auto type :
                 {QZContentPackResourceProviderTypeHighResolution, QZContentPackResourceProviderTypeThumbnail})
                if (std::optional<std::string> path =
                        QZContentPackResourceProvider::archivePathForPack(identifier, type))
                    std::remove(path->c_str());
    });
}

void QZTesselContentManager::setRemoveMessagesMarkedForDeletionHandler(
    std::function<void(NSManagedObjectContext&)> handler)
{
    std::lock_guard lock(messagesHandlerMutex);
    removeMessagesMarkedForDeletion = std::move(handler);
}

std::shared_ptr<QZContentPack> QZTesselContentManager::insertPackForTesting(const Value& packDocument)
{
    auto packClass = packClassObject();
    if (!packClass) return nullptr;
    auto context = contentPackManagedObjectContext();
    auto pack =
        std::dynamic_pointer_cast<QZContentPack>(packClass->updateOrCreateWithDictionary(packDocument, *context));
    synchronize();
    return pack;
}

void QZTesselContentManager::waitUntilIdle()
{
    remoteUpdateProcessingQueue_->waitUntilAllOperationsAreFinished();
    for (const auto& context : {updateContext_, messagesContext_})
        if (context) context->performBlockAndWait([] {});
    // Saves of the private contexts hand their merges to the main queue.
    if (DispatchMainQueue::isMainThread()) DispatchRunLoop::drain();
}

void QZTesselContentManager::resetSharedManagerForTesting()
{
    std::shared_ptr<QZTesselContentManager> manager;
    {
        std::lock_guard lock(sharedMutex);
        manager = sharedInstance;
    }
    if (!manager) return;
    // Blocks still queued for the main thread ask for the shared manager: they must meet this one,
    // not make a new one after it is gone.
    manager->waitUntilIdle();
    {
        std::lock_guard lock(sharedMutex);
        sharedInstance.reset();
    }
    auto center = NSNotificationCenter::defaultCenter();
    if (manager->contentPackSaveObserver_) center->removeObserver(manager->contentPackSaveObserver_);
    if (manager->messagesSaveObserver_) center->removeObserver(manager->messagesSaveObserver_);
    manager->contentPackSaveObserver_.reset();
    manager->messagesSaveObserver_.reset();
    for (auto* context : {&manager->mainContext_, &manager->updateContext_, &manager->messagesContext_})
        if (*context) {
            (*context)->performBlockAndWait([&] { (*context)->reset(); });
            context->reset();
        }
    manager->mainCoordinator_.reset();
    manager->updateCoordinator_.reset();
}
