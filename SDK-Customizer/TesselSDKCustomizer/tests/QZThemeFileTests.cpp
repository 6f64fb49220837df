// Theme files: saving a complete copy, checking a file without changing it, and opening one
// without ever losing the current theme.

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "Model/QZCustomizationConstants.h"
#include "Model/QZPropertyList.h"
#include "Model/QZThemeDatabase.h"
#include "support/QZThemeStoreFixture.h"

namespace customizer::testing {
namespace {

namespace fs = std::filesystem;

NSColorPtr rgba(double r, double g, double b, double a = 1)
{
    return NSColor::colorWithCalibratedRed(r, g, b, a);
}

// Every colour its own value with its own alpha, a few colours unset, one flag set each way.
OverallAppearance everyKindOfValue()
{
    OverallAppearance theme;
    int i = 0;
    for (const QZAttributeDescription& d : QZAppearanceAttributes()) {
        ++i;
        if (d.kind == QZAttributeKind::Color && i % 7 != 3)
            theme.setValue(d.attribute, rgba(i / 56.0, 1 - i / 56.0, 0.5, 0.3 + i / 100.0));
    }
    theme.setValue(QZAttribute::useNoise, true);
    theme.setValue(QZAttribute::usesBlackTesselLogo, false);
    return theme;
}

class QZThemeFileTest : public QZThemeStoreTest {
protected:
    // A theme file holding the theme, saved by a manager of its own.
    std::string themeFile(const OverallAppearance& theme, const std::string& name)
    {
        QZTemporaryFolder other;
        QZScopedEnvironment data("XDG_DATA_HOME", other.path().string());
        QZCustomizationDataManager manager(TESSEL_CUSTOMIZER_RESOURCES_DIR);
        manager.overallAppearance() = theme;
        std::string path = files_ / name;
        EXPECT_FALSE(manager.saveDatabaseFileToPath(path));
        return path;
    }

    QZTemporaryFolder files_;
};

TEST_F(QZThemeFileTest, SavingThenOpeningRoundTripsEveryAttribute)
{
    OverallAppearance theme = everyKindOfValue();
    std::string path;
    {
        QZTemporaryFolder other;
        QZScopedEnvironment data("XDG_DATA_HOME", other.path().string());
        auto saver = start();
        // Unsaved changes are part of the file.
        saver->overallAppearance() = theme;
        path = files_ / (std::string("theme.") + TESSEL_CUSTOMIZATION_FILE_TYPE);
        ASSERT_FALSE(saver->saveDatabaseFileToPath(path));
    }
    auto manager = start();
    EXPECT_TRUE(manager->overallAppearance() == defaults());
    auto error = manager->loadDatabaseFileFromPath(path);
    ASSERT_FALSE(error) << error->reason;
    EXPECT_TRUE(manager->overallAppearance() == theme);
    EXPECT_TRUE(start()->overallAppearance() == theme);
    EXPECT_EQ(storeFolderEntries(), std::vector<std::string>{"TesselSDKCustomization.sqlite"});
}

TEST_F(QZThemeFileTest, SavingReplacesAnEarlierFileOnlyWithACompleteCopy)
{
    auto manager = start();
    std::string path = files_ / "theme.tslcst";
    writeFile(path, "an earlier file");
    ASSERT_FALSE(manager->saveDatabaseFileToPath(path));
    std::string error;
    EXPECT_TRUE(QZValidateThemeFile(path, &error)) << error;
    EXPECT_EQ(std::distance(fs::directory_iterator(files_.path()), fs::directory_iterator()), 1);

    // Under a regular file: refused, and nothing is left anywhere.
    writeFile(files_ / "plain", "a file");
    auto refused = manager->saveDatabaseFileToPath(files_ / "plain/theme.tslcst");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->message, kQZAlertFileNotSaved);
    EXPECT_NE(refused->reason.find("Not a directory"), std::string::npos) << refused->reason;
    EXPECT_EQ(std::distance(fs::directory_iterator(files_.path()), fs::directory_iterator()), 2);
}

TEST_F(QZThemeFileTest, CheckingAFileNeverChangesItAndOpeningARefusedOneChangesNothing)
{
    std::string ours = themeFile(everyKindOfValue(), "ours.tslcst");
    auto sqliteFile = [&](const std::string& name, const std::string& sql) {
        std::string path = files_ / name;
        auto database = QZSQLiteDatabase::open(path, QZSQLiteDatabase::Mode::Create, nullptr);
        EXPECT_TRUE(database && database->execute(sql, nullptr)) << name;
        return path;
    };
    std::string header =
        "PRAGMA application_id = " + std::to_string(kQZThemeApplicationID) + "; PRAGMA user_version = 1;";
    std::string columns = "(name TEXT PRIMARY KEY NOT NULL, red REAL, green REAL, blue REAL, alpha REAL, flag INTEGER)";
    writeFile(files_ / "text.tslcst", "Just some text, not a theme.\n");
    writeFile(files_ / "truncated.tslcst", readFile(ours)->substr(0, 4096));
    std::string damaged = *readFile(ours);
    damaged.replace(4096, 8, std::string(8, '\xff'));  // the table's page, past the schema
    writeFile(files_ / "damaged.tslcst", damaged);
    writeFile(files_ / "newer.tslcst", *readFile(ours));
    {
        auto newer = QZSQLiteDatabase::open(files_ / "newer.tslcst", QZSQLiteDatabase::Mode::ReadWrite, nullptr);
        ASSERT_TRUE(newer && newer->execute("PRAGMA user_version = 2", nullptr));
    }
    struct Row {
        std::string path;
        bool valid;
    } rows[] = {
        {files_ / "text.tslcst", false},
        {files_ / "truncated.tslcst", false},
        {files_ / "damaged.tslcst", false},
        {sqliteFile("other.sqlite", "CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('hello');"), false},
        {sqliteFile("noTable.tslcst", header), false},
        {sqliteFile("view.tslcst",
                    header + "CREATE TABLE base " + columns + "; CREATE VIEW attribute AS SELECT * FROM base;"),
         false},
        {sqliteFile("columns.tslcst", header + "CREATE TABLE attribute (name TEXT, value BLOB);"), false},
        {files_ / "newer.tslcst", false},
        {ours, true},
    };

    auto manager = start();
    OverallAppearance& record = manager->overallAppearance();
    record.setValueForKey(rgba(0.25, 0.5, 0.75), "textColor");
    manager->save();
    OverallAppearance before = record;
    std::string storeBytes = *readFile(storePath());
    int changes = 0;
    QZScopedConnection connection = CUSTOMIZATION_CONFIGURATION_CHANGED.connect([&] { ++changes; });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        std::string bytes = *readFile(row.path);
        std::string error;
        EXPECT_EQ(manager->validateDatabaseFileAtPath(row.path, &error), row.valid) << error;
        if (!row.valid) {
            EXPECT_FALSE(error.empty());
            auto refused = manager->loadDatabaseFileFromPath(row.path);
            ASSERT_TRUE(refused);
            EXPECT_EQ(refused->message, kQZAlertFileRefused);
            EXPECT_TRUE(record == before);
            EXPECT_EQ(readFile(storePath()), storeBytes);
        }
        EXPECT_EQ(readFile(row.path), bytes) << "the file was changed";
        EXPECT_FALSE(fs::exists(row.path + "-journal"));
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(storeFolderEntries(), std::vector<std::string>{"TesselSDKCustomization.sqlite"});
}

// What is no file in place of a theme or a property list: refused at once with the reason, where
// opening a FIFO would wait for a writer for ever.
TEST_F(QZThemeFileTest, ADirectoryADeviceOrAFifoIsRefusedWithoutOpeningIt)
{
    const std::string fifo = files_ / "theme.tslcst";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string notRegular = "is not a regular file (a device, a FIFO or a socket)";
    const std::pair<std::string, std::string> cases[] = {
        {files_.path().string(), "is a directory"}, {"/dev/zero", notRegular}, {fifo, notRegular}};
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        std::string error;
        EXPECT_FALSE(QZValidateThemeFile(path, &error));
        EXPECT_EQ(error, path + ": " + reason);
        error.clear();
        EXPECT_FALSE(QZReadThemeFile(path, &error));
        EXPECT_EQ(error, path + ": " + reason);
        error.clear();
        EXPECT_FALSE(QZReadPropertyListFile(path, &error));
        EXPECT_EQ(error, path + ": " + reason);
    }
}

