#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

class NSUserDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = std::filesystem::temp_directory_path() / ("NSUserDefaultsTest." + std::to_string(getpid()));
        std::filesystem::remove_all(root_);
        PlatformSettings::setSandboxRoot(root_.string());
        NSUserDefaults::resetStandardUserDefaults();
    }
    void TearDown() override
    {
        NSUserDefaults::resetStandardUserDefaults();
        PlatformSettings::reset();
        std::filesystem::remove_all(root_);
    }
    int runWriter(const std::string& key, const std::string& value)
    {
        std::string command =
            std::string("'") + DEFAULTS_WRITER + "' '" + root_.string() + "' '" + key + "' '" + value + "'";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::filesystem::path root_;
};

TEST_F(NSUserDefaultsTest, ValuesPersistAcrossProcessesOnceSynchronised)
{
    // Another process writes; this one reads it on its next start (a fresh standard instance).
    ASSERT_EQ(runWriter("kFromChild", "written by the child"), 0);
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKey("kFromChild"), Value("written by the child"));

    // This process writes; a second process adds its key without losing ours.
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(Value::dictionary({{"n", 3}}), "kFromParent");
    ASSERT_TRUE(defaults->synchronize());
    ASSERT_EQ(runWriter("kSecond", "x"), 0);
    NSUserDefaults::resetStandardUserDefaults();
    defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults->objectForKey("kFromParent"), Value::dictionary({{"n", 3}}));
    EXPECT_EQ(defaults->objectForKey("kSecond"), Value("x"));
    EXPECT_EQ(defaults->objectForKey("kFromChild"), Value("written by the child"));
}

TEST_F(NSUserDefaultsTest, UnsynchronisedChangesAndNonPropertyListValuesAreNotStored)
{
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(Value("kept in memory"), "kLocal");
    defaults->setObject(Value::array({Value::null()}), "kRefused");
    EXPECT_EQ(defaults->objectForKey("kLocal"), Value("kept in memory"));
    EXPECT_TRUE(defaults->objectForKey("kRefused").isNil());
    NSUserDefaults::resetStandardUserDefaults();
    EXPECT_TRUE(NSUserDefaults::standardUserDefaults()->objectForKey("kLocal").isNil());
}

}  // namespace
