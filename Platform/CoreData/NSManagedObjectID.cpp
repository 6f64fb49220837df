#include "CoreData/NSManagedObjectID.h"

#include <atomic>

std::shared_ptr<NSManagedObjectID> NSManagedObjectID::permanent(std::shared_ptr<NSEntityDescription> entity,
                                                                std::string storeIdentifier, std::int64_t row)
{
    return NSObject::create<NSManagedObjectID>([&](NSManagedObjectID& id) {
        id.entity_ = std::move(entity);
        id.storeIdentifier_ = std::move(storeIdentifier);
        id.row_ = row;
    });
}

std::shared_ptr<NSManagedObjectID> NSManagedObjectID::temporary(std::shared_ptr<NSEntityDescription> entity)
{
    static std::atomic<std::uint64_t> lastNumber{0};
    return NSObject::create<NSManagedObjectID>([&](NSManagedObjectID& id) {
        id.entity_ = std::move(entity);
        id.temporaryNumber_ = ++lastNumber;
    });
}

std::string NSManagedObjectID::URIRepresentation() const
{
    std::string name = entity_ ? entity_->name() : std::string();
    if (isTemporaryID()) return "x-coredata:///" + name + "/t" + std::to_string(temporaryNumber_);
    return "x-coredata://" + storeIdentifier_ + "/" + name + "/p" + std::to_string(row_);
}

std::string NSManagedObjectID::key() const
{
    if (isTemporaryID()) {
        std::string key = "t";
        key += std::to_string(temporaryNumber_);
        return key;
    }
    std::string root = entity_ ? entity_->rootEntity()->name() : std::string();
    return storeIdentifier_ + "/" + root + "/" + std::to_string(row_);
}

bool NSManagedObjectID::isEqual(const NSObject& other) const
{
    auto* id = dynamic_cast<const NSManagedObjectID*>(&other);
    return id && id->key() == key();
}
