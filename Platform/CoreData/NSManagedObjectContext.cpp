#include "CoreData/NSManagedObjectContext.h"

#include "CoreData/CoreDataErrors.h"
#include "CoreData/SQLiteStore.h"
#include "CoreData/ValueComparison.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSClass.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

enum class Check { Ok, WrongType, Missing };

// What a save writes for an attribute's value: `memory` is what the object keeps afterwards,
// `column` what the store gets (they differ only for transformables).
Check storedForm(const NSAttributeDescription& attribute, const Value& value, Value& memory, Value& column)
{
    if (value.isNil()) {
        memory = column = Value();
        return attribute.isOptional() ? Check::Ok : Check::Missing;
    }
    switch (attribute.attributeType()) {
    case NSAttributeType::String:
        if (!value.isString()) return Check::WrongType;
        memory = value;
        break;
    case NSAttributeType::Integer64: {
        if (!value.isNumber()) return Check::WrongType;
        if (value.isReal()) {
            double d = std::trunc(value.doubleValue());
            // Outside the 64-bit range (or NaN) no integer is right.
            if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) return Check::WrongType;
            memory = static_cast<std::int64_t>(d);
        } else {
            memory = value.longLongValue();
        }
        break;
    }
    case NSAttributeType::Double:
        if (!value.isNumber()) return Check::WrongType;
        memory = value.doubleValue();
        break;
    case NSAttributeType::Boolean:
        if (!value.isNumber()) return Check::WrongType;
        memory = value.isReal() ? value.doubleValue() != 0 : value.longLongValue() != 0;
        break;
    case NSAttributeType::Date:
        if (!value.isDate()) return Check::WrongType;
        memory = value;
        break;
    case NSAttributeType::BinaryData:
        if (!value.isData()) return Check::WrongType;
        memory = value;
        break;
    case NSAttributeType::Transformable: {
        if (!value.isObject() || !attribute.valueTransformer()) return Check::WrongType;
        if (!attribute.attributeValueClassName().empty() &&
            value.object()->className() != attribute.attributeValueClassName())
            return Check::WrongType;
        Value data = attribute.valueTransformer()->transformedValue(value);
        if (!data.isData()) return Check::WrongType;
        memory = value;
        column = data;
        return Check::Ok;
    }
    }
    column = memory;
    return Check::Ok;
}

std::shared_ptr<NSError> validationError(Check check, const NSManagedObject& object, const std::string& key,
                                         const Value& value)
{
    std::string entity = object.entity()->name();
    if (check == Check::Missing)
        return NSCoreDataError(NSValidationMissingMandatoryPropertyError,
                               NSStringWithFormat("%@.%@ is required and is nil", entity, key));
    return NSCoreDataError(NSManagedObjectValidationError,
                           NSStringWithFormat("%@.%@ cannot hold the value %@", entity, key,
                                              value.isNull() ? std::string("<null>") : value.description()));
}

bool isToOne(const NSEntityDescription& entity, const std::string& key)
{
    auto relationship = entity.relationshipNamed(key);
    return relationship && !relationship->isToMany();
}

}  // namespace

std::shared_ptr<NSManagedObjectContext> NSManagedObjectContext::context(NSManagedObjectContextConcurrencyType type)
{
    return NSObject::create<NSManagedObjectContext>(&NSManagedObjectContext::initWithConcurrencyType, type);
}

bool NSManagedObjectContext::initWithConcurrencyType(NSManagedObjectContextConcurrencyType type)
{
    type_ = type;
    queue_ = type == NSMainQueueConcurrencyType
                 ? dispatch_get_main_queue()
                 : dispatch_queue_create("NSManagedObjectContext", DISPATCH_QUEUE_SERIAL);
    return true;
}

void NSManagedObjectContext::setPersistentStoreCoordinator(std::shared_ptr<NSPersistentStoreCoordinator> coordinator)
{
    coordinator_ = std::move(coordinator);
}

bool NSManagedObjectContext::isOnQueue() const
{
    return type_ == NSMainQueueConcurrencyType ? DispatchMainQueue::isMainThread() : queue_->isCurrent();
}

