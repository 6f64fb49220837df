#include "TesselSDK/remote/QZContentStoreShippedPacks.h"

#include <unistd.h>

#include <map>
#include <set>

#include "CoreData/NSAttributeDescription.h"
#include "CoreData/NSEntityDescription.h"
#include "CoreData/NSFetchRequest.h"
#include "CoreData/NSManagedObject.h"
#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSPersistentStore.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "Foundation/NSError.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSUserDefaults.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDK/remote/QZContentPacksDataModel.h"

namespace {

constexpr const char* kMethod = "-[QZTesselContentManager addShippedPacksMissingFromStore]";

// One record as read: its entity and attribute values.
struct RecordCopy {
    std::string entityName;
    std::map<std::string, Value> attributes;
};
struct PackCopy {
    RecordCopy pack;
    std::vector<RecordCopy> items;
};

RecordCopy copyOf(NSManagedObject& object)
{
    RecordCopy copy{object.entity()->name(), {}};
    for (const auto& [name, attribute] : object.entity()->attributesByName()) {
        Value value = object.valueForKey(name);
        if (!value.isNil()) copy.attributes[name] = value;
    }
    return copy;
}

NSManagedObjectContext::Objects fetchPacks(NSManagedObjectContext& context)
{
    auto request = NSFetchRequest::fetchRequestWithEntityName("Pack");
    std::shared_ptr<NSError> error;
    return context.executeFetchRequest(*request, &error).value_or(NSManagedObjectContext::Objects());
}

std::set<std::string> withdrawnByService()
{
    std::set<std::string> identifiers;
    const Value stored = NSUserDefaults::standardUserDefaults()->objectForKey(kQZContentPacksWithdrawnByServiceKey);
    if (const Value::Array* all = stored.asArray())
        for (const Value& identifier : *all)
            if (identifier.isString()) identifiers.insert(identifier.stringValue());
    return identifiers;
}

// The prebuilt store's packs with their items, read from a copy of the file.
std::optional<std::vector<PackCopy>> readShippedPacks(const std::string& prebuiltPath)
{
    auto fileManager = NSFileManager::defaultManager();
    const std::string copy = QZFileSystemUtils::temporaryDirectory() + "/TesselContentPackCompiledDatabase." +
                             std::to_string(::getpid()) + ".sqlite";
    fileManager->removeItemAtPath(copy);
    std::shared_ptr<NSError> error;
    if (!fileManager->copyItemAtPath(prebuiltPath, copy, &error)) {
        NSLog("%s %@", kMethod,
              NSStringWithFormat("The prebuilt store could not be read: %@",
                                 error ? error->localizedDescription() : std::string()));
        return std::nullopt;
    }
    std::optional<std::vector<PackCopy>> packs;
    {
        auto coordinator = NSPersistentStoreCoordinator::coordinator(QZContentPacksDataModel());
        const Value options =
            Value::dictionary({{NSSQLitePragmasOption, Value::dictionary({{"journal_mode", "DELETE"}})}});
        if (coordinator->addPersistentStoreWithType(NSSQLiteStoreType, copy, options, &error)) {
            auto context = NSManagedObjectContext::context(NSPrivateQueueConcurrencyType);
            context->setPersistentStoreCoordinator(coordinator);
            context->performBlockAndWait([&] {
                packs.emplace();
                for (const auto& pack : fetchPacks(*context)) {
                    PackCopy shipped{copyOf(*pack), {}};
                    for (const auto& item : pack->mutableSetValueForKey("items").allObjects())
                        shipped.items.push_back(copyOf(*item));
                    packs->push_back(std::move(shipped));
                }
            });
        } else {
            NSLog("%s %@", kMethod,
                  NSStringWithFormat("The prebuilt store does not open: %@",
                                     error ? error->localizedDescription() : std::string()));
        }
    }
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fileManager->removeItemAtPath(copy + suffix);
    return packs;
}

std::shared_ptr<NSManagedObject> insert(NSManagedObjectContext& context, const RecordCopy& record)
{
    auto object = context.insertNewObjectForEntityForName(record.entityName);
    if (object)
        for (const auto& [name, value] : record.attributes) object->setValueForKey(value, name);
    return object;
}

}  // namespace

std::vector<std::string> QZAddShippedPacksMissingFromStore(const std::shared_ptr<NSPersistentStoreCoordinator>& coordinator,
                                                           const std::string& prebuiltPath)
{
    std::optional<std::vector<PackCopy>> shipped = readShippedPacks(prebuiltPath);
    if (!shipped || shipped->empty()) return {};
    const std::set<std::string> withdrawn = withdrawnByService();
    std::vector<std::string> added;
    auto context = NSManagedObjectContext::context(NSPrivateQueueConcurrencyType);
    context->setPersistentStoreCoordinator(coordinator);
    context->performBlockAndWait([&] {
        std::set<std::string> held;
        for (const auto& pack : fetchPacks(*context)) held.insert(pack->valueForKey("identifier").stringValue());
        for (const PackCopy& copy : *shipped) {
            auto identifier = copy.pack.attributes.find("identifier");
            if (identifier == copy.pack.attributes.end()) continue;
            const std::string name = identifier->second.stringValue();
            if (name.empty() || held.count(name) || withdrawn.count(name)) continue;
            auto pack = insert(*context, copy.pack);
            if (!pack) continue;
            for (const RecordCopy& item : copy.items)
                if (auto made = insert(*context, item)) pack->mutableSetValueForKey("items").addObject(made);
            held.insert(name);
            added.push_back(name);
        }
        if (!context->hasChanges()) return;
        std::shared_ptr<NSError> error;
        if (!context->save(&error)) {
            NSLog("%s %@", kMethod,
                  NSStringWithFormat("The shipped packs could not be added: %@",
                                     error ? error->localizedDescription() : std::string()));
            added.clear();
        }
    });
    if (!added.empty()) {
        std::string names;
        for (const std::string& name : added) names += (names.empty() ? "" : ", ") + name;
        NSLog("%s %@", kMethod, NSStringWithFormat("The store lacked shipped packs; added from the prebuilt store: %@", names));
    }
    return added;
}

void QZRememberContentPacksWithdrawnByService(const std::vector<std::string>& identifiers)
{
    if (identifiers.empty()) return;
    std::set<std::string> all = withdrawnByService();
    all.insert(identifiers.begin(), identifiers.end());
    Value::Array stored;
    for (const std::string& identifier : all) stored.push_back(Value(identifier));
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(Value(std::move(stored)), kQZContentPacksWithdrawnByServiceKey);
    defaults->synchronize();
}
