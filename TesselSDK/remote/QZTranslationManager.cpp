#include "TesselSDK/remote/QZTranslationManager.h"

#include <filesystem>
#include <vector>

#include "CoreData/NSFetchRequest.h"
#include "CoreData/NSPersistentStore.h"
#include "CoreData/NSPredicate.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSLocale.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"
#include "TesselSDK/remote/QZTranslationsDataModel.h"

namespace {

constexpr const char* kTranslationQueueLabel = "com.tessel.translations_update_queue";
// The platform's code for a file that cannot be written.
constexpr NSInteger kFileWriteUnknownError = 512;

std::mutex sharedMutex;
std::shared_ptr<QZTranslationManager> sharedInstance;

Value storeOptions()
{
    return Value::dictionary(
        {{NSMigratePersistentStoresAutomaticallyOption, true}, {NSInferMappingModelAutomaticallyOption, true}});
}

// "fr-CA" -> "fr"
std::string primaryLanguage(const std::string& language)
{
    return language.substr(0, language.find_first_of("-_"));
}

}  // namespace

QZTranslationManager::~QZTranslationManager()
{
    if (saveObserver_) NSNotificationCenter::defaultCenter()->removeObserver(saveObserver_);
}

std::shared_ptr<QZTranslationManager> QZTranslationManager::sharedManager()
{
    std::lock_guard lock(sharedMutex);
    if (!sharedInstance) sharedInstance = NSObject::create<QZTranslationManager>(&QZTranslationManager::init);
    return sharedInstance;
}

void QZTranslationManager::init()
{
    translationUpdateQueue_ = dispatch_queue_create(kTranslationQueueLabel, DISPATCH_QUEUE_SERIAL);
    managedObjectContext();
}

std::string QZTranslationManager::storeURL()
{
    std::optional<std::string> directory = QZFileSystemUtils::applicationSupportDirectory();
    return directory ? (std::filesystem::path(*directory) / kQZTranslationStoreFileName).string() : std::string();
}

std::shared_ptr<NSManagedObjectModel> QZTranslationManager::managedObjectModel()
{
    std::call_once(modelOnce_, [this] { model_ = QZTranslationsDataModel(); });
    return model_;
}

std::shared_ptr<NSPersistentStoreCoordinator> QZTranslationManager::persistentStoreCoordinator()
{
    std::call_once(coordinatorOnce_, [this] {
        auto coordinator = NSPersistentStoreCoordinator::coordinator(managedObjectModel());
        std::shared_ptr<NSError> error;
        const std::string path = storeURL();
        bool added = false;
        if (path.empty()) {
            error = NSError::errorWithDescription(NSCocoaErrorDomain, kFileWriteUnknownError,
                                                  "The application support directory cannot be made.");
        } else {
            added = coordinator->addPersistentStoreWithType(NSSQLiteStoreType, path, storeOptions(), &error) != nullptr;
            if (!added) {
                // Translations are a cache of service data: start afresh, companions included, so
                // a stale write-ahead log cannot reach the new file.
                std::shared_ptr<NSError> ignored;
                coordinator->destroyPersistentStoreAtURL(path, &ignored);
                error.reset();
                added =
                    coordinator->addPersistentStoreWithType(NSSQLiteStoreType, path, storeOptions(), &error) != nullptr;
            }
        }
        if (added)
            coordinator_ = coordinator;
        else
            NSLog("%s %@", "-[QZTranslationManager persistentStoreCoordinator]",
                  NSStringWithFormat("Unresolved error %@, %@", error, error ? error->userInfo() : Value()));
    });
    return coordinator_;
}

std::shared_ptr<NSManagedObjectContext> QZTranslationManager::managedObjectContext()
{
    std::call_once(contextOnce_, [this] {
        auto coordinator = persistentStoreCoordinator();
        if (!coordinator) return;
        auto context = NSManagedObjectContext::context(NSMainQueueConcurrencyType);
        context->setMergePolicy(NSMergeByPropertyStoreTrumpMergePolicy);
        context->setPersistentStoreCoordinator(coordinator);
        context->setName("translations");
        context_ = context;
    });
    return context_;
}

