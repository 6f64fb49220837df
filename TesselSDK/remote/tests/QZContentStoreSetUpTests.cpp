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
        writePrebuiltStore(path, {Value::dictionary({{"identifier", packIdentifier}, {"packType", "effect"}})});
    }
    // The same with these pack documents (items included).
    static void writePrebuiltStore(const std::filesystem::path& path, const std::vector<Value>& packs)
    {
        std::filesystem::create_directories(path.parent_path());
        auto coordinator = NSPersistentStoreCoordinator::coordinator(QZContentPacksDataModel());
        std::shared_ptr<NSError> error;
        ASSERT_TRUE(coordinator->addPersistentStoreWithType(
            NSSQLiteStoreType, path.string(),
            Value::dictionary({{NSSQLitePragmasOption, Value::dictionary({{"journal_mode", "DELETE"}})}}), &error));
        auto context = NSManagedObjectContext::context(NSMainQueueConcurrencyType);
        context->setPersistentStoreCoordinator(coordinator);
        for (const Value& pack : packs)
            QZManagedObjectClass::classNamed("QZContentPack")->updateOrCreateWithDictionary(pack, *context);
        ASSERT_TRUE(context->save(&error));
    }
    static std::string readFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::filesystem::path prebuiltPath() { return resourceBundle() / "TesselContentPackCompiledDatabase.sqlite"; }
    // The files beside the store named as a damaged store kept aside.
    std::vector<std::filesystem::path> damagedStoresKept() const
    {
        std::vector<std::filesystem::path> kept;
        for (const auto& entry : std::filesystem::directory_iterator(supportDirectory())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("TesselContentPackData.damaged-", 0) == 0 && entry.path().extension() == ".sqlite")
                kept.push_back(entry.path());
        }
        return kept;
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
             EXPECT_EQ(damagedStoresKept().size(), 1u);
             EXPECT_FALSE(reportedStoreFailure());
         }},
        {"a store cut to 100 bytes is kept aside and the new one starts from the prebuilt store",
         [&] {
             setEarlierInstallVersions();
             writePrebuiltStore(prebuiltPath(), "seeded");
             std::filesystem::create_directories(supportDirectory());
             write(storePath(), readFile(prebuiltPath()).substr(0, 100));
         },
         [&](const NSLogCapture& log) {
             EXPECT_TRUE(manager()->packWithIdentifier("seeded")) << "the shipped packs come back";
             const auto kept = damagedStoresKept();
             ASSERT_EQ(kept.size(), 1u);
             EXPECT_EQ(readFile(kept[0]), readFile(prebuiltPath()).substr(0, 100)) << "the damaged file, untouched";
             EXPECT_TRUE(log.contains("it is kept as " + kept[0].string()));
             EXPECT_EQ(defaults()->objectForKey(kQZContentManagerCurrentContentManifestVerion), Value("1.0.0"));
             EXPECT_EQ(sqlite(storePath(), "PRAGMA integrity_check"), "ok");
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

// A store made before a pack shipped gains it at the next start, once, with its items; what the
// store holds stays as it is, and a shipped pack the service withdrew does not come back.
TEST_F(QZContentStoreSetUpTest, AStoreLackingAShippedPackGetsItOnceAtTheNextStart)
{
    auto document = [](const char* identifier, const char* name, std::vector<const char*> items) {
        Value::Array itemDocuments;
        for (const char* item : items) itemDocuments.push_back(Value::dictionary({{"identifier", item}}));
        return Value::dictionary({{"identifier", identifier},
                                  {"packType", "sticker"},
                                  {"displayName", name},
                                  {"items", Value(std::move(itemDocuments))}});
    };
    writePrebuiltStore(prebuiltPath(), {document("old", "Old", {"o1"})});
    manager()->contentPackManagedObjectContext();
    ASSERT_TRUE(manager()->packWithIdentifier("old"));
    // The person's store has its own version of "old" by now.
    manager()->packWithIdentifier("old")->setValueForKey(Value("Old, renamed"), "displayName");
    manager()->synchronize();

    // The editor now ships two packs more.
    std::filesystem::remove(prebuiltPath());
    writePrebuiltStore(prebuiltPath(), {document("old", "Old", {"o1"}), document("doodles", "Doodles", {"d1", "d2"}),
                                        document("withdrawn", "Withdrawn", {})});
    restart();
    auto doodles = manager()->packWithIdentifier("doodles");
    ASSERT_TRUE(doodles) << "added at the next start";
    EXPECT_EQ(doodles->valueForKey("displayName"), Value("Doodles"));
    EXPECT_EQ(doodles->orderedItems().size(), 2u);
    EXPECT_EQ(manager()->packWithIdentifier("old")->valueForKey("displayName"), Value("Old, renamed"));

    // The service withdraws one; it leaves at the next start and stays away.
    manager()->packWithIdentifier("withdrawn")->setValueForKey(Value(true), "shouldDelete");
    manager()->synchronize();
    restart();
    manager()->contentPackManagedObjectContext();
    EXPECT_FALSE(manager()->packWithIdentifier("withdrawn"));
    restart();
    manager()->contentPackManagedObjectContext();
    EXPECT_FALSE(manager()->packWithIdentifier("withdrawn")) << "not added back";
    for (const char* identifier : {"old", "doodles"})
        EXPECT_EQ(sqlite(storePath(), std::string("SELECT COUNT(*) FROM E_Pack WHERE A_identifier = '") + identifier +
                                          "'"),
                  "1")
            << identifier << " once";
    EXPECT_EQ(sqlite(storePath(), "SELECT COUNT(*) FROM E_PackItem"), "3");
}

}  // namespace