void NSManagedObjectContext::assertOnQueue(const char* what) const
{
#ifndef NDEBUG
    if (!isOnQueue()) {
        std::fprintf(stderr, "%s: the managed object context %s is used off its queue\n", what,
                     (name_.empty() ? description() : name_).c_str());
        std::abort();
    }
#else
    (void)what;
#endif
}

void NSManagedObjectContext::performBlock(std::function<void()> block)
{
    dispatch_async(queue_, [self = self<NSManagedObjectContext>(), block = std::move(block)] { block(); });
}

void NSManagedObjectContext::performBlockAndWait(const std::function<void()>& block)
{
    if (isOnQueue())
        block();
    else
        queue_->sync(block);
}

std::string NSManagedObjectContext::storeIdentifier() const
{
    auto store = coordinator_ ? coordinator_->persistentStore() : nullptr;
    return store ? store->identifier() : std::string();
}

std::shared_ptr<NSManagedObject> NSManagedObjectContext::makeObject(const std::shared_ptr<NSEntityDescription>& entity)
{
    std::shared_ptr<NSManagedObject> object;
    if (!entity->managedObjectClassName().empty()) {
        if (auto cls = NSClassFromString(entity->managedObjectClassName())) {
            object = std::dynamic_pointer_cast<NSManagedObject>(cls->make());
            if (!object)
                NSLog("%s %@", "-[NSManagedObjectContext insertNewObjectForEntityForName:]",
                      NSStringWithFormat("%@ is no managed-object class", entity->managedObjectClassName()));
        }
    }
    if (!object) object = NSObject::create<NSManagedObject>();
    object->context_ = weakSelf<NSManagedObjectContext>();
    object->entity_ = entity;
    return object;
}

std::shared_ptr<NSManagedObject> NSManagedObjectContext::insertNewObjectForEntityForName(const std::string& entityName)
{
    assertOnQueue("insertNewObjectForEntityForName");
    auto entity = coordinator_ ? coordinator_->managedObjectModel()->entityNamed(entityName) : nullptr;
    if (!entity) {
        NSLog("%s %@", "-[NSManagedObjectContext insertNewObjectForEntityForName:]",
              NSStringWithFormat("no entity named %@", entityName));
        return nullptr;
    }
    auto object = makeObject(entity);
    object->objectID_ = NSManagedObjectID::temporary(entity);
    for (const auto& [name, attribute] : entity->attributesByName())
        if (!attribute->defaultValue().isNil()) object->values_[name] = attribute->defaultValue();
    object->inserted_ = true;
    registered_[object->objectID_->key()] = object;
    insertedOrder_.push_back(object);
    changed_[object.get()] = object;
    object->awakeFromInsert();
    return object;
}

void NSManagedObjectContext::deleteObject(const std::shared_ptr<NSManagedObject>& object)
{
    assertOnQueue("deleteObject");
    if (!object || object->context_.lock().get() != this) return;
    object->deleted_ = true;
    noteChanged(*object);
}

void NSManagedObjectContext::noteChanged(NSManagedObject& object)
{
    if (changed_.count(&object)) return;
    auto it = object.objectID_ ? registered_.find(object.objectID_->key()) : registered_.end();
    if (it != registered_.end() && it->second.get() == &object) changed_[&object] = it->second;
}

NSManagedObjectContext::Objects NSManagedObjectContext::possiblyChanged() const
{
    std::vector<std::pair<std::string, std::shared_ptr<NSManagedObject>>> keyed;
    keyed.reserve(changed_.size());
    for (const auto& [raw, o] : changed_) keyed.emplace_back(o->objectID_->key(), o);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    Objects objects;
    objects.reserve(keyed.size());
    for (auto& [key, o] : keyed) objects.push_back(std::move(o));
    return objects;
}

bool NSManagedObjectContext::hasChanges() const
{
    assertOnQueue("hasChanges");
    return std::any_of(changed_.begin(), changed_.end(), [](const auto& entry) { return entry.second->hasChanges(); });
}

NSManagedObjectContext::Objects NSManagedObjectContext::insertedObjects() const
{
    Objects result;
    for (const auto& o : insertedOrder_)
        if (!o->deleted_) result.push_back(o);
    return result;
}

