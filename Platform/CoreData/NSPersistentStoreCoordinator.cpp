#include "CoreData/NSPersistentStoreCoordinator.h"

#include "CoreData/CoreDataErrors.h"
#include "CoreData/SQLiteStore.h"

#include <cstdio>
#include <filesystem>

NSPersistentStoreCoordinator::~NSPersistentStoreCoordinator() = default;

std::shared_ptr<NSPersistentStoreCoordinator>
NSPersistentStoreCoordinator::coordinator(std::shared_ptr<NSManagedObjectModel> model)
{
    return NSObject::create<NSPersistentStoreCoordinator>(
        [&](NSPersistentStoreCoordinator& c) { c.model_ = std::move(model); });
}

std::shared_ptr<NSPersistentStore>
NSPersistentStoreCoordinator::addPersistentStoreWithType(const std::string& type, const std::string& path,
                                                         const Value& options, std::shared_ptr<NSError>* error)
{
    std::lock_guard lock(mutex_);
    if (store_) {
        NSError::assign(error, NSCoreDataError(NSPersistentStoreInvalidTypeError, "the coordinator has a store"));
        return nullptr;
    }
    std::string file;
    if (type == NSSQLiteStoreType) {
        file = path;
    } else if (type == NSInMemoryStoreType) {
        file = ":memory:";
    } else {
        NSError::assign(error, NSCoreDataError(NSPersistentStoreInvalidTypeError, "unknown store type " + type));
        return nullptr;
    }
    store_ = SQLiteStore::open(file, model_, options, error);
    if (!store_) return nullptr;
    persistentStore_ = NSPersistentStore::make(type, path, store_->identifier());
    return persistentStore_;
}

std::shared_ptr<NSPersistentStore> NSPersistentStoreCoordinator::persistentStore() const
{
    std::lock_guard lock(mutex_);
    return persistentStore_;
}

bool NSPersistentStoreCoordinator::destroyPersistentStoreAtURL(const std::string& path, std::shared_ptr<NSError>* error)
{
    std::lock_guard lock(mutex_);
    if (store_ && store_->path() == path) {
        store_.reset();
        persistentStore_.reset();
    }
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::error_code failure;
        std::filesystem::remove(path + suffix, failure);
        if (failure) {
            NSError::assign(error,
                            NSError::errorWithDescription(NSCocoaErrorDomain, 512,
                                                          "cannot remove " + path + suffix + ": " + failure.message()));
            return false;
        }
    }
    return true;
}

std::shared_ptr<NSManagedObjectID>
NSPersistentStoreCoordinator::managedObjectIDForURIRepresentation(const std::string& uri) const
{
    const std::string scheme = "x-coredata://";
    std::string identifier;
    {
        std::lock_guard lock(mutex_);
        if (!store_) return nullptr;
        identifier = store_->identifier();
    }
    if (!uri.starts_with(scheme + identifier + "/")) return nullptr;
    std::string rest = uri.substr(scheme.size() + identifier.size() + 1);
    auto slash = rest.find('/');
    if (slash == std::string::npos || slash + 2 > rest.size() || rest[slash + 1] != 'p') return nullptr;
    auto entity = model_->entityNamed(rest.substr(0, slash));
    std::string digits = rest.substr(slash + 2);
    if (!entity || digits.empty() || digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos)
        return nullptr;
    std::int64_t row = std::stoll(digits);
    return row > 0 ? NSManagedObjectID::permanent(entity, identifier, row) : nullptr;
}

void NSPersistentStoreCoordinator::setMaximumPageCountForTesting(int pages)
{
    withStore([&](SQLiteStore& store) { store.setMaximumPageCount(pages); });
}

bool NSPersistentStoreCoordinator::withStore(const std::function<void(SQLiteStore&)>& work) const
{
    std::lock_guard lock(mutex_);
    if (!store_) return false;
    work(*store_);
    return true;
}
