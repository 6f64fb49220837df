#include "testing/TestSandbox.h"

#include "Foundation/NSBundle.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(TestSandboxTest, GivesEachTestFreshDirectoriesAndDefaultsAndRemovesThem)
{
    std::string root;
    {
        TestSandbox sandbox;
        root = sandbox.root();
        EXPECT_EQ(PlatformSettings::sandboxRoot(), sandbox.sandboxRoot());
        EXPECT_EQ(NSBundle::mainBundle()->bundlePath(), sandbox.mainBundlePath());
        sandbox.writeInfoPlist(Value::dictionary({{"QZApiKey", "KEY"}}));
        EXPECT_EQ(Value::fromPropertyListFile(sandbox.mainBundlePath() + "/Info.plist")["QZApiKey"].stringValue(),
                  "KEY");
        NSUserDefaults::standardUserDefaults()->setObject(Value("x"), "kQZCDSLastUpdate");
    }
    EXPECT_FALSE(std::filesystem::exists(root));
    TestSandbox next;
    EXPECT_NE(next.root(), root);
    EXPECT_TRUE(NSUserDefaults::standardUserDefaults()->objectForKey("kQZCDSLastUpdate").isNil());
}
