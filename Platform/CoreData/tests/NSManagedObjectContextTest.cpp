#include "StoreTestFixture.h"

#include <tuple>

#include "CoreData/CoreDataErrors.h"
#include "CoreData/ValueComparison.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchRunLoop.h"

#include <algorithm>
#include <filesystem>
#include <thread>

namespace {

std::shared_ptr<NSManagedObject> insertPack(const std::shared_ptr<NSManagedObjectContext>& context,
                                            const std::string& entity, const std::string& identifier, Value index = {})
{
    auto pack = context->insertNewObjectForEntityForName(entity);
    pack->setValueForKey(Value(identifier), "identifier");
    pack->setValueForKey(index, "index");
    return pack;
}

TEST_F(StoreTest, EveryAttributeTypeRoundTripsThroughAFileIntoTheRightClasses)
{
    auto writer = contextOn(openStore(), NSMainQueueConcurrencyType);
    auto effect = insertPack(writer, "EffectPack", "fx", 3);
    EXPECT_EQ(std::dynamic_pointer_cast<TestPack>(effect)->awakenings, 1);
    EXPECT_EQ(effect->valueForKey("displayName").stringValue(), "fresh");
    effect->setValueForKey(Value(4.25), "rating");
    effect->setValueForKey(Value(true), "requiresDownload");
    effect->setValueForKey(Value::date(1700000000.5), "releaseDate");
    effect->setValueForKey(Value::data("\0\x01\xff", 3), "archive");
    effect->setValueForKey(Value(TestColour::make(0.5)), "colour");
    auto frame = insertPack(writer, "FramePack", "fr", 1);
    frame->setValueForKey(Value(12.5), "width");
    auto item = writer->insertNewObjectForEntityForName("Item");
    item->setValueForKey(Value("fx.1"), "identifier");
    item->setValueForKey(Value(effect), "pack");
    save(writer);

    // A second coordinator on the same file reads what the first saved.
    auto reader = contextOn(openStore(), NSMainQueueConcurrencyType);
    auto packs = fetch(reader, "Pack", nullptr, {NSSortDescriptor::sortDescriptorWithKey("index", false)});
    ASSERT_EQ(packs.size(), 2u);
    auto readEffect = packs[0];
    EXPECT_EQ(readEffect->entity()->name(), "EffectPack");
    EXPECT_TRUE(std::dynamic_pointer_cast<TestPack>(readEffect));
    EXPECT_EQ(std::dynamic_pointer_cast<TestPack>(readEffect)->awakenings, 0);  // fetched, not inserted
    EXPECT_EQ(packs[1]->entity()->name(), "FramePack");
    EXPECT_FALSE(std::dynamic_pointer_cast<TestPack>(packs[1]));  // no class named: plain objects
    EXPECT_EQ(readEffect->valueForKey("identifier"), Value("fx"));
    EXPECT_EQ(readEffect->valueForKey("index"), Value(3));
    EXPECT_EQ(readEffect->valueForKey("rating"), Value(4.25));
    EXPECT_EQ(readEffect->valueForKey("requiresDownload"), Value(true));
    EXPECT_EQ(readEffect->valueForKey("releaseDate"), Value::date(1700000000.5));
    EXPECT_EQ(readEffect->valueForKey("archive"), Value::data("\0\x01\xff", 3));
    EXPECT_TRUE(readEffect->valueForKey("colour").object<TestColour>()->isEqual(*TestColour::make(0.5)));
    EXPECT_EQ(packs[1]->valueForKey("width"), Value(12.5));
    auto items = readEffect->valueForKey("items");
    ASSERT_EQ(items.count(), 1u);
    EXPECT_EQ(items[0].object<NSManagedObject>()->valueForKey("pack").object<NSManagedObject>(), readEffect);
    EXPECT_TRUE(readEffect->objectID()->isEqual(*effect->objectID()));
    EXPECT_EQ(fetch(reader, "EffectPack").size(), 1u);
    auto exact = NSFetchRequest::fetchRequestWithEntityName("Pack");
    exact->setIncludesSubentities(false);
    EXPECT_EQ(reader->executeFetchRequest(*exact, nullptr)->size(), 0u);

    // The URI of an ID names the same row in another coordinator.
    auto id = reader->persistentStoreCoordinator()->managedObjectIDForURIRepresentation(
        effect->objectID()->URIRepresentation());
    ASSERT_TRUE(id);
    EXPECT_EQ(fetch(reader, "Pack", NSPredicate::selfIn({id})), Objects{readEffect});
    EXPECT_FALSE(
        reader->persistentStoreCoordinator()->managedObjectIDForURIRepresentation("x-coredata://other/Pack/p1"));
}

TEST_F(StoreTest, SaveChecksValueTypesAndWritesNothingWhenOneIsWrong)
{
    struct Case {
        const char* key;
        Value value;
        std::optional<Value> reads;  // nullopt: the save fails
        NSInteger code = NSManagedObjectValidationError;
    };
    const std::vector<Case> cases = {
        {"displayName", Value::null(), std::nullopt},
        {"displayName", Value(12), std::nullopt},
        {"releaseDate", Value("2014-01-01"), std::nullopt},
        {"index", Value(1.9), Value(1)},
        {"index", Value(-1.9), Value(-1)},
        {"index", Value(true), Value(1)},
        {"index", Value(1e300), std::nullopt},
        {"index", Value::array({1}), std::nullopt},
        {"rating", Value(2), Value(2.0)},
        {"rating", Value("2"), std::nullopt},
        {"requiresDownload", Value(0.5), Value(true)},
        {"requiresDownload", Value(0), Value(false)},
        {"archive", Value("bytes"), std::nullopt},
        {"colour", Value(TestColour::make(1)), Value(TestColour::make(1))},
        {"colour", Value("red"), std::nullopt},
        {"colour", Value(NSObject::create<TestColourTransformer>()), std::nullopt},
    };
    auto coordinator = openStore();
    auto reader = contextOn(openStore(), NSMainQueueConcurrencyType);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = " + c.value.description());
        auto context = contextOn(coordinator, NSMainQueueConcurrencyType);
        auto pack = insertPack(context, "Pack", "p");
        pack->setValueForKey(c.value, c.key);
        std::shared_ptr<NSError> error;
        bool saved = context->save(&error);
        EXPECT_EQ(saved, c.reads.has_value());
        if (!saved) {
            ASSERT_TRUE(error);
            EXPECT_EQ(error->code(), c.code);
            EXPECT_NE(error->localizedDescription().find(std::string("Pack.") + c.key), std::string::npos);
            EXPECT_TRUE(context->hasChanges());
            EXPECT_EQ(pack->valueForKey(c.key), c.value);  // kept as set
            EXPECT_TRUE(fetch(reader, "Pack").empty());    // nothing written
            continue;
        }
        reader->reset();
        auto stored = fetch(reader, "Pack");
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_TRUE(storeValuesEqual(stored[0]->valueForKey(c.key), *c.reads));
        EXPECT_TRUE(storeValuesEqual(pack->valueForKey(c.key), *c.reads));  // the saving object too
        context->deleteObject(pack);
        save(context);
    }
    // A required attribute left nil.
    auto context = contextOn(coordinator, NSMainQueueConcurrencyType);
    context->insertNewObjectForEntityForName("Item");
    std::shared_ptr<NSError> error;
    EXPECT_FALSE(context->save(&error));
    EXPECT_EQ(error->code(), NSValidationMissingMandatoryPropertyError);
}

