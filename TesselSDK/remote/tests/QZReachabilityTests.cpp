// Reachability answers from injected flags: a machine may have only loopback.

#include <gtest/gtest.h>

#include <vector>

#include "Network/SCNetworkReachability.h"
#include "TesselSDK/remote/QZReachability.h"

namespace {

class QZReachabilityTest : public ::testing::Test {
protected:
    void TearDown() override { SCNetworkReachabilitySetFlagsOverride(std::nullopt); }
};

constexpr SCNetworkReachabilityFlags R = kSCNetworkReachabilityFlagsReachable;
constexpr SCNetworkReachabilityFlags W = kSCNetworkReachabilityFlagsIsWWAN;
constexpr SCNetworkReachabilityFlags c = kSCNetworkReachabilityFlagsConnectionRequired;
constexpr SCNetworkReachabilityFlags t = kSCNetworkReachabilityFlagsTransientConnection;
constexpr SCNetworkReachabilityFlags i = kSCNetworkReachabilityFlagsInterventionRequired;
constexpr SCNetworkReachabilityFlags C = kSCNetworkReachabilityFlagsConnectionOnTraffic;
constexpr SCNetworkReachabilityFlags D = kSCNetworkReachabilityFlagsConnectionOnDemand;
constexpr SCNetworkReachabilityFlags l = kSCNetworkReachabilityFlagsIsLocalAddress;
constexpr SCNetworkReachabilityFlags d = kSCNetworkReachabilityFlagsIsDirect;

TEST_F(QZReachabilityTest, EveryQueryFollowsTheFlagRules)
{
    struct Case {
        SCNetworkReachabilityFlags flags;
        bool reachableOnWWAN;
        bool reachable, viaWWAN, viaWiFi, required, onDemand, intervention;
        QZNetworkStatus status;
        const char* string;
        const char* description;
    };
    const std::vector<Case> cases = {
        {0, true, false, false, false, false, false, false, NotReachable, "No Connection", "-- -------"},
        {R, true, true, false, true, false, false, false, ReachableViaWiFi, "WiFi", "-R -------"},
        {R | W, true, true, true, false, false, false, false, ReachableViaWWAN, "Cellular", "WR -------"},
        // A cellular path that must not be used.
        {R | W, false, false, true, false, false, false, false, NotReachable, "No Connection", "WR -------"},
        {R | t | c, true, false, false, true, true, false, false, NotReachable, "No Connection", "-R ct-----"},
        {R | t, true, true, false, true, false, false, false, ReachableViaWiFi, "WiFi", "-R -t-----"},
        {R | c | C, true, true, false, true, true, true, false, ReachableViaWiFi, "WiFi", "-R c--C---"},
        {c | D, true, false, false, false, true, true, false, NotReachable, "No Connection", "-- c---D--"},
        {R | c | i, true, true, false, true, true, false, true, ReachableViaWiFi, "WiFi", "-R c-i----"},
        {i | C | D, true, false, false, false, false, false, false, NotReachable, "No Connection", "-- --iCD--"},
        {R | W | c | t | i | C | D | l | d, true, false, true, false, true, true, true, NotReachable, "No Connection",
         "WR ctiCDld"},
    };
    auto reachability = QZReachability::reachabilityForInternetConnection();
    ASSERT_TRUE(reachability);
    EXPECT_TRUE(reachability->reachableOnWWAN()) << "YES at creation";
    for (const auto& k : cases) {
        SCOPED_TRACE(k.description);
        SCNetworkReachabilitySetFlagsOverride(k.flags);
        reachability->setReachableOnWWAN(k.reachableOnWWAN);
        EXPECT_EQ(reachability->reachabilityFlags(), k.flags);
        EXPECT_EQ(reachability->isReachableWithFlags(k.flags), k.reachable);
        EXPECT_EQ(reachability->isReachable(), k.reachable);
        EXPECT_EQ(reachability->isReachableViaWWAN(), k.viaWWAN);
        EXPECT_EQ(reachability->isReachableViaWiFi(), k.viaWiFi);
        EXPECT_EQ(reachability->isConnectionRequired(), k.required);
        EXPECT_EQ(reachability->connectionRequired(), k.required);
        EXPECT_EQ(reachability->isConnectionOnDemand(), k.onDemand);
        EXPECT_EQ(reachability->isInterventionRequired(), k.intervention);
        EXPECT_EQ(reachability->currentReachabilityStatus(), k.status);
        EXPECT_EQ(reachability->currentReachabilityString(), k.string);
        EXPECT_EQ(reachability->currentReachabilityFlags(), k.description);
    }
}

TEST_F(QZReachabilityTest, TheTargetsAreTheZeroAddressTheLinkLocalNetworkAndNamedHosts)
{
    const auto interfaces = SCNetworkInterfaceAddresses();
    auto internet = QZReachability::reachabilityForInternetConnection();
    auto linkLocal = QZReachability::reachabilityForLocalWiFi();
    ASSERT_TRUE(internet && linkLocal);
    EXPECT_EQ(internet->reachabilityFlags(),
              SCNetworkReachabilityFlagsForInterfaces(SCNetworkReachabilityTargetKind::Internet, interfaces));
    EXPECT_EQ(linkLocal->reachabilityFlags(),
              SCNetworkReachabilityFlagsForInterfaces(SCNetworkReachabilityTargetKind::LinkLocal, interfaces));
    EXPECT_EQ(QZReachability::reachabilityWithHostname("localhost")->currentReachabilityFlags(), "-R -----ld");
    EXPECT_EQ(QZReachability::reachabilityWithHostname("127.0.0.1")->currentReachabilityFlags(), "-R -----ld");

    sockaddr unknownFamily{};
    unknownFamily.sa_family = AF_UNIX;
    EXPECT_FALSE(QZReachability::reachabilityWithAddress(&unknownFamily));
    EXPECT_FALSE(QZReachability::reachabilityWithReachabilityRef(nullptr));
}

}  // namespace
