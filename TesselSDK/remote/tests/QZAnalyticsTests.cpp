#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "Foundation/NSLogCapture.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDK/remote/QZABTestManager.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"

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
    // The standard attributes were not made by the event: made now, they see what the host wrote
    // since.
    NSUserDefaults::standardUserDefaults()->setObject(2, "kQZPushNotificationState");
    EXPECT_EQ(QZAnalytics::standardAttributes()["pushNotificationState"], Value(2));
}

TEST_F(QZAnalyticsTest, EventsCarryTheStandardAttributesWithTheGivenOnesOverThem)
{
    TesselSDKRemoteRegisterClasses();
    NSUserDefaults::standardUserDefaults()->setObject(3, "kQZPushNotificationState");
    auto session = NSObject::create<QZTestMetricsSession>();
    QZTestMetricsSession::registerClass(session);
    EXPECT_TRUE(QZAnalytics::attachedAnalyticsLibraryExists());

    QZAnalytics::reportEvent("first", Value());
    QZAnalytics::reportEvent("second", Value::dictionary({{"appId", "caller"}, {"extra", "1"}}));
    ASSERT_EQ(session->events.size(), 2u);
    EXPECT_EQ(session->events[0].first, "first");
    EXPECT_EQ(session->events[0].second, Value::dictionary({{"pushNotificationEligible", 0},
                                                            {"appId", "com.tessel.host"},
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

TEST_F(QZAnalyticsTest, AWinnerStoredBeforeTheFirstReportMakesThePushNotificationEligible)
{
    TesselSDKRemoteRegisterClasses();
    NSUserDefaults::standardUserDefaults()->setObject(
        Value::dictionary({{kQZABTestValue, 1}, {kQZABTestPermanance, true}}), kQZPushNotificationStatus);
    auto session = NSObject::create<QZTestMetricsSession>();
    QZTestMetricsSession::registerClass(session);
    QZAnalytics::reportEvent("event", Value());
    ASSERT_EQ(session->events.size(), 1u);
    EXPECT_EQ(session->events[0].second["pushNotificationEligible"], Value(1));
    // Built once: a later change does not reach this process's attributes.
    NSUserDefaults::standardUserDefaults()->removeObjectForKey(kQZPushNotificationStatus);
    QZABTestManager::sharedManager()->reloadValues();
    EXPECT_EQ(QZAnalytics::standardAttributes()["pushNotificationEligible"], Value(1));
}

TEST_F(QZAnalyticsTest, WithoutTheRemoteLibraryThereAreNoABEntries)
{
    EXPECT_TRUE(QZAnalytics::standardAttributes()["pushNotificationEligible"].isNil());
}

TEST_F(QZAnalyticsTest, TheQuickLaunchAttributeIsSetAndRemoved)
{
    const Value before = QZAnalytics::standardAttributes();
    QZAnalytics::setQuickLaunch(false);
    EXPECT_EQ(QZAnalytics::standardAttributes(), before);
    QZAnalytics::setQuickLaunch(true);
    EXPECT_EQ(QZAnalytics::standardAttributes()["isQuickLaunch"], Value(true));
    QZAnalytics::setQuickLaunch(false);
    EXPECT_EQ(QZAnalytics::standardAttributes(), before);
}

TEST_F(QZAnalyticsTest, SessionsScreensAndTheirAbsence)
{
    // No class: nothing happens and nothing is logged.
    {
        NSLogCapture log;
        QZAnalytics::resumeSession();
        QZAnalytics::reportScreen("screen");
        QZAnalytics::finalizeSession();
        EXPECT_TRUE(log.lines().empty());
    }
    // A class without a session: screens are logged and dropped.
    QZTestMetricsSession::registerClass(nullptr);
    {
        NSLogCapture log;
        QZAnalytics::resumeSession();
        QZAnalytics::reportScreen("screen");
        EXPECT_EQ(log.lines(), std::vector<std::string>{"+[QZAnalytics reportScreen:] Invalid session"});
    }
    PlatformSettings::setMainBundlePath((sandbox_ / "Host").string());
    std::filesystem::create_directories(sandbox_ / "Host");
    ASSERT_TRUE(Value::dictionary({{"CFBundleIdentifier", "com.tessel.host"}, {"TesselAPIKey", "key123"}})
                    .writePropertyListToFile((sandbox_ / "Host" / "Info.plist").string(), NSPropertyListFormat::XML));
    auto session = NSObject::create<QZTestMetricsSession>();
    QZTestMetricsSession::registerClass(session);
    QZAnalytics::resumeSession();
    QZAnalytics::reportScreen("Editor");
    QZAnalytics::finalizeSession();
    EXPECT_EQ(session->calls, (std::vector<std::string>{
                                  std::string("MetricsSession: ") + kQZAnalyticsApplicationKey,
                                  "setCustomDimension: 0 com.tessel.host - key123",
                                  "open",
                                  "upload",
                                  "tagScreen: Editor",
                                  "upload",
                                  "close",
                              }));
    EXPECT_TRUE(session->events.empty());
}

TEST(QZAnalyticsBucketTest, TheLongerSideChoosesTheBucket)
{
    struct Case {
        CGSize size;
        const char* bucket;
    };
    const Case cases[] = {
        {{200, 100}, "<200px"},       {{201, 50}, "201-400px"},    {{50, 600}, "401-600px"}, {{800, 800}, "601-800px"},
        {{1024, 1024}, "801-1024px"}, {{2048, 10}, "1025-2048px"}, {{2049, 10}, ">2048px"},  {{0, 0}, "<200px"},
        {{200.9f, 0}, "<200px"},      {{1e12f, 1}, ">2048px"},     {{-5, -5}, "<200px"},
    };
    for (const Case& c : cases) EXPECT_EQ(QZAnalytics::bucketStringForImageSize(c.size), c.bucket) << c.size.width;
}

}  // namespace