TEST_F(StoreTest, FetchesSeeUnsavedChangesAndEvaluateEveryPredicateForm)
{
    auto context = contextOn(openStore(), NSMainQueueConcurrencyType);
    auto a = insertPack(context, "EffectPack", "a", 2);
    auto b = insertPack(context, "FramePack", "b", 10);
    auto none = insertPack(context, "Pack", "none");  // index nil
    a->setValueForKey(Value::date(100), "releaseDate");
    b->setValueForKey(Value::date(300), "releaseDate");
    auto item = context->insertNewObjectForEntityForName("Item");
    item->setValueForKey(Value("a.1"), "identifier");
    item->setValueForKey(Value(a), "pack");
    save(context);
    // Pending changes: an insert, a changed value and a deletion.
    auto pending = insertPack(context, "EffectPack", "pending", 5);
    b->setValueForKey(Value(1), "index");
    context->deleteObject(none);

    using Op = NSPredicateOperatorType;
    auto P = [](const char* key, Op op, Value v) { return NSPredicate::compare(key, op, std::move(v)); };
    const std::vector<std::pair<std::shared_ptr<NSPredicate>, std::vector<std::string>>> cases = {
        {nullptr, {"a", "b", "pending"}},
        {P("identifier", Op::Equal, "pending"), {"pending"}},
        {P("index", Op::Equal, true), {"b"}},  // YES == 1
        {P("index", Op::NotEqual, 2), {"b", "pending"}},
        {P("index", Op::LessThan, 5), {"a", "b"}},
        {P("index", Op::LessThanOrEqual, 5), {"a", "b", "pending"}},
        {P("index", Op::GreaterThan, 1), {"a", "pending"}},
        {P("index", Op::GreaterThanOrEqual, 2.0), {"a", "pending"}},
        {NSPredicate::isNil("releaseDate"), {"pending"}},
        {NSPredicate::orPredicate(
             {NSPredicate::isNil("releaseDate"), P("releaseDate", Op::GreaterThan, Value::date(200))}),
         {"b", "pending"}},
        {NSPredicate::andPredicate({P("releaseDate", Op::LessThan, Value::date(200)), P("index", Op::Equal, 2)}),
         {"a"}},
        {NSPredicate::notPredicate(P("identifier", Op::Equal, "a")), {"b", "pending"}},
        {NSPredicate::selfIn({a->objectID(), none->objectID()}), {"a"}},
    };
    auto byIdentifier = NSSortDescriptor::sortDescriptorWithKey("identifier", true);
    for (const auto& [predicate, expected] : cases)
        EXPECT_EQ(identifiers(fetch(context, "Pack", predicate, {byIdentifier})), expected);

    // A key path through a to-one relationship, and the objects answered are the registered ones.
    auto items = fetch(context, "Item", P("pack.identifier", Op::Equal, "a"));
    EXPECT_EQ(items, Objects{item});
    // Sorting puts nil first; a limit of 1 keeps the first.
    none->setValueForKey(Value(), "identifier");
    context->insertNewObjectForEntityForName("Pack");
    auto byIndex = NSSortDescriptor::sortDescriptorWithKey("index", true);
    auto sorted = fetch(context, "Pack", nullptr, {byIndex});
    ASSERT_EQ(sorted.size(), 4u);
    EXPECT_TRUE(sorted[0]->valueForKey("index").isNil());
    EXPECT_EQ(identifiers({sorted.begin() + 1, sorted.end()}), (std::vector<std::string>{"b", "a", "pending"}));
    EXPECT_EQ(identifiers(fetch(context, "Pack", P("index", Op::GreaterThan, 0), {byIndex}, 1)),
              std::vector<std::string>{"b"});
}

