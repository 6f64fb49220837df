#pragma once
// Test support: the content model in a store file inside a fresh test sandbox, a main-queue
// context over it, the record classes registered, and row counts read with SQLite itself.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSPersistentStore.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "Foundation/NSLogCapture.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackClass.h"
#include "TesselSDK/remote/QZContentPacksDataModel.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "testing/TestSandbox.h"

class QZContentStoreFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TesselSDKRemoteRegisterClasses();
        coordinator = openStore();
        context = newContext();
    }
    void TearDown() override { QZSDKResources::unloadResources(); }

    std::shared_ptr<NSPersistentStoreCoordinator> openStore()
    {
        auto opened = NSPersistentStoreCoordinator::coordinator(QZContentPacksDataModel());
        std::shared_ptr<NSError> error;
        EXPECT_TRUE(opened->addPersistentStoreWithType(NSSQLiteStoreType, storePath, Value::dictionary(), &error))
            << (error ? error->description() : "");
        return opened;
    }
    std::shared_ptr<NSManagedObjectContext> newContext()
    {
        auto made = NSManagedObjectContext::context(NSMainQueueConcurrencyType);
        made->setPersistentStoreCoordinator(coordinator);
        return made;
    }

    static std::shared_ptr<const QZContentPackClass> packClass(const char* name = "QZContentPack")
    {
        return std::dynamic_pointer_cast<const QZContentPackClass>(QZManagedObjectClass::classNamed(name));
    }
    std::shared_ptr<QZContentPack> mapPack(const std::string& json)
    {
        Value document = Value::fromJSON(json);
        EXPECT_TRUE(document.isDictionary()) << json;
        return std::dynamic_pointer_cast<QZContentPack>(packClass()->updateOrCreateWithDictionary(document, *context));
    }
    bool save()
    {
        std::shared_ptr<NSError> error;
        return context->save(&error);
    }

    // Rows of the table as SQLite reads the file (-1 when it cannot be read).
    int rowCount(const std::string& table, const std::string& where = "") const
    {
        sqlite3* db = nullptr;
        int count = -1;
        if (sqlite3_open_v2(storePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            std::string sql = "SELECT COUNT(*) FROM " + table + (where.empty() ? "" : " WHERE " + where);
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
                sqlite3_step(statement) == SQLITE_ROW)
                count = sqlite3_column_int(statement, 0);
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
        return count;
    }

    TestSandbox sandbox;
    std::string storePath = sandbox.path("TesselContentPacks.sqlite");
    std::shared_ptr<NSPersistentStoreCoordinator> coordinator;
    std::shared_ptr<NSManagedObjectContext> context;
};
