// Bringing a private context's save into another context. Saves through the same coordinator are
// merged directly. A save through the second coordinator first has the target read the updated
// rows of the given record classes afresh, so objects it had loaded before take the new values.

#include <map>
#include <set>

#include "CoreData/NSFetchRequest.h"
#include "CoreData/NSPredicate.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

void QZTesselContentManager::mergeFromNotification(const std::shared_ptr<NSNotification>& notification,
                                                   const std::shared_ptr<NSManagedObjectContext>& context,
                                                   const std::vector<std::shared_ptr<const NSClass>>& classArray)
{
    if (!notification || !context) return;
    auto saving = std::dynamic_pointer_cast<NSManagedObjectContext>(notification->object());
    if (saving && saving->persistentStoreCoordinator() == context->persistentStoreCoordinator()) {
        context->performBlockAndWait([&] { context->mergeChangesFromContextDidSaveNotification(notification); });
        return;
    }

    std::map<std::string, std::set<std::string>> urisByEntity;
    for (const auto& recordClass : classArray)
        if (auto classObject = recordClass ? QZManagedObjectClass::classObjectOf(*recordClass) : nullptr)
            urisByEntity[classObject->entityName()];
    // The notification carries object IDs, which any thread may read: no need to visit the
    // saving context's queue for them.
    const Value updatedIDs = notification->userInfo()[NSUpdatedObjectsKey];
    if (const auto* updated = updatedIDs.asArray())
        for (const auto& value : *updated)
            if (auto objectID = value.template object<NSManagedObjectID>()) {
                auto found = urisByEntity.find(objectID->entity()->name());
                if (found != urisByEntity.end()) found->second.insert(objectID->URIRepresentation());
            }

    context->performBlockAndWait([&] {
        const auto& coordinator = context->persistentStoreCoordinator();
        for (const auto& [entityName, uris] : urisByEntity) {
            if (uris.empty() || !coordinator) continue;
            std::vector<std::shared_ptr<NSManagedObjectID>> objectIDs;
            for (const auto& uri : uris)
                if (auto objectID = coordinator->managedObjectIDForURIRepresentation(uri))
                    objectIDs.push_back(objectID);
            if (objectIDs.empty()) continue;
            auto request = NSFetchRequest::fetchRequestWithEntityName(entityName);
            request->setPredicate(NSPredicate::selfIn(std::move(objectIDs)));
            std::shared_ptr<NSError> error;
            context->executeFetchRequest(*request, &error);
        }
        context->mergeChangesFromContextDidSaveNotification(notification);
    });
}