// A fetch by a string value or by object IDs reads only the matching rows; what this context
// changed since must still decide, whichever way it went.
TEST_F(StoreTest, FetchesByAStringOrByIDsSeeWhatTheRowsNoLongerSay)
{
    model->entityNamed("Pack")->attributeNamed("identifier")->setIndexed(true);
    auto writer = contextOn(openStore(), NSMainQueueConcurrencyType);
    auto a = insertPack(writer, "EffectPack", "a", 1);
    auto b = insertPack(writer, "FramePack", "b", 2);
    auto c = insertPack(writer, "Pack", "c", 3);
    auto d = insertPack(writer, "Pack", "a", 4);  // a second "a"
    save(writer);

    auto context = contextOn(openStore(), NSMainQueueConcurrencyType);
    auto reader = [&](const std::shared_ptr<NSManagedObject>& written) {
        return context->objectWithID(written->objectID());
    };
    reader(b)->setValueForKey(Value("a"), "identifier");  // now matches, its row does not
    reader(d)->setValueForKey(Value("z"), "identifier");  // its row matches, it no longer does
    context->deleteObject(reader(c));
    insertPack(context, "EffectPack", "a", 9);  // not saved

    using Op = NSPredicateOperatorType;
    auto indexes = [](const Objects& objects) {
        std::vector<long long> values;
        for (const auto& o : objects) values.push_back(o->valueForKey("index").longLongValue());
        return values;
    };
    const std::vector<std::tuple<std::string, std::shared_ptr<NSPredicate>, std::vector<long long>>> cases = {
        {"Pack", NSPredicate::equal("identifier", "a"), {1, 2, 9}},
        {"EffectPack", NSPredicate::equal("identifier", "a"), {1, 9}},
        {"Pack", NSPredicate::equal("identifier", "z"), {4}},
        {"Pack", NSPredicate::equal("identifier", "c"), {}},
        {"Pack", NSPredicate::equal("identifier", "b"), {}},
        {"Pack", NSPredicate::compare("identifier", Op::NotEqual, "a"), {4}},
        {"Pack", NSPredicate::selfIn({a->objectID(), c->objectID(), d->objectID()}), {1, 4}},
        {"FramePack", NSPredicate::selfIn({a->objectID(), b->objectID()}), {2}},
    };
    for (const auto& [entity, predicate, expected] : cases) {
        SCOPED_TRACE(entity);
        EXPECT_EQ(indexes(fetch(context, entity, predicate)), expected);
    }
    // What a fetch answers is the registered object, changes and all.
    EXPECT_EQ(fetch(context, "Pack", NSPredicate::equal("identifier", "z")), Objects{reader(d)});
}

