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

TEST_F(QZAnalyticsTest, ImageSizesFallIntoBucketsOfTheLongerSide)
{
    const std::pair<CGSize, const char*> cases[] = {
        {CGSizeMake(200, 100), "<200px"},       {CGSizeMake(0, 0), "<200px"},
        {CGSizeMake(199.9f, 0), "<200px"},      {CGSizeMake(201, 50), "201-400px"},
        {CGSizeMake(50, 400.5f), "201-400px"},  {CGSizeMake(401, 1), "401-600px"},
        {CGSizeMake(800, 800), "601-800px"},    {CGSizeMake(1024, 1024), "801-1024px"},
        {CGSizeMake(2048, 10), "1025-2048px"},  {CGSizeMake(2049, 10), ">2048px"},
        {CGSizeMake(1e30f, 1), ">2048px"},
    };
    for (const auto& [size, bucket] : cases)
        EXPECT_EQ(QZAnalytics::bucketStringForImageSize(size), bucket) << size.width << " x " << size.height;
}

// Needs a process of its own (as ctest runs it): the attributes are built once per process.
TEST_F(QZAnalyticsTest, WithoutASessionClassNoCallLogsOrBuildsTheAttributes)
{
    NSLogCapture log;
    QZAnalytics::reportEvent("event", Value());
    QZAnalytics::reportScreen("screen");
    QZAnalytics::resumeSession();
    QZAnalytics::finalizeSession();
    EXPECT_TRUE(log.lines().empty());
    // Built only now: the state written after those calls is in them.
    NSUserDefaults::standardUserDefaults()->setObject(7, "kQZPushNotificationState");
    auto session = NSObject::create<QZTestMetricsSession>();
    QZTestMetricsSession::registerClass(session);
    QZAnalytics::reportEvent("event", Value());
    ASSERT_EQ(session->events.size(), 1u);
    EXPECT_EQ(session->events[0].second["pushNotificationState"], Value(7));
}

TEST_F(QZAnalyticsTest, SessionsAndScreensSendTheirMessagesInOrder)
{
    const std::filesystem::path host = sandbox_ / "Host.app";
    std::filesystem::create_directories(host);
    Value info = Value::dictionary({{"CFBundleIdentifier", "com.tessel.host"}, {"TesselAPIKey", "k-123"}});
    ASSERT_TRUE(info.writePropertyListToFile((host / "Info.plist").string(), NSPropertyListFormat::XML));
    PlatformSettings::setMainBundlePath(host.string());
    auto session = NSObject::create<QZTestMetricsSession>();
    QZTestMetricsSession::registerClass(session);

    QZAnalytics::resumeSession();
    QZAnalytics::reportScreen("SDK Home");
    QZAnalytics::finalizeSession();
    EXPECT_EQ(session->calls,
              (std::vector<std::string>{"MetricsSession 3c7a19e0b5d24f8a61e0c9d-7b2e4a10-9c3d-4e5f-a6b7-c8d9e0f1a2b3",
                                        "setCustomDimension 0 com.tessel.host - k-123", "open", "upload",
                                        "tagScreen SDK Home", "upload", "close"}));

    QZTestMetricsSession::registerClass(nullptr);
    NSLogCapture log;
    QZAnalytics::reportScreen("screen");
    QZAnalytics::resumeSession();
    QZAnalytics::finalizeSession();
    EXPECT_EQ(log.lines(), std::vector<std::string>{"+[QZAnalytics reportScreen:] Invalid session"});
}

TEST_F(QZAnalyticsTest, QuickLaunchJoinsAndLeavesTheStandardAttributes)
{
    auto session = NSObject::create<QZTestMetricsSession>();
    QZTestMetricsSession::registerClass(session);
    const Value before = QZAnalytics::standardAttributes();
    QZAnalytics::setQuickLaunch(false);
    EXPECT_EQ(QZAnalytics::standardAttributes(), before);
    QZAnalytics::setQuickLaunch(true);
    QZAnalytics::reportEvent("event", Value());
    QZAnalytics::setQuickLaunch(false);
    QZAnalytics::reportEvent("event", Value());
    ASSERT_EQ(session->events.size(), 2u);
    EXPECT_EQ(session->events[0].second["isQuickLaunch"], Value(true));
    EXPECT_TRUE(session->events[1].second["isQuickLaunch"].isNil());
    EXPECT_EQ(QZAnalytics::standardAttributes(), before);
}

}  // namespace