NSManagedObjectContext::Objects NSManagedObjectContext::updatedObjects() const
{
    Objects result;
    for (const auto& [key, o] : registered_)
        if (o->isUpdated()) result.push_back(o);
    return result;
}

NSManagedObjectContext::Objects NSManagedObjectContext::deletedObjects() const
{
    Objects result;
    for (const auto& [key, o] : registered_)
        if (o->deleted_ && !o->inserted_) result.push_back(o);
    return result;
}

NSManagedObjectContext::Objects NSManagedObjectContext::registeredObjects() const
{
    Objects result;
    for (const auto& [key, o] : registered_) result.push_back(o);
    return result;
}

std::map<std::string, Value> NSManagedObjectContext::valuesOfRow(const StoredRow& row) const
{
    std::map<std::string, Value> values;
    std::string store = storeIdentifier();
    for (const auto& [key, value] : row.values) {
        auto relationship = row.entity->relationshipNamed(key);
        if (relationship && value.isInteger())
            values[key] =
                Value(NSManagedObjectID::permanent(relationship->destinationEntity(), store, value.longLongValue()));
        else
            values[key] = value;
    }
    return values;
}

std::shared_ptr<NSManagedObject> NSManagedObjectContext::materialise(const StoredRow& row)
{
    auto id = NSManagedObjectID::permanent(row.entity, storeIdentifier(), row.row);
    auto it = registered_.find(id->key());
    if (it != registered_.end()) return it->second;
    auto object = makeObject(row.entity);
    object->objectID_ = id;
    object->values_ = valuesOfRow(row);
    object->snapshot_ = object->values_;
    registered_[id->key()] = object;
    return object;
}

std::shared_ptr<NSManagedObject>
NSManagedObjectContext::objectWithID(const std::shared_ptr<NSManagedObjectID>& objectID)
{
    assertOnQueue("objectWithID");
    if (!objectID) return nullptr;
    auto it = registered_.find(objectID->key());
    if (it != registered_.end()) return it->second;
    if (objectID->isTemporaryID() || objectID->storeIdentifier() != storeIdentifier() || !objectID->entity())
        return nullptr;
    std::optional<StoredRow> row;
    coordinator_->withStore([&](SQLiteStore& store) { row = store.row(*objectID->entity(), objectID->row()); });
    return row ? materialise(*row) : nullptr;
}

std::shared_ptr<NSManagedObject>
NSManagedObjectContext::existingObjectWithID(const std::shared_ptr<NSManagedObjectID>& objectID,
                                             std::shared_ptr<NSError>* error)
{
    auto object = objectWithID(objectID);
    if (object && !object->deleted_) return object;
    NSError::assign(error, NSCoreDataError(NSManagedObjectReferentialIntegrityError,
                                           "no object for " + (objectID ? objectID->URIRepresentation() : "nil")));
    return nullptr;
}

NSManagedObjectContext::Objects NSManagedObjectContext::relatedObjects(NSManagedObject& source,
                                                                       const NSRelationshipDescription& relationship)
{
    Objects result;
    auto inverse = relationship.inverseRelationship();
    auto destination = relationship.destinationEntity();
    if (!inverse || !destination) return result;
    std::set<const NSManagedObject*> seen;
    auto consider = [&](const std::shared_ptr<NSManagedObject>& o) {
        if (o && !o->deleted_ && o->entity_->isKindOfEntity(*destination) && o->refersTo(inverse->name(), source) &&
            seen.insert(o.get()).second)
            result.push_back(o);
    };
    if (source.objectID_ && !source.objectID_->isTemporaryID() && coordinator_) {
        std::vector<StoredRow> rows;
        coordinator_->withStore(
            [&](SQLiteStore& store) { rows = store.rowsReferencing(*inverse, source.objectID_->row()); });
        for (const auto& row : rows) consider(materialise(row));
    }
    for (const auto& o : possiblyChanged())
        if (o->inserted_ || o->changedKeys_.count(inverse->name())) consider(o);
    return result;
}

