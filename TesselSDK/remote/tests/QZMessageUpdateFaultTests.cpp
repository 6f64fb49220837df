// Faults provoked for real during a message update: names that climb out of their directories,
// a record that cannot be saved, and a store made before the message records.

#include "TesselSDK/remote/tests/QZMessageUpdateFixture.h"

#include <sqlite3.h>

#include "Foundation/NSLogCapture.h"
#include "testing/ZipBuilder.h"

TEST_F(QZMessageUpdateTest, HostileNamesWriteNothingOutsideApplicationSupport)
{
    std::filesystem::remove_all(tree);
    std::filesystem::copy(std::string(TESSEL_CONTENT_FIXTURES_DIR) + "/hostile-tree", tree,
                          std::filesystem::copy_options::recursive);
    const std::set<std::string> before = sandboxFiles();
    const QZMessageUpdateResult result = runMessageUpdate();
    ASSERT_EQ(result.outcome, QZMessageUpdateOutcome::Committed) << result.reason;

    auto stored = messages();
    ASSERT_EQ(stored.count("../../x"), 1u);
    ASSERT_EQ(stored.count("h2"), 1u);
    EXPECT_EQ(stored["h2"]->bannerImageIdentifier(), "") << "an unsafe banner name was kept";
    EXPECT_EQ(stored["h2"]->bannerImageFilename(), "");
    EXPECT_TRUE(inApplicationSupport("ok_banner@2x.jpg"));

    const std::string support = std::filesystem::relative(applicationSupport(), sandbox.root()).string() + "/";
    for (const std::string& file : sandboxFiles()) {
        if (before.count(file)) continue;
        const bool allowed = file.starts_with(support) || file.find("/Preferences/") != std::string::npos;
        EXPECT_TRUE(allowed) << file;
        EXPECT_EQ(file.find("escape"), std::string::npos) << file;
        EXPECT_EQ(file.find("message-"), std::string::npos) << "a temporary archive stayed: " << file;
    }
}

TEST_F(QZMessageUpdateTest, ARecordThatCannotBeSavedFailsAloneAndLaterSavesSucceed)
{
    // m2's layoutStyle is a number: its record cannot be saved.
    const std::string good = readTreeFile("messages/archives/m2_retina.zip");
    const std::string document = R"({"identifier": "m2", "beginDate": 1650000000, "layoutStyle": 5,
                                     "header": {"text": "Broken"}})";
    {
        ZipBuilder zip;
        zip.addDeflated("status.json", R"({"status": "OK"})").addDeflated("message.json", document);
        ASSERT_TRUE(zip.writeTo(tree + "/messages/archives/m2_retina.zip"));
    }
    NSLogCapture log;
    QZMessageUpdateResult result = runMessageUpdate();
    EXPECT_EQ(result.outcome, QZMessageUpdateOutcome::Failed);
    ASSERT_EQ(result.fetchErrors.size(), 1u);
    EXPECT_EQ(result.fetchErrors[0].first, "m2");
    EXPECT_FALSE(log.contains("content pack save failed")) << "the failure reached the final save";
    EXPECT_TRUE(committedMessagesVersion().isNil());
    auto stored = messages();
    EXPECT_EQ(stored.count("m1"), 1u);
    EXPECT_EQ(stored.count("m3"), 1u);
    EXPECT_EQ(stored.count("m2"), 0u);

    // The same process, the archive mended: the update saves and commits.
    writeTreeFile("messages/archives/m2_retina.zip", good);
    result = runMessageUpdate();
    EXPECT_EQ(result.outcome, QZMessageUpdateOutcome::Committed) << result.reason;
    EXPECT_EQ(messages().count("m2"), 1u);
    EXPECT_EQ(committedMessagesVersion(), Value(3));
}

TEST_F(QZMessageUpdateTest, AStoreMadeBeforeTheMessagesOpensWithItsPacks)
{
    ASSERT_NE(manager()->insertPackForTesting(Value::dictionary({{"identifier", "p1"}, {"packType", "effect"}})),
              nullptr);
    QZTesselContentManager::resetSharedManagerForTesting();
    std::string storePath;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(sandbox.sandboxRoot()))
        if (entry.path().filename() == kQZContentStoreFileName) storePath = entry.path().string();
    ASSERT_FALSE(storePath.empty());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(storePath.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE E_Message; DROP TABLE E_MessageText;", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    EXPECT_NE(manager()->packWithIdentifier("p1"), nullptr);
    ASSERT_EQ(runMessageUpdate().outcome, QZMessageUpdateOutcome::Committed);
    EXPECT_EQ(messages().size(), 3u);
    EXPECT_NE(manager()->packWithIdentifier("p1"), nullptr);
}
