#include "Foundation/NSFileManager.h"
#include "Foundation/NSPathUtilities.h"
#include "Foundation/PlatformSettings.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class NSFileManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("NSFileManagerTest." + std::to_string(getpid()));
        fs::remove_all(root_);
        PlatformSettings::setSandboxRoot(root_.string());
    }
    void TearDown() override
    {
        PlatformSettings::reset();
        fs::remove_all(root_);
    }
    fs::path root_;
};

TEST_F(NSFileManagerTest, StandardDirectoriesLiveUnderTheSandboxRoot)
{
    auto fm = NSFileManager::defaultManager();
    struct Case {
        NSSearchPathDirectory directory;
        const char* relative;
        bool exists;
    };
    const Case cases[] = {
        {NSDocumentDirectory, "Documents", true},
        {NSLibraryDirectory, "Library", true},
        {NSCachesDirectory, "Library/Caches", true},
        {NSApplicationSupportDirectory, "Library/Application Support", false},  // made by whoever needs it
    };
    for (const auto& c : cases) {
        auto paths = NSSearchPathForDirectoriesInDomains(c.directory, NSUserDomainMask, true);
        ASSERT_EQ(paths.size(), 1u);
        EXPECT_EQ(paths[0], (root_ / c.relative).string());
        bool isDirectory = false;
        EXPECT_EQ(fm->fileExistsAtPath(paths[0], &isDirectory), c.exists) << c.relative;
        EXPECT_EQ(isDirectory, c.exists);
    }
    EXPECT_EQ(NSTemporaryDirectory(), (root_ / "tmp").string() + "/");
}

TEST_F(NSFileManagerTest, DirectoryCreationMoveAndRemovalReportFailures)
{
    auto fm = NSFileManager::defaultManager();
    std::string deep = (root_ / "a" / "b" / "c").string();
    std::shared_ptr<NSError> error;
    EXPECT_FALSE(fm->createDirectoryAtPath(deep, false, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), NSPOSIXErrorDomain);
    EXPECT_EQ(error->code(), ENOENT);
    EXPECT_TRUE(fm->createDirectoryAtPath(deep, true));
    EXPECT_TRUE(fm->createDirectoryAtPath(deep, true)) << "an existing directory is not an error";

    std::ofstream(root_ / "file.txt") << "x";
    error.reset();
    EXPECT_FALSE(fm->createDirectoryAtPath((root_ / "file.txt").string(), true, &error)) << "a file is in the way";
    EXPECT_TRUE(error);

    std::ofstream(root_ / "other.txt") << "y";
    error.reset();
    EXPECT_FALSE(fm->moveItemAtPath((root_ / "other.txt").string(), (root_ / "file.txt").string(), &error));
    EXPECT_EQ(error ? error->code() : 0, EEXIST);
    EXPECT_TRUE(fm->moveItemAtPath((root_ / "other.txt").string(), (root_ / "a" / "moved.txt").string()));
    EXPECT_EQ(fm->contentsOfDirectoryAtPath((root_ / "a").string()), (std::vector<std::string>{"b", "moved.txt"}));

    EXPECT_TRUE(fm->removeItemAtPath((root_ / "a").string()));
    EXPECT_FALSE(fm->fileExistsAtPath(deep));
    error.reset();
    EXPECT_FALSE(fm->removeItemAtPath((root_ / "a").string(), &error));
    EXPECT_EQ(error ? error->code() : 0, ENOENT);
}

TEST_F(NSFileManagerTest, CopyKeepsTheSourceAndNeverReplaces)
{
    auto fm = NSFileManager::defaultManager();
    std::ofstream(root_ / "store.sqlite") << "prebuilt";
    std::ofstream(root_ / "existing.sqlite") << "mine";
    std::shared_ptr<NSError> error;
    EXPECT_FALSE(fm->copyItemAtPath((root_ / "store.sqlite").string(), (root_ / "existing.sqlite").string(), &error));
    EXPECT_EQ(error ? error->code() : 0, EEXIST);
    std::string kept;
    std::ifstream(root_ / "existing.sqlite") >> kept;
    EXPECT_EQ(kept, "mine");

    EXPECT_TRUE(fm->copyItemAtPath((root_ / "store.sqlite").string(), (root_ / "copy.sqlite").string()));
    std::string copied;
    std::ifstream(root_ / "copy.sqlite") >> copied;
    EXPECT_EQ(copied, "prebuilt");
    EXPECT_TRUE(fm->fileExistsAtPath((root_ / "store.sqlite").string()));

    error.reset();
    EXPECT_FALSE(fm->copyItemAtPath((root_ / "missing.sqlite").string(), (root_ / "other.sqlite").string(), &error));
    EXPECT_EQ(error ? error->code() : 0, ENOENT);
}

}  // namespace
