// The user defaults' key file: where it lives, what an absent key reads, and that each write
// is on disk at once.

#include <gtest/gtest.h>

#include "App/QZUserDefaults.h"
#include "support/QZTestFolders.h"

namespace customizer {
namespace {

using testing::QZScopedEnvironment;
using testing::QZTemporaryFolder;

TEST(QZUserDefaults, AbsentKeysReadNoAndEachWriteIsSavedAtOnce)
{
    QZTemporaryFolder home;
    QZScopedEnvironment config("XDG_CONFIG_HOME", home / "config");
    EXPECT_EQ(QZUserDefaults::defaultPath(), home / "config/TesselSDKCustomizer/preferences.ini");

    QZUserDefaults defaults;
    for (const char* key : {COMPRESS_PNGS_DISABLED_KEY, SHOW_BUTTONS_KEY, SHOW_ICONS_KEY, HIGHLIGHTED_BUTTONS_KEY})
        EXPECT_FALSE(defaults.boolForKey(key)) << key;

    ASSERT_TRUE(defaults.setBoolForKey(SHOW_ICONS_KEY, true));
    ASSERT_TRUE(defaults.setBoolForKey(COMPRESS_PNGS_DISABLED_KEY, true));
    EXPECT_TRUE(QZUserDefaults().boolForKey(SHOW_ICONS_KEY));
    ASSERT_TRUE(defaults.setBoolForKey(COMPRESS_PNGS_DISABLED_KEY, false));
    QZUserDefaults reread;
    EXPECT_FALSE(reread.boolForKey(COMPRESS_PNGS_DISABLED_KEY));
    EXPECT_TRUE(reread.boolForKey(SHOW_ICONS_KEY));
}

TEST(QZUserDefaults, ARelativeConfigHomeIsIgnored)
{
    QZTemporaryFolder home;
    QZScopedEnvironment homeVariable("HOME", home.path().string());
    QZScopedEnvironment config("XDG_CONFIG_HOME", std::string("relative/config"));
    EXPECT_EQ(QZUserDefaults::defaultPath(), home / ".config/TesselSDKCustomizer/preferences.ini");
}

TEST(QZUserDefaults, AFailedWriteSaysSoAndKeepsTheValueForThisRun)
{
    QZTemporaryFolder home;
    // The file's folder is a file: nothing can be written beside the key file.
    testing::writeFile(home.path() / "blocked", "");
    QZUserDefaults blocked(home / "blocked/preferences.ini");
    EXPECT_FALSE(blocked.setBoolForKey(SHOW_BUTTONS_KEY, true));
    EXPECT_TRUE(blocked.boolForKey(SHOW_BUTTONS_KEY));
}

}  // namespace
}  // namespace customizer
