#include "TesselSDK/remote/QZManagedObjectClass.h"

#include "CoreData/NSFetchRequest.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "TesselSDK/remote/QZManagedObject.h"

namespace {

QZManagedObjectClass::Records recordsOf(const NSManagedObjectContext::Objects& objects)
{
    QZManagedObjectClass::Records records;
    records.reserve(objects.size());
    for (const auto& object : objects)
        if (auto record = std::dynamic_pointer_cast<QZManagedObject>(object)) records.push_back(std::move(record));
    return records;
}

}  // namespace

std::shared_ptr<const QZManagedObjectClass> QZManagedObjectClass::classObjectOf(const NSClass& recordClass)
{
    if (!recordClass.isSubclassOfClass<QZManagedObject>()) return nullptr;
    return recordClass.performSelector(kQZRecordClassSelector).object<QZManagedObjectClass>();
}

std::shared_ptr<const QZManagedObjectClass> QZManagedObjectClass::classNamed(std::string_view name)
{
    std::shared_ptr<const NSClass> recordClass = NSClassFromString(name);
    return recordClass ? classObjectOf(*recordClass) : nullptr;
}

std::shared_ptr<const NSClass>
QZManagedObjectClass::targetClassForRelationship(const NSRelationshipDescription& relationship) const
{
    std::shared_ptr<NSEntityDescription> destination = relationship.destinationEntity();
    if (!destination || destination->managedObjectClassName().empty()) return nullptr;
    return NSClassFromString(destination->managedObjectClassName());
}

std::shared_ptr<NSEntityDescription>
QZManagedObjectClass::entityInManagedObjectContext(NSManagedObjectContext& context) const
{
    const std::string name = entityName();
    const auto& coordinator = context.persistentStoreCoordinator();
    std::shared_ptr<NSEntityDescription> entity =
        coordinator ? coordinator->managedObjectModel()->entityNamed(name) : nullptr;
    if (!entity)
        NSLog("%s %@", "+[QZManagedObject entityInManagedObjectContext:]",
              NSStringWithFormat("Expected non-nil entity (entity name: %@)", name));
    return entity;
}

std::optional<QZManagedObjectClass::Records>
QZManagedObjectClass::fetchAllMatching(const std::shared_ptr<NSPredicate>& predicate,
                                       NSManagedObjectContext& context) const
{
    const char* method = "+[QZManagedObject fetchAllMatching:inManagedObjectContext:]";
    std::shared_ptr<NSEntityDescription> entity = entityInManagedObjectContext(context);
    auto request = NSFetchRequest::fetchRequestWithEntityName(entity ? entity->name() : entityName());
    request->setPredicate(predicate);
    std::shared_ptr<NSError> error;
    std::optional<NSManagedObjectContext::Objects> objects =
        entity ? context.executeFetchRequest(*request, &error) : std::nullopt;
    if (!objects) {
        NSLog("%s %@", method,
              NSStringWithFormat("Error fetching objects: %@", error ? error->description() : "no entity"));
        return std::nullopt;
    }
    return recordsOf(*objects);
}

std::optional<QZManagedObjectClass::Records>
QZManagedObjectClass::fetchAllInManagedObjectContext(NSManagedObjectContext& context) const
{
    return fetchAllMatching(nullptr, context);
}

std::shared_ptr<QZManagedObject> QZManagedObjectClass::findObjectWithValue(const Value& value,
                                                                           const std::string& attributeName,
                                                                           NSManagedObjectContext& context) const
{
    const char* method = "+[QZManagedObject findObjectWithValue:forAttributeNamed:inManagedObjectContext:]";
    std::shared_ptr<NSEntityDescription> entity = entityInManagedObjectContext(context);
    if (!entity) {
        NSLog("%s %@", method, "Expected non-nil entity description.");
        return nullptr;
    }
    auto request = NSFetchRequest::fetchRequestWithEntityName(entity->name());
    // A nil value matches a record whose attribute is empty.
    request->setPredicate(NSPredicate::equal(attributeName, value));
    request->setFetchLimit(1);
    std::shared_ptr<NSError> error;
    std::optional<NSManagedObjectContext::Objects> objects = context.executeFetchRequest(*request, &error);
    if (!objects) {
        NSLog("%s %@", method, NSStringWithFormat("Error fetching objects: %@", error ? error->description() : ""));
        return nullptr;
    }
    Records records = recordsOf(*objects);
    return records.empty() ? nullptr : records.front();
}

std::shared_ptr<QZManagedObject> QZManagedObjectClass::findObjectWithIdentifier(const Value& value,
                                                                                NSManagedObjectContext& context) const
{
    std::optional<std::string> key = uniqueKeyAttribute();
    return key ? findObjectWithValue(value, *key, context) : nullptr;
}

std::shared_ptr<QZManagedObject>
QZManagedObjectClass::createInManagedObjectContext(NSManagedObjectContext& context) const
{
    std::shared_ptr<NSEntityDescription> entity = entityInManagedObjectContext(context);
    if (!entity) return nullptr;
    std::shared_ptr<NSManagedObject> object = context.insertNewObjectForEntityForName(entity->name());
    auto record = std::dynamic_pointer_cast<QZManagedObject>(object);
    if (object && !record) {
        // The model names a class that is no record class: nothing half-made stays behind.
        NSLog("%s %@", "+[QZManagedObject createInManagedObjectContext:]", "Expected subclass of QZManagedObject");
        context.deleteObject(object);
    }
    return record;
}

std::shared_ptr<QZManagedObject>
QZManagedObjectClass::updateOrCreateWithDictionary(const Value& dictionary, NSManagedObjectContext& context) const
{
    return findOrCreateWithDictionary(dictionary, context);
}

std::shared_ptr<QZManagedObject> QZManagedObjectClass::findOrCreateWithDictionary(const Value& dictionary,
                                                                                  NSManagedObjectContext& context) const
{
    std::shared_ptr<QZManagedObject> record;
    if (std::optional<std::string> key = uniqueKeyAttribute()) {
        Value keyValue = dictionary[*key];
        if (keyValue.isNull()) keyValue = Value();  // a JSON null reads as a missing key
        record = findObjectWithIdentifier(keyValue, context);
    }
    if (!record) record = createInManagedObjectContext(context);
    if (record) record->updateWithDictionary(dictionary);
    return record;
}