void NSManagedObjectContext::applyDeleteRules()
{
    Objects work;
    for (const auto& o : possiblyChanged())
        if (o->deleted_) work.push_back(o);
    auto remove = [&](const std::shared_ptr<NSManagedObject>& o) {
        if (o && !o->deleted_) {
            o->deleted_ = true;
            noteChanged(*o);
            work.push_back(o);
        }
    };
    while (!work.empty()) {
        auto deleted = work.back();
        work.pop_back();
        for (const auto& [name, relationship] : deleted->entity_->relationshipsByName()) {
            auto inverse = relationship->inverseRelationship();
            if (relationship->isToMany()) {
                for (const auto& child : relatedObjects(*deleted, *relationship)) {
                    if (relationship->deleteRule() == NSCascadeDeleteRule)
                        remove(child);
                    else if (inverse)
                        child->setToOne(*inverse, nullptr);
                }
                continue;
            }
            auto target = objectWithID(NSManagedObject::referencedID(deleted->values_[name]));
            if (!target) continue;
            if (relationship->deleteRule() == NSCascadeDeleteRule) {
                remove(target);
            } else if (inverse && !inverse->isToMany() && target->refersTo(inverse->name(), *deleted)) {
                target->values_[inverse->name()] = Value();
                target->markChanged(inverse->name());
            }
        }
    }
}

