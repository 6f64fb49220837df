// The theme store: where it lives, its first start, saving, resets, and a store that cannot be
// read.

#include <gtest/gtest.h>

#include <filesystem>

#include "Model/QZThemeDatabase.h"
#include "Render/NSLog.h"
#include "support/QZThemeStoreFixture.h"

namespace customizer::testing {
namespace {

namespace fs = std::filesystem;

NSColorPtr rgba(double r, double g, double b, double a = 1)
{
    return NSColor::colorWithCalibratedRed(r, g, b, a);
}

TEST(QZThemeStoreLocation, FollowsXDGDataHomeWhenAbsoluteElseTheHomeFolder)
{
    QZTemporaryFolder home;
    QZScopedEnvironment homeVariable("HOME", home.path().string());
    struct Row {
        std::optional<std::string> xdg;
        std::string folder;
    } rows[] = {
        {home / "xdg", home / "xdg/TesselSDKCustomizer"},
        {std::string("relative/xdg"), home / ".local/share/TesselSDKCustomizer"},
        {std::nullopt, home / ".local/share/TesselSDKCustomizer"},
    };
    for (const Row& row : rows) {
        QZScopedEnvironment xdg("XDG_DATA_HOME", row.xdg);
        QZCustomizationDataManager manager(TESSEL_CUSTOMIZER_RESOURCES_DIR);
        EXPECT_EQ(manager.persistentStoreURL(), row.folder + "/TesselSDKCustomization.sqlite")
            << row.xdg.value_or("unset");
    }
}

TEST_F(QZThemeStoreTest, AFirstStartMakesTheStoreFromTheDefaultsAndARestartReadsItBack)
{
    {
        auto manager = start();
        EXPECT_TRUE(manager->overallAppearance() == defaults());
    }
    // One file, no journal or other side file.
    EXPECT_EQ(storeFolderEntries(), std::vector<std::string>{"TesselSDKCustomization.sqlite"});
    std::string error;
    EXPECT_TRUE(QZValidateThemeFile(storePath(), &error)) << error;

    auto restarted = start();
    EXPECT_TRUE(restarted->overallAppearance() == defaults());
}

TEST_F(QZThemeStoreTest, ChangesReachTheStoreWhenSaved)
{
    NSColorPtr changed = rgba(0.1, 0.2, 0.3, 0.4);
    {
        auto manager = start();
        manager->overallAppearance().setValueForKey(changed, "textColor");
    }
    EXPECT_TRUE(start()->overallAppearance() == defaults());
    {
        auto manager = start();
        OverallAppearance& record = manager->overallAppearance();
        record.setValueForKey(changed, "textColor");
        record.setValueForKey(NSColorPtr(), "bottomBarColor");
        record.setValueForKey(false, "useNoise");
        manager->save();
    }
    OverallAppearance expected = defaults();
    expected.setValueForKey(changed, "textColor");
    expected.setValueForKey(NSColorPtr(), "bottomBarColor");
    expected.setValueForKey(false, "useNoise");
    EXPECT_TRUE(start()->overallAppearance() == expected);
}

TEST_F(QZThemeStoreTest, ResetsPutBackTheDefaultsOfTheirKeysOnly)
{
    NSColorPtr bar = rgba(0.9, 0.1, 0.1), nav = rgba(0.1, 0.9, 0.1), text = rgba(0.1, 0.1, 0.9);
    auto manager = start();
    OverallAppearance& record = manager->overallAppearance();
    record.setValueForKey(bar, "bottomBarColor");
    record.setValueForKey(nav, "navBarColor");
    record.setValueForKey(text, "textColor");
    manager->save();

    // navBarColor has no default: it becomes unset and follows the bottom bar again.
    manager->resetKeys({"navBarColor", "textColor", "notAnAttribute"});
    EXPECT_TRUE(record.navBarColor()->isEqual(*bar));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(record.primitiveValue(QZAttribute::navBarColor)));
    EXPECT_TRUE(record.textColor()->isEqual(*defaults().textColor()));
    EXPECT_TRUE(record.bottomBarColor()->isEqual(*bar));
    EXPECT_TRUE(start()->overallAppearance() == record);

    manager->resetAllKeys();
    EXPECT_TRUE(record == defaults());
    EXPECT_TRUE(start()->overallAppearance() == defaults());
}

// A store that cannot be read is renamed aside, never deleted, and the theme starts from the
// defaults; a store of a newer version counts as one.
TEST_F(QZThemeStoreTest, AnUnreadableStoreIsMovedAsideAndTheDefaultsLoad)
{
    start()->overallAppearance();
    std::string newer;
    {
        auto database = QZSQLiteDatabase::open(storePath(), QZSQLiteDatabase::Mode::ReadWrite, nullptr);
        ASSERT_TRUE(database && database->execute("PRAGMA user_version = 2", nullptr));
    }
    newer = *readFile(storePath());
    for (const std::string& bytes : {std::string("not a database at all, but a few words of text"), newer}) {
        fs::remove_all(storeFolder());
        fs::create_directories(storeFolder());
        writeFile(storePath(), bytes);
        NSLogCapture log;
        auto manager = start();
        EXPECT_TRUE(manager->overallAppearance() == defaults());
        std::vector<std::string> entries = storeFolderEntries();
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[0], "TesselSDKCustomization.sqlite");
        EXPECT_EQ(entries[1].rfind("TesselSDKCustomization.sqlite.unreadable-", 0), 0u) << entries[1];
        EXPECT_EQ(readFile(storeFolder() + "/" + entries[1]), bytes);
        EXPECT_TRUE(log.contains(entries[1])) << "the log says where it went";
    }
}

TEST_F(QZThemeStoreTest, AStoreFolderThatCannotBeMadeEndsTheApplication)
{
    writeFile(home_ / "file", "a file where a folder should be");
    QZScopedEnvironment data("XDG_DATA_HOME", home_ / "file/data");
    auto manager = start();
    try {
        manager->overallAppearance();
        FAIL() << "the application goes on";
    } catch (const QZApplicationEnded& ended) {
        EXPECT_EQ(std::string(ended.what()).rfind("Error creating application support directory: ", 0), 0u)
            << ended.what();
    }
}

TEST_F(QZThemeStoreTest, AFailedSaveEndsTheApplicationAndKeepsTheRecord)
{
    auto manager = start();
    OverallAppearance& record = manager->overallAppearance();
    {
        // Someone else breaks the store underneath the open connection.
        auto other = QZSQLiteDatabase::open(storePath(), QZSQLiteDatabase::Mode::ReadWrite, nullptr);
        ASSERT_TRUE(other && other->execute("DROP TABLE attribute", nullptr));
    }
    NSColorPtr changed = rgba(0.5, 0.5, 0.5);
    record.setValueForKey(changed, "textColor");
    EXPECT_THROW(manager->save(), QZApplicationEnded);
    EXPECT_TRUE(record.textColor()->isEqual(*changed));
}

}  // namespace
}  // namespace customizer::testing
