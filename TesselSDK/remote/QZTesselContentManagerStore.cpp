// The content store's model and coordinators. One set-up, under one lock, serves both
// coordinators: the main one checks, copies and adds the file (on failure moving it aside with
// its companions, copying the prebuilt store in its place and adding it again once), then adds
// the shipped packs the store lacks; the second only adds the file so prepared and never removes
// it, since the main one may have it open.

#include <ctime>
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
#include "TesselSDK/remote/QZContentStoreShippedPacks.h"
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

std::optional<std::string> prebuiltStorePath()
{
    std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle();
    return bundle ? bundle->pathForResource(kQZContentStorePrebuiltName, "sqlite") : std::nullopt;
}

void copyPrebuiltStoreIfNecessary(const std::string& storePath)
{
    auto fileManager = NSFileManager::defaultManager();
    if (fileManager->fileExistsAtPath(storePath)) return;
    std::shared_ptr<NSError> error;
    std::optional<std::string> prebuilt = prebuiltStorePath();
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

// A store that does not open is kept for whoever wants to look at it, beside the new one:
// "TesselContentPackData.damaged-<UTC date and time>.sqlite", its companions renamed with it so
// none is replayed into the new store. Answers false when it could not be moved.
bool moveDamagedStoreAside(const std::string& storePath, const std::shared_ptr<NSError>& cause)
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    const std::filesystem::path store(storePath);
    std::string aside;
    for (int attempt = 0;; ++attempt) {
        aside = (store.parent_path() / (store.stem().string() + ".damaged-" + stamp +
                                        (attempt ? "-" + std::to_string(attempt) : std::string()) +
                                        store.extension().string()))
                    .string();
        if (!std::filesystem::exists(aside)) break;
    }
    std::error_code failure;
    std::filesystem::rename(storePath, aside, failure);
    if (failure) {
        NSLog("%s %@", kCoordinatorMethod,
              NSStringWithFormat("The content store %@ does not open (%@) and cannot be moved aside: %@", storePath,
                                 cause ? cause->localizedDescription() : std::string(), failure.message()));
        return false;
    }
    for (const char* companion : {"-wal", "-shm", "-journal"}) {
        std::error_code ignored;
        if (std::filesystem::exists(storePath + companion, ignored))
            std::filesystem::rename(storePath + companion, aside + companion, ignored);
    }
    NSLog("%s %@", kCoordinatorMethod,
          NSStringWithFormat("The content store %@ does not open (%@); it is kept as %@ and a new store starts from "
                             "the prebuilt one",
                             storePath, cause ? cause->localizedDescription() : std::string(), aside));
    return true;
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
                if (!moveDamagedStoreAside(path, error)) {
                    std::shared_ptr<NSError> ignored;
                    coordinator->destroyPersistentStoreAtURL(path, &ignored);
                }
                copyPrebuiltStoreIfNecessary(path);
                error.reset();
                added =
                    coordinator->addPersistentStoreWithType(NSSQLiteStoreType, path, storeOptions(), &error) != nullptr;
            }
            if (added) {
                QZFileSystemUtils::addSkipBackupAttributeToItemAtURL(path);
                storeFilePath_ = path;
                // A store made before a pack shipped, or a pack lost some other way, gets it back.
                if (std::optional<std::string> prebuilt = prebuiltStorePath())
                    QZAddShippedPacksMissingFromStore(coordinator, *prebuilt);
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
