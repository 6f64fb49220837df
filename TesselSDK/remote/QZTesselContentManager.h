#pragma once
// The owner of the content store: one SQLite file of the pack model under Application Support,
// opened by two coordinators. Screens read through the main-queue context (main coordinator);
// the content update writes through a private context on the second coordinator and the message
// update through a private context on the main coordinator. Saves of either private context are
// merged into the main-queue context on the main queue. It also answers pack look-ups, announces
// packs that become displayable and holds the state of the running updates.
//
// The host registers the remote record classes (TesselSDKRemoteRegisterClasses) before first use.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSManagedObjectModel.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "Foundation/NSClass.h"
#include "Foundation/NSNotification.h"
#include "Foundation/NSObject.h"
#include "Foundation/NSOperationQueue.h"
#include "Foundation/Value.h"

class QZContentPack;
class QZReachability;

// Posted with object nil on the posting thread; userInfo: the pack's identifier, and its record
// class object (a QZManagedObjectClass, the one QZManagedObjectClass::classNamed answers).
inline constexpr const char* QZPhotoEditorControllerContentPackAvailabilityNotification =
    "QZPhotoEditorControllerContentPackAvailabilityNotification";
inline constexpr const char* kQZPhotoEditorControllerContentPackAvailabiltyIdenfiter =
    "kQZPhotoEditorControllerContentPackAvailabiltyIdenfiter";
inline constexpr const char* kQZPhotoEditorControllerContentPackAvailabiltyClass =
    "kQZPhotoEditorControllerContentPackAvailabiltyType";
// The user-defaults key of the committed content manifest version.
inline constexpr const char* kQZContentManagerCurrentContentManifestVerion = "kQZContentPackCurrentManifestVerion";
// Posted by the asset manager for a high-resolution resource provider's changes.
inline constexpr const char* QZTesselContentManagerResourcesUpdatedNotification =
    "QZTesselContentManagerResourcesUpdatedNotification";

inline constexpr const char* kQZContentStoreFileName = "TesselContentPackData.sqlite";
inline constexpr const char* kQZContentStorePrebuiltName = "TesselContentPackCompiledDatabase";

class QZTesselContentManager : public NSObject {
public:
    using NSObject::NSObject;
    ~QZTesselContentManager() override;

    // Created on first call, thread-safe.
    static std::shared_ptr<QZTesselContentManager> sharedManager();
    // YES when the editor's version is equal to or higher than `version`.
    static bool compatibleWithSDKVersion(const std::string& version);

    // Each created once, on first use.
    std::shared_ptr<NSManagedObjectModel> contentPackManagedObjectModel();
    std::shared_ptr<NSPersistentStoreCoordinator> contentPackPersistentStoreCoordinator();
    // The main coordinator when the store runs in memory or this one could not add the file.
    std::shared_ptr<NSPersistentStoreCoordinator> contentPackUpdatePersistentStoreCoordinator();
    // Main thread. Packs marked for deletion leave the store when it is created.
    std::shared_ptr<NSManagedObjectContext> contentPackManagedObjectContext();
    std::shared_ptr<NSManagedObjectContext> contentPackUpdateManagedObjectContext();
    // Not for the main thread (logged there, still answered).
    std::shared_ptr<NSManagedObjectContext> messagesUpdateManagedObjectContext();

    const std::shared_ptr<NSOperationQueue>& remoteUpdateProcessingQueue() const
    {
        return remoteUpdateProcessingQueue_;
    }
    const std::shared_ptr<QZReachability>& reachability() const { return reachability_; }

    // The running updates' state (any thread).
    std::string pendingContentPackManifestVersion() const;
    void setPendingContentPackManifestVersion(std::string version);
    bool isUpdatingAssets() const;
    void setUpdatingAssets(bool updating);
    std::string pendingMessagesManifestVersion() const;
    void setPendingMessagesManifestVersion(std::string version);
    bool isUpdatingMessages() const;
    void setUpdatingMessages(bool updating);