bool NSManagedObjectContext::save(std::shared_ptr<NSError>* error)
{
    assertOnQueue("save");
    if (!coordinator_ || !coordinator_->persistentStore()) {
        NSError::assign(error, NSCoreDataError(NSPersistentStoreSaveError, "the context has no store"));
        return false;
    }
    if (!hasChanges()) return true;
    applyDeleteRules();

    Objects inserts, updates, deletes, dropped;
    for (const auto& o : insertedOrder_) (o->deleted_ ? dropped : inserts).push_back(o);
    for (const auto& o : possiblyChanged()) {
        if (o->inserted_) continue;
        if (o->deleted_)
            deletes.push_back(o);
        else if (!o->changedKeys_.empty())
            updates.push_back(o);
    }

    // Check every value to be written against its attribute first: nothing is written otherwise.
    std::map<const NSManagedObject*, std::map<std::string, Value>> memory, columns;
    auto check = [&](const std::shared_ptr<NSManagedObject>& o, const std::string& key) {
        auto attribute = o->entity_->attributeNamed(key);
        if (!attribute) return true;
        Value value = o->values_.count(key) ? o->values_[key] : Value();
        Check result = storedForm(*attribute, value, memory[o.get()][key], columns[o.get()][key]);
        if (result != Check::Ok) NSError::assign(error, validationError(result, *o, key, value));
        return result == Check::Ok;
    };
    for (const auto& o : inserts)
        for (const auto& [name, attribute] : o->entity_->attributesByName())
            if (!check(o, name)) return false;
    for (const auto& o : updates)
        for (const auto& key : o->changedKeys_)
            if (!check(o, key)) return false;

    std::set<std::string> deletedKeys;
    for (const auto& o : deletes) deletedKeys.insert(o->objectID_->key());
    std::map<std::string, std::int64_t> newRows;  // temporary ID key -> row
    // The row a to-one reference names in the store (as read: the snapshot), or will name once
    // this save is written (a link to an object deleted by it is none).
    auto readRow = [&](const Value& reference) -> Value {
        auto id = NSManagedObject::referencedID(reference);
        return id && !id->isTemporaryID() ? Value(id->row()) : Value();
    };
    auto rowValue = [&](const Value& reference) -> Value {
        auto id = NSManagedObject::referencedID(reference);
        if (!id || deletedKeys.count(id->key())) return {};
        if (!id->isTemporaryID()) return Value(id->row());
        auto it = newRows.find(id->key());
        return it == newRows.end() ? Value() : Value(it->second);
    };
    std::map<const NSManagedObject*, std::map<std::string, Value>> storeWins;
    std::set<const NSManagedObject*> gone;
    bool written = false;
    coordinator_->withStore([&](SQLiteStore& store) {
        if (!store.begin(error)) return;
        auto fail = [&] { store.rollback(); };
        for (const auto& o : inserts) {
            auto row = store.insert(*o->entity_, columns[o.get()], error);
            if (!row) return fail();
            newRows[o->objectID_->key()] = *row;
        }
        for (const auto& o : inserts) {
            std::map<std::string, Value> links;
            for (const auto& [key, value] : o->values_)
                if (isToOne(*o->entity_, key)) links[key] = rowValue(value);
            if (!store.update(*o->entity_, newRows[o->objectID_->key()], links, error)) return fail();
        }
        for (const auto& o : updates) {
            auto current = store.row(*o->entity_, o->objectID_->row());
            if (!current) {
                gone.insert(o.get());
                continue;
            }
            std::map<std::string, Value> writes;
            for (const auto& key : o->changedKeys_) {
                bool link = isToOne(*o->entity_, key);
                if (!link && !o->entity_->attributeNamed(key)) continue;
                Value stored = current->values.count(key) ? current->values[key] : Value();
                Value read = o->snapshot_.count(key) ? o->snapshot_[key] : Value();
                if (!storeValuesEqual(stored, link ? readRow(read) : read)) {
                    if (mergePolicy_ == NSErrorMergePolicy) {
                        NSError::assign(error, NSCoreDataError(NSManagedObjectMergeError,
                                                               NSStringWithFormat("%@.%@ was changed by another save",
                                                                                  o->entity_->name(), key)));
                        return fail();
                    }
                    if (mergePolicy_ == NSMergeByPropertyStoreTrumpMergePolicy) {
                        storeWins[o.get()][key] = stored;
                        continue;
                    }
                }
                writes[key] = link ? rowValue(o->values_[key]) : columns[o.get()][key];
            }
            if (!store.update(*o->entity_, o->objectID_->row(), writes, error)) return fail();
        }
        for (const auto& o : deletes)
            if (!store.remove(*o->entity_, o->objectID_->row(), error)) return fail();
        if (!store.commit(error)) return fail();
        written = true;
    });
    if (!written) return false;

    // The store has it all: objects take their saved state.
    std::string storeID = storeIdentifier();
    std::map<std::string, std::shared_ptr<NSManagedObjectID>> permanentIDs;
    Value::Array insertedIDs, updatedIDs, deletedIDs;
    for (const auto& o : inserts) {
        auto id = NSManagedObjectID::permanent(o->entity_, storeID, newRows[o->objectID_->key()]);
        permanentIDs[o->objectID_->key()] = id;
        registered_.erase(o->objectID_->key());
        o->objectID_ = id;
        registered_[id->key()] = o;
        o->inserted_ = false;
        insertedIDs.emplace_back(id);
    }
    auto permanent = [&](Value& value) {
        auto id = value.object<NSManagedObjectID>();
        if (id && id->isTemporaryID() && permanentIDs.count(id->key())) value = Value(permanentIDs[id->key()]);
    };
    // Only an object changed since its last save can refer to one that was new until now.
    if (!permanentIDs.empty())
        for (const auto* changed : {&inserts, &updates})
            for (const auto& o : *changed) {
                for (auto& [name, value] : o->values_) permanent(value);
                for (auto& [name, value] : o->snapshot_) permanent(value);
            }
    for (const auto& o : inserts) {
        for (const auto& [key, value] : memory[o.get()]) o->values_[key] = value;
        o->snapshot_ = o->values_;
        o->changedKeys_.clear();
    }
    for (const auto& o : updates) {
        if (gone.count(o.get())) {
            NSLog("%s %@", "-[NSManagedObjectContext save:]",
                  NSStringWithFormat("dropped the changes of %@: another context deleted it", o->objectID_));
            forget(o);
            continue;
        }
        for (const auto& key : o->changedKeys_) {
            auto adopted = storeWins[o.get()].find(key);
            if (adopted != storeWins[o.get()].end()) {
                auto relationship = o->entity_->relationshipNamed(key);
                o->values_[key] = relationship && adopted->second.isInteger()
                                      ? Value(NSManagedObjectID::permanent(relationship->destinationEntity(), storeID,
                                                                           adopted->second.longLongValue()))
                                      : adopted->second;
            } else if (memory[o.get()].count(key)) {
                o->values_[key] = memory[o.get()][key];
            }
            o->snapshot_[key] = o->values_[key];
        }
        o->changedKeys_.clear();
        updatedIDs.emplace_back(o->objectID_);
    }
    for (const auto& o : deletes) {
        deletedIDs.emplace_back(o->objectID_);
        forget(o);
    }
    for (const auto& o : dropped) forget(o);
    insertedOrder_.clear();
    for (auto it = changed_.begin(); it != changed_.end();)
        it = it->second->hasChanges() ? std::next(it) : changed_.erase(it);

    NSNotificationCenter::defaultCenter()->postNotificationName(
        NSManagedObjectContextDidSaveNotification, self(),
        Value::dictionary({{NSInsertedObjectsKey, Value(std::move(insertedIDs))},
                           {NSUpdatedObjectsKey, Value(std::move(updatedIDs))},
                           {NSDeletedObjectsKey, Value(std::move(deletedIDs))}}));
    return true;
}

