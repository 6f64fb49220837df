// The content store's model and coordinators. One set-up, under one lock, serves both
// coordinators: the main one checks, copies and adds the file (removing it with its companions
// and adding it again once, on failure); the second only adds the file so prepared and never
// removes it, since the main one may have it open.

#include <filesystem>

#include "CoreData/NSPersistentStore.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSUserDefaults.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZContentPacksDataModel.h"
#include "TesselSDK/remote/QZInterprocessLock.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

namespace {

constexpr const char* kCoordinatorMethod = "-[QZTesselContentManager contentPackPersistentStoreCoordinator]";
constexpr const char* kUpdateCoordinatorMethod =
    "-[QZTesselContentManager contentPackUpdatePersistentStoreCoordinator]";
constexpr const char* kMessagingManifestVersionKey = "kQZContentManagerCurrentMessagingManifestVerion";
constexpr const char* kLastUpdateKey = "kQZCDSLastUpdate";
// The platform's codes for a missing file and a file that cannot be written.
constexpr NSInteger kFileReadNoSuchFileError = 260;
constexpr NSInteger kFileWriteUnknownError = 512;

Value storeOptions()
{
    return Value::dictionary(
        {{NSMigratePersistentStoresAutomaticallyOption, true},
         {NSInferMappingModelAutomaticallyOption, true},
         {NSSQLitePragmasOption, Value::dictionary({{"journal_mode", "WAL"}, {"synchronous", "NORMAL"}})}});
}

// An empty store that was not copied from the prebuilt one: the committed versions describe
// packs it does not hold, so the next update must fetch everything.
void forgetCommittedVersions()
{
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->removeObjectForKey(kQZContentManagerCurrentContentManifestVerion);
    defaults->removeObjectForKey(kMessagingManifestVersionKey);
    defaults->removeObjectForKey(kLastUpdateKey);
    defaults->synchronize();
}

void copyPrebuiltStoreIfNecessary(const std::string& storePath)
{
    auto fileManager = NSFileManager::defaultManager();
    if (fileManager->fileExistsAtPath(storePath)) return;
    std::shared_ptr<NSError> error;
    std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle();
    std::optional<std::string> prebuilt =
        bundle ? bundle->pathForResource(kQZContentStorePrebuiltName, "sqlite") : std::nullopt;
    if (!prebuilt)
        error = NSError::errorWithDescription(NSCocoaErrorDomain, kFileReadNoSuchFileError,
                                              "The prebuilt content store is not in the resource bundle.");
    else if (fileManager->copyItemAtPath(*prebuilt, storePath, &error)) {
        auto defaults = NSUserDefaults::standardUserDefaults();
        defaults->setObject(Value("1.0.0"), kQZContentManagerCurrentContentManifestVerion);
        defaults->setObject(Value(0), kMessagingManifestVersionKey);
        defaults->synchronize();
        return;
    }
    NSLog("%s %@", kCoordinatorMethod,
          NSStringWithFormat("Error copying precompiled database into place with error: %@",
                             error ? error->localizedDescription() : std::string()));
    forgetCommittedVersions();
}

void reportUnresolved(const char* method, const std::shared_ptr<NSError>& error)
{
    NSLog("%s %@", method, NSStringWithFormat("Unresolved error %@, %@", error, error ? error->userInfo() : Value()));
    QZAnalytics::reportEvent("contentPackPersistentStoreCoordinator: Failure",
                             Value::dictionary({{"error Message", error ? error->description() : std::string()}}));
}

}  // namespace

std::string QZTesselContentManager::storePath()
{
    std::optional<std::string> directory = QZFileSystemUtils::applicationSupportDirectory();
    return directory ? (std::filesystem::path(*directory) / kQZContentStoreFileName).string() : std::string();
}

std::shared_ptr<NSManagedObjectModel> QZTesselContentManager::contentPackManagedObjectModel()
{
    std::call_once(modelOnce_, [this] { model_ = QZContentPacksDataModel(); });
    return model_;
}

std::shared_ptr<NSPersistentStoreCoordinator> QZTesselContentManager::contentPackPersistentStoreCoordinator()
{
    std::call_once(mainCoordinatorOnce_, [this] {
        auto coordinator = NSPersistentStoreCoordinator::coordinator(contentPackManagedObjectModel());
        std::shared_ptr<NSError> error;
        const std::string path = storePath();
        if (path.empty()) {
            error = NSError::errorWithDescription(NSCocoaErrorDomain, kFileWriteUnknownError,
                                                  "The application support directory cannot be made.");
        } else {
            // Processes starting on one new root at once would copy the prebuilt store over each
            // other, or remove the copy another has open; the set-up runs in one of them at a time.
            QZInterprocessLock setUp(path + ".setup-lock");
            std::string reason;
            if (!setUp.lock(&reason)) NSLog("%s %@", kCoordinatorMethod, "The store's set-up runs unlocked: " + reason);
            copyPrebuiltStoreIfNecessary(path);
            bool added =
                coordinator->addPersistentStoreWithType(NSSQLiteStoreType, path, storeOptions(), &error) != nullptr;
            if (!added) {
                std::shared_ptr<NSError> ignored;
                coordinator->destroyPersistentStoreAtURL(path, &ignored);
                forgetCommittedVersions();
                error.reset();
                added =
                    coordinator->addPersistentStoreWithType(NSSQLiteStoreType, path, storeOptions(), &error) != nullptr;
            }
            if (added) {
                QZFileSystemUtils::addSkipBackupAttributeToItemAtURL(path);
                storeFilePath_ = path;
            }
        }
        if (storeFilePath_.empty()) {
            reportUnresolved(kCoordinatorMethod, error);
            // Degraded: no packs, nothing written, but every caller gets working contexts.
            std::shared_ptr<NSError> ignored;
            coordinator->addPersistentStoreWithType(NSInMemoryStoreType, "", Value::dictionary(), &ignored);
        }
        mainCoordinator_ = coordinator;
    });
    return mainCoordinator_;
}

std::shared_ptr<NSPersistentStoreCoordinator> QZTesselContentManager::contentPackUpdatePersistentStoreCoordinator()
{
    std::call_once(updateCoordinatorOnce_, [this] {
        auto main = contentPackPersistentStoreCoordinator();
        if (storeFilePath_.empty()) {
            updateCoordinator_ = main;
            return;
        }
        auto coordinator = NSPersistentStoreCoordinator::coordinator(contentPackManagedObjectModel());
        std::shared_ptr<NSError> error;
        if (coordinator->addPersistentStoreWithType(NSSQLiteStoreType, storeFilePath_, storeOptions(), &error)) {
            updateCoordinator_ = coordinator;
        } else {
            reportUnresolved(kUpdateCoordinatorMethod, error);
            updateCoordinator_ = main;
        }
    });
    return updateCoordinator_;
}
