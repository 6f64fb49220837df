#pragma once
// What an English pack text reads in the user's language. The editor's own string tables answer
// first, then the translations the content service sent, kept in a store of their own
// ("TesselTranslations.sqlite" under Application Support; a cache of service data, recreated
// when it cannot be opened). Updates are applied on a serial queue through a private context
// whose saves are merged into the main context on the main queue; lookups run on the main thread.
//
// The host registers the remote record classes (TesselSDKRemoteRegisterClasses) before first use.

#include <memory>
#include <mutex>
#include <string>

#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSManagedObjectModel.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "Dispatch/DispatchQueue.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

inline constexpr const char* kQZTranslationStoreFileName = "TesselTranslations.sqlite";

class QZTranslationManager : public NSObject {
public:
    using NSObject::NSObject;
    ~QZTranslationManager() override;

    // Created on first call, thread-safe.
    static std::shared_ptr<QZTranslationManager> sharedManager();

    // The key on an English device; else the editor's translation when it has one; else the
    // stored translation for the language (or its first subtag); else the key. Main thread.
    std::string translationForKey(const std::string& key);
    // {"value": English text, "translations": [{"value", "language"}, ...]}, applied later on the
    // update queue.
    void updateWithDictionary(const Value& dictionary);
    // The store file's path; empty when Application Support cannot be made.
    static std::string storeURL();

    // Each created once, on first use; the contexts are null when the store cannot be opened.
    std::shared_ptr<NSManagedObjectModel> managedObjectModel();
    std::shared_ptr<NSPersistentStoreCoordinator> persistentStoreCoordinator();
    std::shared_ptr<NSManagedObjectContext> managedObjectContext();
    std::shared_ptr<NSManagedObjectContext> updateManagedObjectContext();
    const dispatch_queue_t& translationUpdateQueue() const { return translationUpdateQueue_; }

    // Tests: waits for queued updates and their merges, stops observing, closes the store and
    // forgets the shared manager.
    static void resetSharedManagerForTesting();

private:
    void init();
    std::string storedTranslation(const std::string& key, const std::string& language);

    dispatch_queue_t translationUpdateQueue_;
    std::once_flag modelOnce_, coordinatorOnce_, contextOnce_, updateContextOnce_;
    std::shared_ptr<NSManagedObjectModel> model_;
    std::shared_ptr<NSPersistentStoreCoordinator> coordinator_;  // null when the store cannot be opened
    std::shared_ptr<NSManagedObjectContext> context_;
    std::shared_ptr<NSManagedObjectContext> updateContext_;
    std::shared_ptr<NSObject> saveObserver_;
};
