#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <filesystem>

#include "Foundation/NSLogCapture.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDKFoundation/tests/QZResourceFixture.h"
#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"

namespace fs = std::filesystem;

namespace {

// The host is named "TesselHost" by its Info.plist; its sandbox is the fixture's.
class QZFileSystemUtilsTest : public QZResourceFixture {
protected:
    void SetUp() override
    {
        QZResourceFixture::SetUp();
        ASSERT_TRUE(Value::dictionary({{"CFBundleExecutable", "TesselHost"}, {"CFBundleIdentifier", "com.tessel.host"}})
                        .writePropertyListToFile((mainBundle() / "Info.plist").string(), NSPropertyListFormat::XML));
    }
    fs::path applicationSupport() const { return sandbox() / "Library" / "Application Support" / "TesselHost"; }
    fs::path current() const { return applicationSupport() / "TesselContentPacks"; }
    fs::path old() const { return sandbox() / "Documents" / "TesselContentPacks"; }

    static int skipBackupMark(const fs::path& path)
    {
        unsigned char value = 0;
        ssize_t size = getxattr(path.c_str(), "user.com.apple.MobileBackup", &value, 1);
        return size == 1 ? value : -1;
    }
    // Whether this file system keeps attributes of the "user." namespace.
    bool userAttributesSupported() const
    {
        fs::path probe = root_ / "probe";
        writeAt(probe, "");
        const char one = 1;
        return setxattr(probe.c_str(), "user.tessel.probe", &one, 1, 0) == 0;
    }
};

TEST_F(QZFileSystemUtilsTest, DirectoriesLieInTheSandbox)
{
    EXPECT_EQ(QZFileSystemUtils::applicationDocumentsDirectory(), (sandbox() / "Documents").string());
    EXPECT_EQ(QZFileSystemUtils::temporaryDirectory(), (sandbox() / "tmp").string() + "/");
    EXPECT_EQ(QZFileSystemUtils::applicationSupportDirectory(), applicationSupport().string());
    EXPECT_TRUE(fs::is_directory(applicationSupport()));
    EXPECT_EQ(QZFileSystemUtils::currentResourcesDirectory(), current().string());
    EXPECT_EQ(QZFileSystemUtils::oldResourcesDirectory(), old().string());

    std::shared_ptr<NSError> error = NSError::errorWithDescription("stale", 1, "stale");
    EXPECT_EQ(QZFileSystemUtils::findOrCreateDirectory(NSCachesDirectory, NSUserDomainMask, "a/b", &error),
              (sandbox() / "Library" / "Caches" / "a" / "b").string());
    EXPECT_FALSE(error);
    EXPECT_TRUE(fs::is_directory(sandbox() / "Library" / "Caches" / "a" / "b"));
    EXPECT_EQ(QZFileSystemUtils::findOrCreateDirectory(NSCachesDirectory, NSUserDomainMask, "", nullptr),
              (sandbox() / "Library" / "Caches").string());
}

TEST_F(QZFileSystemUtilsTest, FreshStartMakesTheContentDirectoryOnce)
{
    auto resolved = QZFileSystemUtils::resourcesDirectoryURL();
    ASSERT_EQ(resolved, current().string());
    EXPECT_TRUE(fs::is_directory(current()));
    // Resolved once per process: later changes on disk do not move it.
    fs::remove_all(current());
    EXPECT_EQ(QZFileSystemUtils::resourcesDirectoryURL(), current().string());
    EXPECT_FALSE(fs::exists(current()));
}

TEST_F(QZFileSystemUtilsTest, AnOlderInstallsDocumentsDirectoryIsMovedAndUsed)
{
    writeAt(old() / "pack1" / "recipe.json", "{}");
    ASSERT_EQ(QZFileSystemUtils::resourcesDirectoryURL(), current().string());
    EXPECT_TRUE(fs::exists(current() / "pack1" / "recipe.json"));
    EXPECT_FALSE(fs::exists(old()));
}

TEST_F(QZFileSystemUtilsTest, AnExistingContentDirectoryWinsOverTheOldOne)
{
    fs::create_directories(current());
    writeAt(old() / "pack1" / "recipe.json", "{}");
    ASSERT_EQ(QZFileSystemUtils::resourcesDirectoryURL(), current().string());
    EXPECT_TRUE(fs::exists(old() / "pack1" / "recipe.json"));
}

TEST_F(QZFileSystemUtilsTest, APlainFileInTheWayGivesNoContentDirectory)
{
    writeAt(current(), "not a directory");
    NSLogCapture log;
    EXPECT_EQ(QZFileSystemUtils::resourcesDirectoryURL(), std::nullopt);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"__42+[QZFileSystemUtils resourcesDirectoryURL]_block_invoke "
                                                    "Unexpected non-directory item encountered at " +
                                                    current().string()});
    EXPECT_EQ(QZFileSystemUtils::resourcesDirectoryURL(), std::nullopt);
}