TEST_F(StoreTest, RelationshipsKeepTheirInversesAndDeleteRulesActAtSave)
{
    auto context = contextOn(openStore(), NSMainQueueConcurrencyType);
    auto first = insertPack(context, "Pack", "first");
    auto second = insertPack(context, "Pack", "second");
    std::vector<std::shared_ptr<NSManagedObject>> items;
    for (int i = 0; i < 3; ++i) {
        auto item = context->insertNewObjectForEntityForName("Item");
        std::string identifier = "i";
        identifier += std::to_string(i);  // not "i" + ...: GCC 12 misreads that concatenation (-Wrestrict)
        item->setValueForKey(Value(identifier), "identifier");
        first->mutableSetValueForKey("items").addObject(item);
        items.push_back(item);
    }
    EXPECT_EQ(items[0]->valueForKey("pack").object<NSManagedObject>(), first);
    second->setValueForKey(Value::array({Value(items[2])}), "items");
    EXPECT_EQ(first->mutableSetValueForKey("items").count(), 2u);
    EXPECT_EQ(items[2]->valueForKey("pack").object<NSManagedObject>(), second);
    first->mutableSetValueForKey("items").removeObject(items[1]);
    EXPECT_TRUE(items[1]->valueForKey("pack").isNil());
    items[1]->setValueForKey(Value(first), "pack");

    auto analytics = context->insertNewObjectForEntityForName("Analytics");
    analytics->setValueForKey(Value(first), "pack");
    EXPECT_EQ(first->valueForKey("analytics").object<NSManagedObject>(), analytics);
    second->setValueForKey(Value(analytics), "analytics");  // one-to-one: re-linked
    EXPECT_TRUE(first->valueForKey("analytics").isNil());
    EXPECT_EQ(analytics->valueForKey("pack").object<NSManagedObject>(), second);
    save(context);

    auto reader = contextOn(openStore(), NSMainQueueConcurrencyType);
    EXPECT_EQ(fetch(reader, "Item").size(), 3u);
    context->deleteObject(second);
    EXPECT_EQ(fetch(context, "Pack").size(), 1u);  // gone from fetches at once
    save(context);
    // Cascade: the second pack's item rows are gone; nullify: the analytics row stays, unlinked.
    reader->reset();
    EXPECT_EQ(
        identifiers(fetch(reader, "Item", nullptr, {NSSortDescriptor::sortDescriptorWithKey("identifier", true)})),
        (std::vector<std::string>{"i0", "i1"}));
    auto storedAnalytics = fetch(reader, "Analytics");
    ASSERT_EQ(storedAnalytics.size(), 1u);
    EXPECT_TRUE(storedAnalytics[0]->valueForKey("pack").isNil());
    EXPECT_TRUE(items[2]->isDeleted());
    EXPECT_FALSE(items[2]->managedObjectContext());  // let go after the save
}

