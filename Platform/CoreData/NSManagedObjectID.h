#pragma once
// Names one stored object: its entity and its row in the store. IDs of one row are equal across
// the contexts and coordinators of one store file (the store's identifier is kept in the file).
// An object not yet saved has a temporary ID, equal only to itself.

#include "CoreData/NSEntityDescription.h"
#include "Foundation/NSObject.h"

#include <cstdint>
#include <memory>
#include <string>

class NSManagedObjectID : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSManagedObjectID> permanent(std::shared_ptr<NSEntityDescription> entity,
                                                        std::string storeIdentifier, std::int64_t row);
    static std::shared_ptr<NSManagedObjectID> temporary(std::shared_ptr<NSEntityDescription> entity);

    const std::shared_ptr<NSEntityDescription>& entity() const { return entity_; }
    bool isTemporaryID() const { return row_ == 0; }
    std::int64_t row() const { return row_; }
    const std::string& storeIdentifier() const { return storeIdentifier_; }
    // "x-coredata://STORE/Entity/pROW" ("x-coredata:///Entity/tN" while temporary).
    std::string URIRepresentation() const;
    // Equal for equal IDs: the registry key of contexts.
    std::string key() const;

    bool isEqual(const NSObject& other) const override;
    std::size_t hash() const override { return std::hash<std::string>()(key()); }
    std::string description() const override { return URIRepresentation(); }

private:
    std::shared_ptr<NSEntityDescription> entity_;
    std::string storeIdentifier_;
    std::int64_t row_ = 0;
    std::uint64_t temporaryNumber_ = 0;
};