    // Main thread from here on.
    // Every pack record of the main-queue context, unordered.
    std::vector<std::shared_ptr<QZContentPack>> contentPacks();
    std::shared_ptr<QZContentPack> packWithIdentifier(const std::string& identifier);
    // Saves the main-queue context when it has changes (a failure is logged; changes stay).
    void synchronize();
    // Starts one content update (QZContentPackUpdate holds its steps and its last outcome).
    void updateContentPacks();
    // When the internet is reachable: the thumbnail download of every pack whose thumbnails are
    // not on the device (the pack screens ask for them).
    void downloadThumbnailsIfNeeded();
    // YES when a committed manifest version is stored and is equal to or higher than `version`.
    static bool upToDateWithManifestVersion(const std::string& version);
    // The message update (QZMessageUpdate): starts one unless one runs.
    void updateMessages();

    // Brings a did-save notification into `context`, rereading the updated rows of the given record
    // classes from the store first when the saving context has a coordinator of its own.
    static void mergeFromNotification(const std::shared_ptr<NSNotification>& notification,
                                      const std::shared_ptr<NSManagedObjectContext>& context,
                                      const std::vector<std::shared_ptr<const NSClass>>& classArray);
    // Posts the availability notification the first time this record object finds its pack
    // displayable.
    void notifyForPackAvailibilityIfNecessary(const std::shared_ptr<QZContentPack>& pack);
    void notifyForAllPackAvailibilityIfNecessary();
    // Deletes the packs marked shouldDelete in the context and saves it (on its queue).
    void removeContentPacksMarkedForDeletionInContext(NSManagedObjectContext& context);

    // Called with the main-queue context when it is created, after the packs marked for deletion
    // are gone: the message update removes its messages marked for deletion.
    static void setRemoveMessagesMarkedForDeletionHandler(std::function<void(NSManagedObjectContext&)> handler);

    // Tests: maps a pack document ("identifier", "packType", ...) into the main-queue context and
    // saves it; answers the pack (null when the document makes none).
    std::shared_ptr<QZContentPack> insertPackForTesting(const Value& packDocument);
    // Tests: waits for the queues to go idle, stops observing, closes the store and forgets the
    // shared manager, so the next sharedManager opens the files as a new run of the process would.
    static void resetSharedManagerForTesting();

private:
    // "TesselContentPackData.sqlite" under Application Support; empty when that cannot be made.
    static std::string storePath();
    std::shared_ptr<NSManagedObjectContext>
    makePrivateContext(const std::shared_ptr<NSPersistentStoreCoordinator>& coordinator, const char* name,
                       std::vector<std::string> mergedClassNames, std::shared_ptr<NSObject>* observer);
    void waitUntilIdle();

    std::once_flag modelOnce_, mainCoordinatorOnce_, updateCoordinatorOnce_;
    std::once_flag mainContextOnce_, updateContextOnce_, messagesContextOnce_;
    std::shared_ptr<NSManagedObjectModel> model_;
    std::shared_ptr<NSPersistentStoreCoordinator> mainCoordinator_;
    std::shared_ptr<NSPersistentStoreCoordinator> updateCoordinator_;
    std::string storeFilePath_;  // empty while the store runs in memory
    std::shared_ptr<NSManagedObjectContext> mainContext_;
    std::shared_ptr<NSManagedObjectContext> updateContext_;
    std::shared_ptr<NSManagedObjectContext> messagesContext_;
    std::shared_ptr<NSObject> contentPackSaveObserver_;
    std::shared_ptr<NSObject> messagesSaveObserver_;

    std::shared_ptr<NSOperationQueue> remoteUpdateProcessingQueue_ = NSOperationQueue::queue();
    std::shared_ptr<QZReachability> reachability_;

    mutable std::mutex stateMutex_;
    std::string pendingContentPackManifestVersion_;
    bool updatingAssets_ = false;
    std::string pendingMessagesManifestVersion_;
    bool updatingMessages_ = false;
};
