#include "StoreTestFixture.h"

#include "CoreData/CoreDataErrors.h"
#include "CoreData/ValueComparison.h"

#include <sqlite3.h>

#include <filesystem>
#include <set>
#include <fstream>

namespace {

std::string pragma(const std::string& path, const std::string& name)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string result;
    if (sqlite3_prepare_v2(db, ("PRAGMA " + name).c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

TEST_F(StoreTest, StoresOpenInWriteAheadLogModeUnlessAPragmaSaysOtherwise)
{
    openStore();
    EXPECT_EQ(pragma(path, "journal_mode"), "wal");
    auto coordinator = NSPersistentStoreCoordinator::coordinator(model);
    std::string other = sandbox.path("delete.sqlite");
    ASSERT_TRUE(coordinator->addPersistentStoreWithType(
        NSSQLiteStoreType, other,
        Value::dictionary({{NSSQLitePragmasOption, Value::dictionary({{"journal_mode", "DELETE"}})}}), nullptr));
    EXPECT_EQ(pragma(other, "journal_mode"), "delete");
    auto memory = NSPersistentStoreCoordinator::coordinator(model);
    EXPECT_TRUE(memory->addPersistentStoreWithType(NSInMemoryStoreType, "", Value(), nullptr));
}

TEST_F(StoreTest, ReferencesAndIndexedAttributesGainAnIndexAlsoInAStoreMadeWithout)
{
    auto indexesOf = [&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        std::set<std::string> names;
        sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'index' AND name GLOB 'I_*'", -1,
                           &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            names.insert(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return names;
    };
    const std::set<std::string> references = {"I_E_Analytics_R_pack", "I_E_Item_R_pack", "I_E_Pack_R_analytics"};
    openStore();
    EXPECT_EQ(indexesOf(), references);
    model->entityNamed("Pack")->attributeNamed("identifier")->setIndexed(true);
    openStore();
    std::set<std::string> withIdentifier = references;
    withIdentifier.insert("I_E_Pack_A_identifier");
    EXPECT_EQ(indexesOf(), withIdentifier);
}

TEST_F(StoreTest, AGarbageFileFailsToOpenAndAfterDestroyingItANewStoreOpensEmpty)
{
    {
        auto context = contextOn(openStore(), NSMainQueueConcurrencyType);
        context->insertNewObjectForEntityForName("Pack");
        save(context);
        // The log exists while a connection is open; keep a copy to lay beside the garbage.
        std::filesystem::copy_file(path + "-wal", sandbox.path("saved-wal"));
    }
    // A stale "-wal" of the old store beside a file that is no database.
    std::ofstream(path, std::ios::trunc) << std::string(4096, 'g');
    std::filesystem::copy_file(sandbox.path("saved-wal"), path + "-wal",
                               std::filesystem::copy_options::overwrite_existing);
    auto coordinator = NSPersistentStoreCoordinator::coordinator(model);
    std::shared_ptr<NSError> error;
    EXPECT_FALSE(coordinator->addPersistentStoreWithType(NSSQLiteStoreType, path, migratingOptions(), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), NSCocoaErrorDomain);

    EXPECT_TRUE(coordinator->destroyPersistentStoreAtURL(path, &error));
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) EXPECT_FALSE(std::filesystem::exists(path + suffix));
    auto context = contextOn(openStore(), NSMainQueueConcurrencyType);
    EXPECT_TRUE(fetch(context, "Pack").empty());
}

TEST_F(StoreTest, AdditiveModelChangesMigrateAndOthersFail)
{
    {
        auto context = contextOn(openStore(), NSMainQueueConcurrencyType);
        context->insertNewObjectForEntityForName("Pack")->setValueForKey(Value("kept"), "identifier");
        save(context);
    }
    auto grown = makeStoreTestModel(true);
    auto strict = NSPersistentStoreCoordinator::coordinator(grown);
    std::shared_ptr<NSError> error;
    EXPECT_FALSE(strict->addPersistentStoreWithType(NSSQLiteStoreType, path, Value(), &error));
    EXPECT_EQ(error->code(), NSPersistentStoreIncompatibleVersionHashError);

    auto context = contextOn(openStore(grown), NSMainQueueConcurrencyType);
    auto pack = fetch(context, "Pack").at(0);
    EXPECT_EQ(pack->valueForKey("identifier"), Value("kept"));
    pack->setValueForKey(Value("new column"), "codeName");
    context->insertNewObjectForEntityForName("Note")->setValueForKey(Value("new table"), "text");
    save(context);
    EXPECT_EQ(fetch(context, "Note").size(), 1u);

    // A type change is no addition.
    auto retyped = NSManagedObjectModel::model();
    auto note = NSEntityDescription::entity("Note");
    note->addProperty(NSAttributeDescription::attribute("text", NSAttributeType::Integer64));
    auto original = makeStoreTestModel(false);
    for (const auto& e : original->entities()) retyped->addEntity(e);
    retyped->addEntity(note);
    auto coordinator = NSPersistentStoreCoordinator::coordinator(retyped);
    EXPECT_FALSE(coordinator->addPersistentStoreWithType(NSSQLiteStoreType, path, migratingOptions(), &error));
    EXPECT_EQ(error->code(), NSPersistentStoreIncompatibleVersionHashError);
}

TEST_F(StoreTest, AFullStoreFailsTheSaveWritingNothingAndKeepingTheChanges)
{
    auto coordinator = openStore();
    auto context = contextOn(coordinator, NSMainQueueConcurrencyType);
    context->insertNewObjectForEntityForName("Pack")->setValueForKey(Value("small"), "identifier");
    save(context);
    coordinator->setMaximumPageCountForTesting(std::stoi(pragma(path, "page_count")) + 1);
    auto big = context->insertNewObjectForEntityForName("Pack");
    big->setValueForKey(Value(Value::Data(1 << 20, 7)), "archive");
    std::shared_ptr<NSError> error;
    EXPECT_FALSE(context->save(&error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), NSPersistentStoreSaveError);
    EXPECT_NE(error->localizedDescription().find("full"), std::string::npos) << error->localizedDescription();
    EXPECT_TRUE(big->isInserted());
    EXPECT_EQ(fetch(contextOn(openStore(), NSMainQueueConcurrencyType), "Pack").size(), 1u);
}

}  // namespace
