#include "CoreData/NSEntityDescription.h"

#include "CoreData/NSManagedObjectModel.h"

std::shared_ptr<NSEntityDescription> NSEntityDescription::entity(std::string name, std::string managedObjectClassName,
                                                                 std::string parentEntityName)
{
    return NSObject::create<NSEntityDescription>([&](NSEntityDescription& e) {
        e.name_ = std::move(name);
        e.className_ = std::move(managedObjectClassName);
        e.parentName_ = std::move(parentEntityName);
    });
}

std::shared_ptr<NSEntityDescription> NSEntityDescription::superentity() const
{
    auto model = model_.lock();
    return model && !parentName_.empty() ? model->entityNamed(parentName_) : nullptr;
}

std::vector<std::shared_ptr<NSEntityDescription>> NSEntityDescription::subentities() const
{
    std::vector<std::shared_ptr<NSEntityDescription>> result;
    if (auto model = model_.lock())
        for (const auto& e : model->entities())
            if (e->parentName_ == name_) result.push_back(e);
    return result;
}

std::shared_ptr<const NSEntityDescription> NSEntityDescription::rootEntity() const
{
    auto current = self<const NSEntityDescription>();
    for (auto parent = current->superentity(); parent; parent = parent->superentity()) current = parent;
    return current;
}

bool NSEntityDescription::isKindOfEntity(const NSEntityDescription& other) const
{
    for (auto e = self<const NSEntityDescription>(); e; e = e->superentity())
        if (e.get() == &other) return true;
    return false;
}

void NSEntityDescription::addProperty(std::shared_ptr<NSPropertyDescription> property)
{
    property->entity_ = weakSelf<NSEntityDescription>();
    properties_.push_back(std::move(property));
}

std::map<std::string, std::shared_ptr<NSPropertyDescription>> NSEntityDescription::propertiesByName() const
{
    std::map<std::string, std::shared_ptr<NSPropertyDescription>> result;
    if (auto parent = superentity()) result = parent->propertiesByName();
    for (const auto& p : properties_) result[p->name()] = p;
    return result;
}

std::map<std::string, std::shared_ptr<NSAttributeDescription>> NSEntityDescription::attributesByName() const
{
    std::map<std::string, std::shared_ptr<NSAttributeDescription>> result;
    for (const auto& [name, p] : propertiesByName())
        if (auto a = std::dynamic_pointer_cast<NSAttributeDescription>(p)) result[name] = a;
    return result;
}

std::map<std::string, std::shared_ptr<NSRelationshipDescription>> NSEntityDescription::relationshipsByName() const
{
    std::map<std::string, std::shared_ptr<NSRelationshipDescription>> result;
    for (const auto& [name, p] : propertiesByName())
        if (auto r = std::dynamic_pointer_cast<NSRelationshipDescription>(p)) result[name] = r;
    return result;
}

std::shared_ptr<NSAttributeDescription> NSEntityDescription::attributeNamed(const std::string& name) const
{
    for (auto e = self<const NSEntityDescription>(); e; e = e->superentity())
        for (const auto& p : e->properties_)
            if (p->name() == name) return std::dynamic_pointer_cast<NSAttributeDescription>(p);
    return nullptr;
}

std::shared_ptr<NSRelationshipDescription> NSEntityDescription::relationshipNamed(const std::string& name) const
{
    for (auto e = self<const NSEntityDescription>(); e; e = e->superentity())
        for (const auto& p : e->properties_)
            if (p->name() == name) return std::dynamic_pointer_cast<NSRelationshipDescription>(p);
    return nullptr;
}
