#pragma once
// A scratch pad of stored objects, bound to one queue: the main queue, or a private serial queue
// of its own. Its objects and its methods are used only on that queue (performBlock and
// performBlockAndWait get there); debug builds stop with a message naming the context when they
// are used elsewhere. It holds one object per stored row.
//
// Fetches see the context's unsaved changes: inserted objects that match, changed values, and
// not the deleted objects; registered objects are answered as themselves. A save writes every
// change in one transaction (delete rules applied first, values checked against their types) and
// then posts NSManagedObjectContextDidSaveNotification on the context's queue with the IDs of the
// inserted, updated and deleted objects. A failed save writes nothing and keeps the changes.
//
// Merge policies decide what a save writes when another save changed the same property since
// this context read it: object trump keeps this context's value, store trump takes the store's
// (the object takes it too); the error policy fails the save. Saves write only changed
// properties, so saves of different properties never undo each other.

#include "CoreData/NSFetchRequest.h"
#include "CoreData/NSManagedObject.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "Dispatch/DispatchQueue.h"
#include "Foundation/NSError.h"
#include "Foundation/NSNotification.h"
#include "Foundation/NSObject.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class NSManagedObjectContextConcurrencyType { PrivateQueue, MainQueue };
inline constexpr auto NSPrivateQueueConcurrencyType = NSManagedObjectContextConcurrencyType::PrivateQueue;
inline constexpr auto NSMainQueueConcurrencyType = NSManagedObjectContextConcurrencyType::MainQueue;

enum class NSMergePolicyType { Error, MergeByPropertyStoreTrump, MergeByPropertyObjectTrump };
inline constexpr auto NSErrorMergePolicy = NSMergePolicyType::Error;
inline constexpr auto NSMergeByPropertyStoreTrumpMergePolicy = NSMergePolicyType::MergeByPropertyStoreTrump;
inline constexpr auto NSMergeByPropertyObjectTrumpMergePolicy = NSMergePolicyType::MergeByPropertyObjectTrump;

inline constexpr const char* NSManagedObjectContextDidSaveNotification = "NSManagingContextDidSaveChangesNotification";
// Posted on the context's queue, object the context, after a merge changed what it holds.
inline constexpr const char* NSManagedObjectContextObjectsDidChangeNotification =
    "NSObjectsChangedInManagingContextNotification";
inline constexpr const char* NSInsertedObjectsKey = "inserted";
inline constexpr const char* NSUpdatedObjectsKey = "updated";
inline constexpr const char* NSDeletedObjectsKey = "deleted";

class NSManagedObjectContext : public NSObject {
public:
    using NSObject::NSObject;
    using Objects = std::vector<std::shared_ptr<NSManagedObject>>;

    static std::shared_ptr<NSManagedObjectContext> context(NSManagedObjectContextConcurrencyType type);

    NSManagedObjectContextConcurrencyType concurrencyType() const { return type_; }
    const std::shared_ptr<NSPersistentStoreCoordinator>& persistentStoreCoordinator() const { return coordinator_; }
    void setPersistentStoreCoordinator(std::shared_ptr<NSPersistentStoreCoordinator> coordinator);
    NSMergePolicyType mergePolicy() const { return mergePolicy_; }
    void setMergePolicy(NSMergePolicyType policy) { mergePolicy_ = policy; }
    // Named in messages.
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    void performBlock(std::function<void()> block);
    void performBlockAndWait(const std::function<void()>& block);

    std::shared_ptr<NSManagedObject> insertNewObjectForEntityForName(const std::string& entityName);
    // The delete rules act at the next save.
    void deleteObject(const std::shared_ptr<NSManagedObject>& object);
    bool hasChanges() const;
    Objects insertedObjects() const;
    Objects updatedObjects() const;
    Objects deletedObjects() const;
    Objects registeredObjects() const;

    bool save(std::shared_ptr<NSError>* error);
    std::optional<Objects> executeFetchRequest(const NSFetchRequest& request, std::shared_ptr<NSError>* error);
    // The registered object, or the stored row read now; null when the row does not exist.
    std::shared_ptr<NSManagedObject> objectWithID(const std::shared_ptr<NSManagedObjectID>& objectID);
    std::shared_ptr<NSManagedObject> existingObjectWithID(const std::shared_ptr<NSManagedObjectID>& objectID,
                                                          std::shared_ptr<NSError>* error);
    // Reads the object's row again; mergeChanges keeps its unsaved changes, else they are dropped.
    void refreshObject(const std::shared_ptr<NSManagedObject>& object, bool mergeChanges);
    // Forgets every object and change.
    void reset();
    // On this context's queue: objects named as updated read their row again and take the stored
    // value of every property they have not changed; those named as deleted leave the context.
    // Then NSManagedObjectContextObjectsDidChangeNotification is posted with the notification's
    // userInfo.
    void mergeChangesFromContextDidSaveNotification(const std::shared_ptr<NSNotification>& notification);

    // Stops the process with a message (debug builds) unless called on the context's queue.
    void assertOnQueue(const char* what) const;

private:
    friend class NSManagedObject;

    bool initWithConcurrencyType(NSManagedObjectContextConcurrencyType type);
    bool isOnQueue() const;
    std::string storeIdentifier() const;
    std::shared_ptr<NSManagedObject> makeObject(const std::shared_ptr<NSEntityDescription>& entity);
    // The registered object of a stored row, registering it when new.
    std::shared_ptr<NSManagedObject> materialise(const struct StoredRow& row);
    std::map<std::string, Value> valuesOfRow(const struct StoredRow& row) const;
    // The live destinations of a to-many relationship: stored links not changed here, plus links
    // made in this context.
    Objects relatedObjects(NSManagedObject& source, const NSRelationshipDescription& relationship);
    void applyDeleteRules();
    void takeStoredValues(NSManagedObject& object, const std::map<std::string, Value>& stored, bool keepChanges);
    void forget(const std::shared_ptr<NSManagedObject>& object);
    // Keeps `object` among those that may have changes.
    void noteChanged(NSManagedObject& object);
    // Those objects (each to be checked: some may have none left), in the order of their ID keys,
    // as a walk of every registered object would meet them.
    Objects possiblyChanged() const;

    NSManagedObjectContextConcurrencyType type_ = NSMainQueueConcurrencyType;
    std::shared_ptr<DispatchQueue> queue_;
    std::shared_ptr<NSPersistentStoreCoordinator> coordinator_;
    NSMergePolicyType mergePolicy_ = NSErrorMergePolicy;
    std::string name_;
    std::map<std::string, std::shared_ptr<NSManagedObject>> registered_;  // by ID key
    Objects insertedOrder_;
    // Every registered object inserted, deleted or changed since its last save, and maybe some no
    // longer: saves, fetches and relationship reads visit these rather than every registered one.
    std::map<const NSManagedObject*, std::shared_ptr<NSManagedObject>> changed_;
};
