#include "Foundation/NSFileManager.h"
#include "Foundation/NSPathUtilities.h"
#include "Foundation/PlatformSettings.h"

#include "testing/FaultInjection.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

class NSFileManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("NSFileManagerTest." + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
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

std::string contents(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool sameDevice(const fs::path& a, const fs::path& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev;
}

TEST_F(NSFileManagerTest, ReplaceSwapsTheWholeFileOrLeavesTheDestinationAsItWas)
{
    auto fm = NSFileManager::defaultManager();
    const fs::path destination = root_ / "pack.zip";
    // The other file system (tmpfs) makes rename(2) fail with EXDEV.
    const fs::path elsewhere = fs::path("/dev/shm") / ("NSFileManagerTest." + std::to_string(getpid()));
    fs::create_directories(elsewhere);
    struct Case {
        const char* name;
        fs::path source;
        bool sourceExists;
        std::uint64_t fileSizeLimit;  // 0: none
        bool replaces;
    };
    const std::string big(256 * 1024, 'n');
    const Case cases[] = {
        {"same file system", root_ / "new.download", true, 0, true},
        {"missing source", root_ / "absent.download", false, 0, false},
        {"another file system", elsewhere / "new.download", true, 0, true},
        {"another file system, disk full during the copy", elsewhere / "new.download", true, 64 * 1024, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.source.parent_path() == elsewhere && sameDevice(elsewhere, root_)) {
            ADD_FAILURE() << "/dev/shm is on the sandbox's file system: the copy is not exercised";
            continue;
        }
        std::ofstream(destination, std::ios::binary) << "old";
        if (c.sourceExists) std::ofstream(c.source, std::ios::binary) << big;
        int status = runInChildWithFileSizeLimit(c.fileSizeLimit ? c.fileSizeLimit : ~0ull, [&] {
            std::shared_ptr<NSError> error;
            bool replaced = fm->replaceItemAtPath(destination.string(), c.source.string(), &error);
            return replaced == c.replaces && replaced == !error ? 0 : 1;
        });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(contents(destination), c.replaces ? big : "old");
        EXPECT_EQ(fs::exists(c.source), c.sourceExists && !c.replaces);
        EXPECT_EQ(fm->contentsOfDirectoryAtPath(root_.string()), std::vector<std::string>{"pack.zip"})
            << "no hidden copy is left";
        fs::remove(c.source);
    }
    fs::remove_all(elsewhere);
}

TEST_F(NSFileManagerTest, CopyKeepsTheSourceAndNeverReplaces)
{
    auto fm = NSFileManager::defaultManager();
    std::filesystem::create_directories(root_);
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