TEST_F(QZFileSystemUtilsTest, NewDirectoriesAreMarkedNotToBeBackedUp)
{
    if (!userAttributesSupported()) GTEST_SKIP() << "this file system keeps no user extended attributes";
    ASSERT_EQ(QZFileSystemUtils::resourcesDirectoryURL(), current().string());
    EXPECT_EQ(skipBackupMark(current()), 1);
    // An existing directory is marked too.
    fs::create_directories(root_ / "existing");
    EXPECT_TRUE(QZFileSystemUtils::findOrCreateDirectoryAtURL((root_ / "existing").string()));
    EXPECT_EQ(skipBackupMark(root_ / "existing"), 1);
}

TEST_F(QZFileSystemUtilsTest, MakingADirectoryFailsOnlyWhenItCannotBeMade)
{
    NSLogCapture log;
    // Nothing to mark: the attribute cannot be set, which is logged and does not count.
    fs::create_symlink(root_ / "nowhere", root_ / "dangling");
    EXPECT_FALSE(QZFileSystemUtils::addSkipBackupAttributeToItemAtURL((root_ / "dangling").string()));
    EXPECT_TRUE(QZFileSystemUtils::findOrCreateDirectoryAtURL((root_ / "dangling").string()));
    EXPECT_TRUE(log.contains("+[QZFileSystemUtils findOrCreateDirectoryAtURL:] Couldn't add do-not-backup attribute to "
                             "item at URL: " +
                             (root_ / "dangling").string()));
    // One level only: a missing parent is an error (ENOENT).
    EXPECT_FALSE(QZFileSystemUtils::findOrCreateDirectoryAtURL((root_ / "missing" / "child").string()));
    EXPECT_TRUE(log.contains("+[QZFileSystemUtils findOrCreateDirectoryAtURL:] Error finding or creating resources "
                             "directory (2)."));
}

TEST_F(QZFileSystemUtilsTest, AnApplicationSupportFailureIsReportedToAnalyticsAndLogged)
{
    auto session = NSObject::create<QZTestMetricsSession>();
    QZTestMetricsSession::registerClass(session);
    writeAt(sandbox() / "Library" / "Application Support", "a file where the directory belongs");
    NSLogCapture log;
    EXPECT_EQ(QZFileSystemUtils::applicationSupportDirectory(), std::nullopt);
    ASSERT_EQ(session->events.size(), 1u);
    EXPECT_EQ(session->events[0].first, "applicationSupportDirectoryLocation: Failure");
    EXPECT_FALSE(session->events[0].second["error Message"].stringValue().empty());
    EXPECT_TRUE(log.contains("Unable to find or create application support directory:\n"));
    // Without it there is no content directory either.
    EXPECT_EQ(QZFileSystemUtils::resourcesDirectoryURL(), std::nullopt);
    QZTestMetricsSession::unregisterClass();
}

}  // namespace