// A failure at any step of installing the chosen file keeps the current theme, in memory and
// after a restart, with the alert of that step; success tells the panels once.
TEST_F(QZThemeFileTest, AFailedInstallKeepsTheThemeAndOnlySuccessIsAnnounced)
{
    OverallAppearance chosen = everyKindOfValue();
    std::string path = themeFile(chosen, "chosen.tslcst");
    auto manager = start();
    OverallAppearance& record = manager->overallAppearance();
    record.setValueForKey(rgba(0.9, 0.8, 0.7), "bottomBarColor");
    manager->save();
    OverallAppearance current = record;
    int changes = 0;
    QZScopedConnection connection = CUSTOMIZATION_CONFIGURATION_CHANGED.connect([&] { ++changes; });

    struct Row {
        const char* step;
        const char* alert;
    } rows[] = {
        {"copy chosen file", kQZAlertFileNotInstalled},
        {"move store aside", kQZAlertFileNotLoaded},
        {"move copy in", kQZAlertFileNotLoaded},
        {"open new store", kQZAlertFileNotLoaded},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.step);
        std::string step = row.step;
        QZCustomizationDataManager::setFaultInjectorForTesting([step](std::string_view at) { return at == step; });
        auto failed = manager->loadDatabaseFileFromPath(path);
        ASSERT_TRUE(failed);
        EXPECT_EQ(failed->message, row.alert);
        EXPECT_TRUE(record == current);
        EXPECT_EQ(storeFolderEntries(), std::vector<std::string>{"TesselSDKCustomization.sqlite"});
        EXPECT_TRUE(start()->overallAppearance() == current);
        // The reopened store still takes changes.
        manager->save();
    }
    EXPECT_EQ(changes, 0);

    QZCustomizationDataManager::setFaultInjectorForTesting(nullptr);
    ASSERT_FALSE(manager->loadDatabaseFileFromPath(path));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(record == chosen);
    EXPECT_TRUE(start()->overallAppearance() == chosen);
    EXPECT_EQ(storeFolderEntries(), std::vector<std::string>{"TesselSDKCustomization.sqlite"});

    // A connection that went out of scope hears nothing more.
    connection.disconnect();
    ASSERT_FALSE(manager->loadDatabaseFileFromPath(path));
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace customizer::testing