std::optional<NSManagedObjectContext::Objects>
NSManagedObjectContext::executeFetchRequest(const NSFetchRequest& request, std::shared_ptr<NSError>* error)
{
    assertOnQueue("executeFetchRequest");
    auto entity = coordinator_ ? coordinator_->managedObjectModel()->entityNamed(request.entityName()) : nullptr;
    if (!entity) {
        NSError::assign(error,
                        NSCoreDataError(NSPersistentStoreInvalidTypeError, "no entity named " + request.entityName()));
        return std::nullopt;
    }
    std::vector<std::shared_ptr<NSEntityDescription>> entities{entity};
    if (request.includesSubentities())
        for (std::size_t i = 0; i < entities.size(); ++i)
            for (const auto& sub : entities[i]->subentities()) entities.push_back(sub);
    auto wanted = [&](const NSEntityDescription& e) {
        return std::any_of(entities.begin(), entities.end(), [&](const auto& w) { return w.get() == &e; });
    };

    // A predicate naming a value of a string attribute, or object IDs, lets the store read the
    // matching rows only. The objects changed here since they were read may match now although
    // their rows do not, so they are candidates too; the predicate then decides on every one.
    std::string key;
    Value compared;
    std::shared_ptr<NSAttributeDescription> byText;
    const std::vector<std::shared_ptr<NSManagedObjectID>>* byID =
        request.predicate() ? request.predicate()->selfInObjectIDs() : nullptr;
    if (!byID && request.predicate() && request.predicate()->isEqualityOnKey(&key, &compared) && compared.isString()) {
        byText = entity->attributeNamed(key);
        if (byText && byText->attributeType() != NSAttributeType::String) byText.reset();
    }
    std::vector<std::int64_t> numbers;
    if (byID) {
        const std::string store = storeIdentifier();
        for (const auto& id : *byID)
            if (id && !id->isTemporaryID() && id->storeIdentifier() == store) numbers.push_back(id->row());
    }
    const bool narrowed = byID || byText;

    std::vector<StoredRow> rows;
    std::shared_ptr<NSError> failure;
    if (!coordinator_->withStore([&](SQLiteStore& store) {
            if (byText)
                rows = store.rowsWithText(entities, *byText, *compared.asString(), &failure);
            else if (byID)
                rows = store.rowsNumbered(entities, numbers, &failure);
            else
                rows = store.rows(entities, &failure);
        })) {
        NSError::assign(error, NSCoreDataError(NSPersistentStoreSaveError, "the context has no store"));
        return std::nullopt;
    }
    if (failure) {
        NSError::assign(error, failure);
        return std::nullopt;
    }
    Objects candidates;
    std::set<const NSManagedObject*> seen;
    for (const auto& row : rows) {
        candidates.push_back(materialise(row));
        seen.insert(candidates.back().get());
    }
    if (narrowed) {
        for (const auto& [raw, o] : changed_)
            if (o->isUpdated() && wanted(*o->entity_) && seen.insert(o.get()).second) candidates.push_back(o);
        // In row order, as a fetch of every row answers them.
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const auto& a, const auto& b) { return a->objectID_->row() < b->objectID_->row(); });
    }
    for (const auto& o : insertedOrder_)
        if (wanted(*o->entity_) && !seen.count(o.get())) candidates.push_back(o);
    Objects result;
    for (const auto& o : candidates)
        if (!o->deleted_ && (!request.predicate() || request.predicate()->evaluateWithObject(*o))) result.push_back(o);
    if (!request.sortDescriptors().empty()) {
        std::stable_sort(result.begin(), result.end(), [&](const auto& a, const auto& b) {
            for (const auto& d : request.sortDescriptors()) {
                int c = d->compareObject(*a, *b);
                if (c != 0) return c < 0;
            }
            return false;
        });
    }
    if (request.fetchLimit() > 0 && result.size() > request.fetchLimit()) result.resize(request.fetchLimit());
    return result;
}