TEST_F(StoreTest, APrivateSaveMergedIntoMainShowsOnTheLoadedObjectAndKeepsItsChanges)
{
    auto mainContext = contextOn(openStore(), NSMainQueueConcurrencyType, NSMergeByPropertyStoreTrumpMergePolicy);
    auto pack = insertPack(mainContext, "EffectPack", "fx", 1);
    save(mainContext);
    pack->setValueForKey(Value("kept"), "displayName");  // dirty here, not saved

    auto update = contextOn(openStore(), NSPrivateQueueConcurrencyType, NSMergeByPropertyObjectTrumpMergePolicy);
    auto token = NSNotificationCenter::defaultCenter()->addObserverForName(
        NSManagedObjectContextDidSaveNotification, update, [mainContext](const std::shared_ptr<NSNotification>& n) {
            dispatch_async(dispatch_get_main_queue(),
                           [mainContext, n] { mainContext->mergeChangesFromContextDidSaveNotification(n); });
        });
    std::shared_ptr<NSManagedObjectID> id = pack->objectID();
    update->performBlock([update, id] {
        auto mine = update->objectWithID(id);
        mine->setValueForKey(Value(7), "index");
        mine->setValueForKey(Value("theirs"), "displayName");
        update->save(nullptr);
    });
    auto* testPack = dynamic_cast<TestPack*>(pack.get());
    int faultsBefore = testPack->faults;
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return pack->valueForKey("index") == Value(7); }, 10));
    EXPECT_EQ(testPack->faults, faultsBefore + 1);               // the hook ran before the new values
    EXPECT_EQ(pack->valueForKey("displayName"), Value("kept"));  // the dirty property stays
    EXPECT_TRUE(pack->isUpdated());
    NSNotificationCenter::defaultCenter()->removeObserver(token);
}

TEST_F(StoreTest, MergePoliciesDecideAPropertyChangedOnBothSides)
{
    for (auto policy :
         {NSMergeByPropertyObjectTrumpMergePolicy, NSMergeByPropertyStoreTrumpMergePolicy, NSErrorMergePolicy}) {
        SCOPED_TRACE(static_cast<int>(policy));
        auto mine = contextOn(openStore(), NSMainQueueConcurrencyType, policy);
        auto pack = insertPack(mine, "Pack", "p", 1);
        pack->setValueForKey(Value("original"), "displayName");
        save(mine);
        auto other = contextOn(openStore(), NSMainQueueConcurrencyType);
        auto theirs = fetch(other, "Pack").at(0);
        theirs->setValueForKey(Value("store"), "displayName");
        theirs->setValueForKey(Value(2.5), "rating");  // a property only they change
        save(other);

        pack->setValueForKey(Value("object"), "displayName");
        pack->setValueForKey(Value(9), "index");  // a property only we change
        std::shared_ptr<NSError> error;
        bool saved = mine->save(&error);
        auto reader = contextOn(openStore(), NSMainQueueConcurrencyType);
        auto stored = fetch(reader, "Pack").at(0);
        if (policy == NSErrorMergePolicy) {
            EXPECT_FALSE(saved);
            EXPECT_EQ(error->code(), NSManagedObjectMergeError);
            EXPECT_EQ(stored->valueForKey("index"), Value(1));
        } else {
            EXPECT_TRUE(saved);
            std::string winner = policy == NSMergeByPropertyObjectTrumpMergePolicy ? "object" : "store";
            EXPECT_EQ(stored->valueForKey("displayName"), Value(winner));
            EXPECT_EQ(pack->valueForKey("displayName"), Value(winner));
            EXPECT_EQ(stored->valueForKey("index"), Value(9));
            EXPECT_EQ(stored->valueForKey("rating"), Value(2.5));  // not undone by our save
        }
        mine->reset();
        other->reset();
        std::filesystem::remove(path);
        std::filesystem::remove(path + "-wal");
        std::filesystem::remove(path + "-shm");
    }
}

