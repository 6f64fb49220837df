#pragma once
// What a fetch asks for: the objects of an entity (and its sub-entities unless told otherwise)
// that match a predicate, sorted, at most fetchLimit of them (0: all).

#include "CoreData/NSPredicate.h"
#include "CoreData/NSSortDescriptor.h"
#include "Foundation/NSObject.h"

#include <memory>
#include <string>
#include <vector>

class NSFetchRequest : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSFetchRequest> fetchRequestWithEntityName(std::string entityName)
    {
        return NSObject::create<NSFetchRequest>([&](NSFetchRequest& r) { r.entityName_ = std::move(entityName); });
    }

    const std::string& entityName() const { return entityName_; }
    const std::shared_ptr<NSPredicate>& predicate() const { return predicate_; }
    void setPredicate(std::shared_ptr<NSPredicate> predicate) { predicate_ = std::move(predicate); }
    const std::vector<std::shared_ptr<NSSortDescriptor>>& sortDescriptors() const { return sortDescriptors_; }
    void setSortDescriptors(std::vector<std::shared_ptr<NSSortDescriptor>> descriptors)
    {
        sortDescriptors_ = std::move(descriptors);
    }
    std::size_t fetchLimit() const { return fetchLimit_; }
    void setFetchLimit(std::size_t limit) { fetchLimit_ = limit; }
    bool includesSubentities() const { return includesSubentities_; }
    void setIncludesSubentities(bool includes) { includesSubentities_ = includes; }

private:
    std::string entityName_;
    std::shared_ptr<NSPredicate> predicate_;
    std::vector<std::shared_ptr<NSSortDescriptor>> sortDescriptors_;
    std::size_t fetchLimit_ = 0;
    bool includesSubentities_ = true;
};
