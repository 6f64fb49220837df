#include <gtest/gtest.h>

#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "testing/TestSandbox.h"

class QZRemoteConfigurationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sandbox.writeInfoPlist(Value::dictionary({{kQZAPIKeyInfoKey, "plist-key"},
                                                  {kQZContentServiceURLInfoKey, "http://plist.example/"},
                                                  {kQZStagingContentServiceURLInfoKey, "ftp://plist.example"}}));
    }
    void TearDown() override
    {
        QZRemoteConfiguration::setAPIKey(std::nullopt);
        QZRemoteConfiguration::setContentServiceRoot(std::nullopt);
        QZRemoteConfiguration::setStagingContentServiceRoot(std::nullopt);
    }
    TestSandbox sandbox;
};

TEST_F(QZRemoteConfigurationTest, OverridesReplaceInfoPlistUntilCleared)
{
    EXPECT_EQ(QZRemoteConfiguration::apiKey(), "plist-key");
    EXPECT_EQ(QZRemoteConfiguration::contentServiceRoot(), "http://plist.example");
    EXPECT_EQ(QZRemoteConfiguration::stagingContentServiceRoot(), std::nullopt) << "no http root";

    QZRemoteConfiguration::setAPIKey("tessel-example");
    EXPECT_TRUE(QZRemoteConfiguration::setContentServiceRoot("http://127.0.0.1:8080//"));
    EXPECT_TRUE(QZRemoteConfiguration::setStagingContentServiceRoot("https://staging.example"));
    EXPECT_EQ(QZRemoteConfiguration::apiKey(), "tessel-example");
    EXPECT_EQ(QZRemoteConfiguration::contentServiceRoot(), "http://127.0.0.1:8080");
    EXPECT_EQ(QZRemoteConfiguration::stagingContentServiceRoot(), "https://staging.example");

    // Empty values stand for none, whatever Info.plist says.
    QZRemoteConfiguration::setAPIKey("");
    EXPECT_TRUE(QZRemoteConfiguration::setContentServiceRoot(""));
    EXPECT_EQ(QZRemoteConfiguration::apiKey(), std::nullopt);
    EXPECT_EQ(QZRemoteConfiguration::contentServiceRoot(), std::nullopt);

    QZRemoteConfiguration::setAPIKey(std::nullopt);
    EXPECT_TRUE(QZRemoteConfiguration::setContentServiceRoot(std::nullopt));
    EXPECT_EQ(QZRemoteConfiguration::apiKey(), "plist-key");
    EXPECT_EQ(QZRemoteConfiguration::contentServiceRoot(), "http://plist.example");
}

TEST_F(QZRemoteConfigurationTest, RootsOfOtherSchemesAreRefusedAndChangeNothing)
{
    ASSERT_TRUE(QZRemoteConfiguration::setContentServiceRoot("http://127.0.0.1:1"));
    for (const char* root : {"file:///etc", "ftp://h", "127.0.0.1:8080", "httpx://h"}) {
        EXPECT_FALSE(QZRemoteConfiguration::setContentServiceRoot(root)) << root;
        EXPECT_EQ(QZRemoteConfiguration::contentServiceRoot(), "http://127.0.0.1:1") << root;
    }
}