TEST_F(StoreTest, AnUpdateToARowAnotherContextDeletedIsDropped)
{
    auto mine = contextOn(openStore(), NSMainQueueConcurrencyType, NSMergeByPropertyObjectTrumpMergePolicy);
    auto pack = insertPack(mine, "Pack", "p", 1);
    save(mine);
    auto other = contextOn(openStore(), NSMainQueueConcurrencyType);
    other->deleteObject(fetch(other, "Pack").at(0));
    save(other);
    pack->setValueForKey(Value(2), "index");
    save(mine);
    EXPECT_FALSE(pack->managedObjectContext());
    EXPECT_TRUE(fetch(contextOn(openStore(), NSMainQueueConcurrencyType), "Pack").empty());
}

TEST_F(StoreTest, TwoPrivateContextsSavingInALoopKeepEachOthersWork)
{
    auto setup = contextOn(openStore(), NSMainQueueConcurrencyType);
    auto id = insertPack(setup, "Pack", "shared", 0)->objectID();
    save(setup);
    id = fetch(setup, "Pack").at(0)->objectID();
    auto run = [&](const char* key, std::shared_ptr<NSPersistentStoreCoordinator> coordinator) {
        auto context = contextOn(coordinator, NSPrivateQueueConcurrencyType, NSMergeByPropertyObjectTrumpMergePolicy);
        context->performBlockAndWait([&] {
            auto pack = context->objectWithID(id);
            for (int i = 1; i <= 40; ++i) {
                pack->setValueForKey(Value(i), key);
                EXPECT_TRUE(context->save(nullptr));
            }
        });
    };
    auto shared = openStore();
    std::thread a([&] { run("index", shared); });
    std::thread b([&] { run("rating", shared); });
    std::thread c([&] { run("requiresDownload", openStore()); });
    a.join();
    b.join();
    c.join();
    auto stored = fetch(contextOn(openStore(), NSMainQueueConcurrencyType), "Pack").at(0);
    EXPECT_EQ(stored->valueForKey("index"), Value(40));
    EXPECT_EQ(stored->valueForKey("rating"), Value(40.0));
    EXPECT_EQ(stored->valueForKey("requiresDownload"), Value(true));
}

TEST_F(StoreTest, RefreshAndResetRunTheFaultHook)
{
    auto context = contextOn(openStore(), NSMainQueueConcurrencyType);
    auto pack = std::dynamic_pointer_cast<TestPack>(insertPack(context, "Pack", "p", 1));
    save(context);
    pack->setValueForKey(Value(5), "index");
    context->refreshObject(pack, true);
    EXPECT_EQ(pack->valueForKey("index"), Value(5));
    context->refreshObject(pack, false);
    EXPECT_EQ(pack->valueForKey("index"), Value(1));
    EXPECT_FALSE(context->hasChanges());
    context->reset();
    EXPECT_EQ(pack->faults, 3);
    EXPECT_TRUE(context->registeredObjects().empty());
    EXPECT_NE(fetch(context, "Pack").at(0), pack);  // a new object for the row
}

#ifndef NDEBUG
TEST_F(StoreTest, UseOffTheContextsQueueStopsWithItsName)
{
    auto context = contextOn(openStore(), NSPrivateQueueConcurrencyType);
    context->setName("update context");
    EXPECT_DEATH(context->hasChanges(), "update context is used off its queue");
}
#endif

}  // namespace
