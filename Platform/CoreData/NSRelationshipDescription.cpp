#include "CoreData/NSRelationshipDescription.h"

#include "CoreData/NSEntityDescription.h"
#include "CoreData/NSManagedObjectModel.h"

std::shared_ptr<NSRelationshipDescription> NSRelationshipDescription::relationship(std::string name,
                                                                                   std::string destinationEntityName,
                                                                                   bool toMany, std::string inverseName,
                                                                                   NSDeleteRule deleteRule)
{
    return NSObject::create<NSRelationshipDescription>([&](NSRelationshipDescription& r) {
        r.name_ = std::move(name);
        r.destinationName_ = std::move(destinationEntityName);
        r.toMany_ = toMany;
        r.inverseName_ = std::move(inverseName);
        r.deleteRule_ = deleteRule;
    });
}

std::shared_ptr<NSEntityDescription> NSRelationshipDescription::destinationEntity() const
{
    auto source = entity();
    auto model = source ? source->managedObjectModel() : nullptr;
    return model ? model->entityNamed(destinationName_) : nullptr;
}

std::shared_ptr<NSRelationshipDescription> NSRelationshipDescription::inverseRelationship() const
{
    auto destination = destinationEntity();
    return destination && !inverseName_.empty() ? destination->relationshipNamed(inverseName_) : nullptr;
}
