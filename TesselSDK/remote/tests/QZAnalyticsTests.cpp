#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "Foundation/NSLogCapture.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDK/remote/QZAnalytics.h"
#include "TesselSDK/remote/tests/QZTestMetricsSession.h"

namespace {

class QZAnalyticsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sandbox_ = std::filesystem::temp_directory_path() / ("QZAnalyticsTest." + std::to_string(getpid()));
        std::filesystem::remove_all(sandbox_);
        std::filesystem::create_directories(sandbox_);
        PlatformSettings::setSandboxRoot(sandbox_.string());
        PlatformSettings::setMainBundlePath(sandbox_.string());  // no Info.plist
        PlatformSettings::setBundleIdentifier("com.tessel.host");
        NSUserDefaults::resetStandardUserDefaults();
    }
    void TearDown() override
    {
        QZTestMetricsSession::unregisterClass();
        NSUserDefaults::resetStandardUserDefaults();
        PlatformSettings::reset();
        std::filesystem::remove_all(sandbox_);
    }
    std::filesystem::path sandbox_;
};

TEST_F(QZAnalyticsTest, WithoutASessionClassNothingIsReported)
{
    NSLogCapture log;
    EXPECT_FALSE(QZAnalytics::attachedAnalyticsLibraryExists());
    QZAnalytics::reportEvent("event", Value::dictionary({{"a", "b"}}));
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(QZAnalyticsTest, EventsCarryTheStandardAttributesWithTheGivenOnesOverThem)
{
    NSUserDefaults::standardUserDefaults()->setObject(3, "kQZPushNotificationState");
    auto session = NSObject::create<QZTestMetricsSession>();
    QZTestMetricsSession::registerClass(session);
    EXPECT_TRUE(QZAnalytics::attachedAnalyticsLibraryExists());

    QZAnalytics::reportEvent("first", Value());
    QZAnalytics::reportEvent("second", Value::dictionary({{"appId", "caller"}, {"extra", "1"}}));
    ASSERT_EQ(session->events.size(), 2u);
    EXPECT_EQ(session->events[0].first, "first");
    EXPECT_EQ(session->events[0].second, Value::dictionary({{"appId", "com.tessel.host"},
                                                            {"sdkVersion", "3.3.11"},
                                                            {"pushNotificationState", 3}}));
    EXPECT_EQ(session->events[1].first, "second");
    EXPECT_EQ(session->events[1].second["appId"], Value("caller"));
    EXPECT_EQ(session->events[1].second["extra"], Value("1"));
    EXPECT_EQ(session->events[1].second["sdkVersion"], Value("3.3.11"));
    // The given attributes do not leak into the standard ones.
    EXPECT_EQ(QZAnalytics::standardAttributes()["appId"], Value("com.tessel.host"));
    EXPECT_TRUE(QZAnalytics::standardAttributes()["extra"].isNil());
}

TEST_F(QZAnalyticsTest, ANilSessionIsLoggedAndTheEventDropped)
{
    QZTestMetricsSession::registerClass(nullptr);
    NSLogCapture log;
    QZAnalytics::reportEvent("event", Value());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"+[QZAnalytics reportEvent:attributes:] Invalid session"});
}

}  // namespace
