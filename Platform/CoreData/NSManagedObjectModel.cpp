#include "CoreData/NSManagedObjectModel.h"

void NSManagedObjectModel::addEntity(const std::shared_ptr<NSEntityDescription>& entity)
{
    entity->model_ = weakSelf<NSManagedObjectModel>();
    entities_.push_back(entity);
}

std::shared_ptr<NSEntityDescription> NSManagedObjectModel::entityNamed(const std::string& name) const
{
    for (const auto& e : entities_)
        if (e->name() == name) return e;
    return nullptr;
}
