// How the content manager finds, copies, repairs or gives up on its store file, and what a
// restart does to packs marked for deletion.

#include <sys/xattr.h>

#include <cerrno>
#include <functional>
#include <vector>

#include "CoreData/NSPersistentStore.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "QZContentManagerFixture.h"
#include "TesselSDK/remote/QZContentPackClass.h"
#include "TesselSDK/remote/QZContentPacksDataModel.h"

namespace {

class QZContentStoreSetUpTest : public QZContentManagerFixture {
protected:
    // A store of the pack model holding one pack, as a single file (no write-ahead log).
    static void writePrebuiltStore(const std::filesystem::path& path, const std::string& packIdentifier)
    {
        std::filesystem::create_directories(path.parent_path());
        auto coordinator = NSPersistentStoreCoordinator::coordinator(QZContentPacksDataModel());
        std::shared_ptr<NSError> error;
        ASSERT_TRUE(coordinator->addPersistentStoreWithType(
            NSSQLiteStoreType, path.string(),
            Value::dictionary({{NSSQLitePragmasOption, Value::dictionary({{"journal_mode", "DELETE"}})}}), &error));
        auto context = NSManagedObjectContext::context(NSMainQueueConcurrencyType);
        context->setPersistentStoreCoordinator(coordinator);
        QZManagedObjectClass::classNamed("QZContentPack")
            ->updateOrCreateWithDictionary(Value::dictionary({{"identifier", packIdentifier}, {"packType", "effect"}}),
                                           *context);
        ASSERT_TRUE(context->save(&error));
    }

