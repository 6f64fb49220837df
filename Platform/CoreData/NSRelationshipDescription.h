#pragma once
// A link from one entity to another. A to-many relationship has a to-one inverse on its
// destination (the store keeps the link there); a to-one may have a to-one inverse, or none.
// The delete rule acts on the destination when the source is deleted.

#include "CoreData/NSPropertyDescription.h"

#include <memory>
#include <string>

enum class NSDeleteRule { Nullify, Cascade };
inline constexpr NSDeleteRule NSNullifyDeleteRule = NSDeleteRule::Nullify;
inline constexpr NSDeleteRule NSCascadeDeleteRule = NSDeleteRule::Cascade;

class NSRelationshipDescription : public NSPropertyDescription {
public:
    using NSPropertyDescription::NSPropertyDescription;
    // The destination and the inverse are named: they are found in the entity's model.
    static std::shared_ptr<NSRelationshipDescription> relationship(std::string name, std::string destinationEntityName,
                                                                   bool toMany, std::string inverseName = {},
                                                                   NSDeleteRule deleteRule = NSNullifyDeleteRule);

    bool isToMany() const { return toMany_; }
    NSDeleteRule deleteRule() const { return deleteRule_; }
    const std::string& destinationEntityName() const { return destinationName_; }
    const std::string& inverseName() const { return inverseName_; }
    std::shared_ptr<NSEntityDescription> destinationEntity() const;
    std::shared_ptr<NSRelationshipDescription> inverseRelationship() const;

private:
    bool toMany_ = false;
    NSDeleteRule deleteRule_ = NSNullifyDeleteRule;
    std::string destinationName_;
    std::string inverseName_;
};