std::shared_ptr<NSManagedObjectContext> QZTranslationManager::updateManagedObjectContext()
{
    std::call_once(updateContextOnce_, [this] {
        auto coordinator = persistentStoreCoordinator();
        if (!coordinator) return;
        auto context = NSManagedObjectContext::context(NSPrivateQueueConcurrencyType);
        context->setMergePolicy(NSMergeByPropertyObjectTrumpMergePolicy);
        context->setPersistentStoreCoordinator(coordinator);
        context->setName("translationsUpdate");
        saveObserver_ = NSNotificationCenter::defaultCenter()->addObserverForName(
            NSManagedObjectContextDidSaveNotification, context, dispatch_get_main_queue(),
            [weak = weakSelf<QZTranslationManager>()](const auto& notification) {
                auto manager = weak.lock();
                auto main = manager ? manager->managedObjectContext() : nullptr;
                if (main) main->mergeChangesFromContextDidSaveNotification(notification);
            });
        updateContext_ = context;
    });
    return updateContext_;
}

std::string QZTranslationManager::translationForKey(const std::string& key)
{
    std::vector<std::string> languages = NSLocale::preferredLanguages();
    if (languages.empty()) return key;
    const std::string language = NSLocale::canonicalLanguageIdentifierFromString(languages.front());
    const std::string primary = primaryLanguage(language);
    if (language.empty() || primary == "en") return key;
    std::string localized = QZLocalizedString(key);
    if (localized != key) return localized;
    std::string stored = storedTranslation(key, language);
    if (stored.empty() && primary != language) stored = storedTranslation(key, primary);
    return stored.empty() ? key : stored;
}

std::string QZTranslationManager::storedTranslation(const std::string& key, const std::string& language)
{
    auto context = managedObjectContext();
    if (!context) return {};
    auto request = NSFetchRequest::fetchRequestWithEntityName("TranslationValue");
    request->setPredicate(NSPredicate::andPredicate(
        {NSPredicate::equal("language", Value(language)), NSPredicate::equal("key.value", Value(key))}));
    request->setFetchLimit(1);
    std::shared_ptr<NSError> error;
    auto found = context->executeFetchRequest(*request, &error);
    if (!found || found->empty()) return {};
    return found->front()->valueForKey("value").stringValue();
}

void QZTranslationManager::updateWithDictionary(const Value& dictionary)
{
    dispatch_async(translationUpdateQueue_, [manager = self<QZTranslationManager>(), dictionary] {
        auto context = manager->updateManagedObjectContext();
        if (!context) return;  // no store: the next pack document brings the texts again
        context->performBlockAndWait([&] {
            auto keyClass = QZManagedObjectClass::classNamed("QZTranslationKey");
            auto record = keyClass ? keyClass->updateOrCreateWithDictionary(dictionary, *context) : nullptr;
            if (!record) NSLog("%s %@", "-[QZTranslationManager updateWithDictionary:]", "Expected non-nil value.");
            if (!context->hasChanges()) return;
            std::shared_ptr<NSError> error;
            if (!context->save(&error))
                NSLog("%s %@", "-[QZTranslationManager updateWithDictionary:]",
                      NSStringWithFormat("Error saving asset update context: %@", error ? error->description() : ""));
        });
    });
}

void QZTranslationManager::resetSharedManagerForTesting()
{
    std::shared_ptr<QZTranslationManager> manager;
    {
        std::lock_guard lock(sharedMutex);
        manager.swap(sharedInstance);
    }
    if (!manager) return;
    manager->translationUpdateQueue_->sync([] {});
    if (manager->updateContext_) manager->updateContext_->performBlockAndWait([] {});
    if (DispatchMainQueue::isMainThread()) DispatchRunLoop::drain();
    if (manager->saveObserver_) NSNotificationCenter::defaultCenter()->removeObserver(manager->saveObserver_);
    manager->saveObserver_.reset();
    for (auto* context : {&manager->context_, &manager->updateContext_})
        if (*context) {
            (*context)->performBlockAndWait([&] { (*context)->reset(); });
            context->reset();
        }
    manager->coordinator_.reset();
}