    // The "-wal" file of another database, with a committed table that was never checkpointed:
    // replayed into the store, it would bring that table along.
    static std::string strangerWriteAheadLog(const std::filesystem::path& directory)
    {
        const std::string path = (directory / "stranger.sqlite").string();
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; CREATE TABLE Intruder (x); INSERT INTO Intruder VALUES (1);",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
        std::ifstream in(path + "-wal", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void setEarlierInstallVersions()
    {
        defaults()->setObject(Value("7.0.0"), kQZContentManagerCurrentContentManifestVerion);
        defaults()->setObject(Value(4), "kQZContentManagerCurrentMessagingManifestVerion");
        defaults()->setObject(Value(1234.5), "kQZCDSLastUpdate");
        defaults()->synchronize();
    }
    void expectCommittedVersionsGone()
    {
        EXPECT_TRUE(defaults()->objectForKey(kQZContentManagerCurrentContentManifestVerion).isNil());
        EXPECT_TRUE(defaults()->objectForKey("kQZContentManagerCurrentMessagingManifestVerion").isNil());
        EXPECT_TRUE(defaults()->objectForKey("kQZCDSLastUpdate").isNil());
    }
    bool reportedStoreFailure() const
    {
        for (const auto& [name, attributes] : session->events)
            if (name == "contentPackPersistentStoreCoordinator: Failure" &&
                !attributes["error Message"].stringValue().empty())
                return true;
        return false;
    }
};

TEST_F(QZContentStoreSetUpTest, TheStoreIsCopiedRepairedOrReplacedAndTheCommittedVersionsFollowIt)
{
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::function<void(const NSLogCapture&)> check;
    };
    const std::vector<Case> cases = {
        {"a prebuilt store in the bundle is copied",
         [&] {
             setEarlierInstallVersions();
             writePrebuiltStore(resourceBundle() / "TesselContentPackCompiledDatabase.sqlite", "seeded");
         },
         [&](const NSLogCapture& log) {
             EXPECT_EQ(defaults()->objectForKey(kQZContentManagerCurrentContentManifestVerion), Value("1.0.0"));
             EXPECT_EQ(defaults()->objectForKey("kQZContentManagerCurrentMessagingManifestVerion"), Value(0));
             EXPECT_TRUE(manager()->packWithIdentifier("seeded"));
             EXPECT_EQ(sqlite(storePath(), "PRAGMA journal_mode"), "wal");
             char mark = 0;
             if (getxattr(storePath().c_str(), "user.com.apple.MobileBackup", &mark, 1) == 1)
                 EXPECT_EQ(mark, 1);
             else
                 EXPECT_EQ(errno, ENOTSUP) << "the store is not marked against backups";
             EXPECT_FALSE(log.contains("Error copying precompiled database"));
             EXPECT_FALSE(reportedStoreFailure());
         }},
        {"without a prebuilt store the copy failure is logged and the store starts empty",
         [&] { setEarlierInstallVersions(); },
         [&](const NSLogCapture& log) {
             EXPECT_TRUE(log.contains("Error copying precompiled database into place with error: "));
             EXPECT_TRUE(manager()->contentPacks().empty());
             EXPECT_TRUE(std::filesystem::exists(storePath()));
             expectCommittedVersionsGone();
             EXPECT_FALSE(reportedStoreFailure());
         }},
        {"a damaged store with stale companions is recreated empty and usable",
         [&] {
             setEarlierInstallVersions();
             const std::string wal = strangerWriteAheadLog(sandbox->root());
             ASSERT_FALSE(wal.empty());
             write(storePath(), "this is no database, only garbage of the right sort of length......");
             write(storePath() + "-wal", wal);
             write(storePath() + "-shm", std::string(32768, '\x7f'));
         },
         [&](const NSLogCapture&) {
             EXPECT_TRUE(manager()->contentPacks().empty());
             ASSERT_TRUE(
                 manager()->insertPackForTesting(Value::dictionary({{"identifier", "new"}, {"packType", "frame"}})));
             EXPECT_TRUE(manager()->packWithIdentifier("new"));
             EXPECT_EQ(sqlite(storePath(), "SELECT COUNT(*) FROM sqlite_master WHERE name = 'Intruder'"), "0");
             EXPECT_EQ(sqlite(storePath(), "PRAGMA integrity_check"), "ok");
             expectCommittedVersionsGone();
             EXPECT_FALSE(reportedStoreFailure());
         }},
        {"a file where Application Support belongs leaves the store in memory",
         [&] {
             setEarlierInstallVersions();
             write(sandbox->sandboxRoot() + "/Library/Application Support", "a file where the directory belongs");
         },
         [&](const NSLogCapture& log) {
             EXPECT_TRUE(log.contains("Unresolved error "));
             EXPECT_TRUE(reportedStoreFailure());
             EXPECT_TRUE(manager()->contentPacks().empty());
             EXPECT_FALSE(manager()->packWithIdentifier("anything"));
             // The contexts still work; nothing reaches a file.
             ASSERT_TRUE(
                 manager()->insertPackForTesting(Value::dictionary({{"identifier", "kept"}, {"packType", "effect"}})));
             EXPECT_TRUE(manager()->packWithIdentifier("kept"));
             auto update = manager()->contentPackUpdateManagedObjectContext();
             EXPECT_EQ(update->persistentStoreCoordinator(), manager()->contentPackPersistentStoreCoordinator());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        freshSandbox();
        c.prepare();
        {
            NSLogCapture log;
            manager()->contentPackManagedObjectContext();
            c.check(log);
        }
        session->events.clear();
    }
}

TEST_F(QZContentStoreSetUpTest, APackMarkedForDeletionStaysUntilARestartThenLeavesTheFile)
{
    manager()->contentPackManagedObjectContext();  // the editor is running
    auto update = manager()->contentPackUpdateManagedObjectContext();
    update->performBlockAndWait([&] {
        for (const char* identifier : {"marked", "kept"})
            QZManagedObjectClass::classNamed("QZContentPack")
                ->updateOrCreateWithDictionary(
                    Value::dictionary({{"identifier", identifier},
                                       {"packType", "sticker"},
                                       {"shouldDelete", std::string(identifier) == "marked"}}),
                    *update);
        std::shared_ptr<NSError> error;
        ASSERT_TRUE(update->save(&error));
    });
    pumpUntil([] { return manager()->packWithIdentifier("marked") != nullptr; });
    EXPECT_TRUE(manager()->packWithIdentifier("marked")) << "readable until the next run";
    EXPECT_EQ(sqlite(storePath(), "SELECT COUNT(*) FROM E_Pack"), "2");

    restart();
    EXPECT_FALSE(manager()->packWithIdentifier("marked"));
    EXPECT_TRUE(manager()->packWithIdentifier("kept"));
    EXPECT_EQ(sqlite(storePath(), "SELECT COUNT(*) FROM E_Pack WHERE A_identifier = 'marked'"), "0");
    EXPECT_EQ(sqlite(storePath(), "SELECT COUNT(*) FROM E_Pack WHERE A_identifier = 'kept'"), "1");
}

}  // namespace
