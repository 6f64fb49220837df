#pragma once
// The entities of a store, built in code. Entities find their parents, destinations and
// inverses here by name.

#include "CoreData/NSEntityDescription.h"
#include "Foundation/NSObject.h"

#include <memory>
#include <string>
#include <vector>

class NSManagedObjectModel : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSManagedObjectModel> model() { return NSObject::create<NSManagedObjectModel>(); }

    void addEntity(const std::shared_ptr<NSEntityDescription>& entity);
    const std::vector<std::shared_ptr<NSEntityDescription>>& entities() const { return entities_; }
    std::shared_ptr<NSEntityDescription> entityNamed(const std::string& name) const;

private:
    std::vector<std::shared_ptr<NSEntityDescription>> entities_;
};