void NSManagedObjectContext::takeStoredValues(NSManagedObject& object, const std::map<std::string, Value>& stored,
                                              bool keepChanges)
{
    if (!keepChanges) {
        object.changedKeys_.clear();
        object.values_ = stored;
        object.snapshot_ = stored;
        return;
    }
    for (const auto& [name, property] : object.entity_->propertiesByName()) {
        if (!object.entity_->attributeNamed(name) && !isToOne(*object.entity_, name)) continue;
        auto it = stored.find(name);
        Value value = it == stored.end() ? Value() : it->second;
        // A changed property keeps its value and the snapshot it was changed from, so the merge
        // policy still sees the store's change at the next save.
        if (object.changedKeys_.count(name)) continue;
        object.values_[name] = value;
        object.snapshot_[name] = value;
    }
}

void NSManagedObjectContext::refreshObject(const std::shared_ptr<NSManagedObject>& object, bool mergeChanges)
{
    assertOnQueue("refreshObject");
    if (!object || object->inserted_ || object->context_.lock().get() != this) return;
    std::optional<StoredRow> row;
    coordinator_->withStore([&](SQLiteStore& store) { row = store.row(*object->entity_, object->objectID_->row()); });
    if (!row) {
        forget(object);
        return;
    }
    object->willTurnIntoFault();
    takeStoredValues(*object, valuesOfRow(*row), mergeChanges);
}

void NSManagedObjectContext::forget(const std::shared_ptr<NSManagedObject>& object)
{
    object->willTurnIntoFault();
    registered_.erase(object->objectID_->key());
    changed_.erase(object.get());
    insertedOrder_.erase(std::remove(insertedOrder_.begin(), insertedOrder_.end(), object), insertedOrder_.end());
    object->context_.reset();
}

void NSManagedObjectContext::reset()
{
    assertOnQueue("reset");
    auto objects = registeredObjects();
    for (const auto& o : objects) forget(o);
    registered_.clear();
    insertedOrder_.clear();
    changed_.clear();
}

void NSManagedObjectContext::mergeChangesFromContextDidSaveNotification(
    const std::shared_ptr<NSNotification>& notification)
{
    assertOnQueue("mergeChangesFromContextDidSaveNotification");
    if (!notification || !coordinator_) return;
    const Value& info = notification->userInfo();
    auto registeredFor = [&](const Value& v) -> std::shared_ptr<NSManagedObject> {
        auto id = v.object<NSManagedObjectID>();
        auto it = id ? registered_.find(id->key()) : registered_.end();
        return it == registered_.end() ? nullptr : it->second;
    };
    Value updatedIDs = info[NSUpdatedObjectsKey];
    Value deletedIDs = info[NSDeletedObjectsKey];
    if (const auto* updated = updatedIDs.asArray()) {
        for (const auto& v : *updated) {
            auto object = registeredFor(v);
            if (!object || object->inserted_) continue;
            std::optional<StoredRow> row;
            coordinator_->withStore(
                [&](SQLiteStore& store) { row = store.row(*object->entity_, object->objectID_->row()); });
            if (!row) {
                forget(object);
                continue;
            }
            object->willTurnIntoFault();
            takeStoredValues(*object, valuesOfRow(*row), true);
        }
    }
    if (const auto* deleted = deletedIDs.asArray())
        for (const auto& v : *deleted)
            if (auto object = registeredFor(v)) forget(object);
    NSNotificationCenter::defaultCenter()->postNotificationName(NSManagedObjectContextObjectsDidChangeNotification,
                                                                self(), info);
}
