#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"
#include "testing/TestSandbox.h"

namespace {

TEST(QZAnalyticsConcurrencyTest, EventsFromManyThreadsMeetTheQuickLaunchAttributeSafely)
{
    TestSandbox sandbox;
    TesselSDKRemoteRegisterClasses();  // the first report builds the attributes with the A/B summary
    auto session = NSObject::create<QZTestMetricsSession>();
    QZTestMetricsSession::registerClass(session);
    constexpr int kThreads = 8;
    constexpr int kEvents = 200;
    std::vector<std::thread> reporters;
    for (int t = 0; t < kThreads; ++t)
        reporters.emplace_back([] {
            for (int e = 0; e < kEvents; ++e) QZAnalytics::reportEvent("event", Value::dictionary({{"n", e}}));
        });
    for (int i = 0; i < 2000; ++i) QZAnalytics::setQuickLaunch(i % 2 == 0);
    for (auto& reporter : reporters) reporter.join();
    QZTestMetricsSession::unregisterClass();

    ASSERT_EQ(session->events.size(), static_cast<std::size_t>(kThreads * kEvents));
    for (const auto& [name, attributes] : session->events) {
        EXPECT_EQ(attributes["pushNotificationEligible"], Value(0));
        EXPECT_EQ(attributes["sdkVersion"], Value("3.3.11"));
        const Value quickLaunch = attributes["isQuickLaunch"];
        EXPECT_TRUE(quickLaunch.isNil() || quickLaunch == Value(true));
    }
    EXPECT_TRUE(QZAnalytics::standardAttributes()["isQuickLaunch"].isNil());  // the last set was NO
}

}  // namespace
