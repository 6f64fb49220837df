#pragma once
// Connects contexts to one store file through a connection of its own. Two coordinators may open
// one file: each has its connection, and a save waits (busy timeout) while the other writes.
// Contexts on several queues share a coordinator; it serialises their use of the connection.

#include "CoreData/NSManagedObjectModel.h"
#include "CoreData/NSManagedObjectID.h"
#include "CoreData/NSPersistentStore.h"
#include "Foundation/NSError.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>

class SQLiteStore;

class NSPersistentStoreCoordinator : public NSObject {
public:
    using NSObject::NSObject;
    ~NSPersistentStoreCoordinator() override;
    static std::shared_ptr<NSPersistentStoreCoordinator> coordinator(std::shared_ptr<NSManagedObjectModel> model);

    const std::shared_ptr<NSManagedObjectModel>& managedObjectModel() const { return model_; }

    // One store per coordinator: SQLite at `path`, or in memory (path ignored). Options (keys in
    // NSPersistentStore.h): migrate and infer automatically (both YES: new entities and
    // attributes become tables and columns; any other difference fails), SQLite pragmas (the
    // journal is WAL unless a pragma says otherwise).
    std::shared_ptr<NSPersistentStore> addPersistentStoreWithType(const std::string& type, const std::string& path,
                                                                  const Value& options,
                                                                  std::shared_ptr<NSError>* error);
    std::shared_ptr<NSPersistentStore> persistentStore() const;
    // Removes the store file with its "-wal", "-shm" and "-journal" companions (after closing this
    // coordinator's store when it is that file).
    bool destroyPersistentStoreAtURL(const std::string& path, std::shared_ptr<NSError>* error);
    // The ID a URI names in this coordinator's store; null for URIs of other stores or entities.
    std::shared_ptr<NSManagedObjectID> managedObjectIDForURIRepresentation(const std::string& uri) const;

    // Tests: limits the store file to this many pages, so that a save meets a full disk.
    void setMaximumPageCountForTesting(int pages);

    // Contexts: runs `work` with the store, one caller at a time; false when no store was added.
    bool withStore(const std::function<void(SQLiteStore&)>& work) const;

private:
    std::shared_ptr<NSManagedObjectModel> model_;
    mutable std::mutex mutex_;
    std::unique_ptr<SQLiteStore> store_;
    std::shared_ptr<NSPersistentStore> persistentStore_;
};
