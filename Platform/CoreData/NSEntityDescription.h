#pragma once
// One kind of stored object: its name, the class its objects are made of (looked up by name in
// the class registry; plain NSManagedObject when absent), a parent entity whose properties it
// inherits, and its own attributes and relationships. Entities live in one model.

#include "CoreData/NSAttributeDescription.h"
#include "CoreData/NSRelationshipDescription.h"
#include "Foundation/NSObject.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class NSManagedObjectModel;

class NSEntityDescription : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSEntityDescription> entity(std::string name, std::string managedObjectClassName = {},
                                                       std::string parentEntityName = {});

    const std::string& name() const { return name_; }
    const std::string& managedObjectClassName() const { return className_; }
    std::shared_ptr<NSEntityDescription> superentity() const;
    std::vector<std::shared_ptr<NSEntityDescription>> subentities() const;
    // The topmost ancestor (itself when it has no parent): a hierarchy shares one table.
    std::shared_ptr<const NSEntityDescription> rootEntity() const;
    // This entity or one of its ancestors is `other`.
    bool isKindOfEntity(const NSEntityDescription& other) const;
    std::shared_ptr<NSManagedObjectModel> managedObjectModel() const { return model_.lock(); }

    void addProperty(std::shared_ptr<NSPropertyDescription> property);

    // Inherited properties included.
    std::map<std::string, std::shared_ptr<NSPropertyDescription>> propertiesByName() const;
    std::map<std::string, std::shared_ptr<NSAttributeDescription>> attributesByName() const;
    std::map<std::string, std::shared_ptr<NSRelationshipDescription>> relationshipsByName() const;
    std::shared_ptr<NSAttributeDescription> attributeNamed(const std::string& name) const;
    std::shared_ptr<NSRelationshipDescription> relationshipNamed(const std::string& name) const;
    // Declared here, not inherited.
    const std::vector<std::shared_ptr<NSPropertyDescription>>& ownProperties() const { return properties_; }

private:
    friend class NSManagedObjectModel;
    std::string name_;
    std::string className_;
    std::string parentName_;
    std::vector<std::shared_ptr<NSPropertyDescription>> properties_;
    std::weak_ptr<NSManagedObjectModel> model_;
};
