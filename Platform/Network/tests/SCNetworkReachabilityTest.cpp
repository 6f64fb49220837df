#include "Network/SCNetworkReachability.h"

#include "Dispatch/Dispatch.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr SCNetworkReachabilityFlags R = kSCNetworkReachabilityFlagsReachable;
constexpr SCNetworkReachabilityFlags L = kSCNetworkReachabilityFlagsIsLocalAddress;
constexpr SCNetworkReachabilityFlags D = kSCNetworkReachabilityFlagsIsDirect;

TEST(SCNetworkReachabilityTest, FlagsOfInterfaceLists)
{
    using Kind = SCNetworkReachabilityTargetKind;
    const SCNetworkInterfaceAddress lo{"lo", true, true, false};
    const SCNetworkInterfaceAddress ethUp{"eth0", true, false, false};
    const SCNetworkInterfaceAddress ethDown{"eth0", false, false, false};
    const SCNetworkInterfaceAddress linkLocal{"eth1", true, false, true};
    struct Case {
        std::vector<SCNetworkInterfaceAddress> addresses;
        SCNetworkReachabilityFlags internet, local, loopback;
    };
    const std::vector<Case> cases = {
        {{}, 0, 0, R | L | D},
        {{lo}, 0, 0, R | L | D},
        {{lo, ethUp}, R, 0, R | L | D},
        {{lo, ethDown}, 0, 0, R | L | D},
        {{lo, linkLocal}, 0, R | D, R | L | D},
        {{lo, ethUp, linkLocal}, R, R | D, R | L | D},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(SCNetworkReachabilityFlagsForInterfaces(Kind::Internet, cases[i].addresses), cases[i].internet);
        EXPECT_EQ(SCNetworkReachabilityFlagsForInterfaces(Kind::LinkLocal, cases[i].addresses), cases[i].local);
        EXPECT_EQ(SCNetworkReachabilityFlagsForInterfaces(Kind::Loopback, cases[i].addresses), cases[i].loopback);
    }
}

SCNetworkReachabilityRef forIPv4(const char* text)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, text, &address.sin_addr);
    return SCNetworkReachabilityCreateWithAddress(reinterpret_cast<sockaddr*>(&address));
}

SCNetworkReachabilityFlags flagsOf(const SCNetworkReachabilityRef& target)
{
    SCNetworkReachabilityFlags flags = 0xffffffff;
    EXPECT_TRUE(SCNetworkReachabilityGetFlags(target, &flags));
    return flags;
}

TEST(SCNetworkReachabilityTest, TargetsAreReadWithoutResolvingNames)
{
    auto addresses = SCNetworkInterfaceAddresses();
    auto internet = SCNetworkReachabilityFlagsForInterfaces(SCNetworkReachabilityTargetKind::Internet, addresses);
    auto linkLocal = SCNetworkReachabilityFlagsForInterfaces(SCNetworkReachabilityTargetKind::LinkLocal, addresses);
    EXPECT_EQ(flagsOf(forIPv4("0.0.0.0")), internet);
    EXPECT_EQ(flagsOf(forIPv4("169.254.0.0")), linkLocal);
    EXPECT_EQ(flagsOf(forIPv4("127.0.0.1")), R | L | D);
    EXPECT_EQ(flagsOf(SCNetworkReachabilityCreateWithName("localhost")), R | L | D);
    EXPECT_EQ(flagsOf(SCNetworkReachabilityCreateWithName("127.0.0.1")), R | L | D);
    EXPECT_EQ(flagsOf(SCNetworkReachabilityCreateWithName("::1")), R | L | D);
    EXPECT_EQ(flagsOf(SCNetworkReachabilityCreateWithName("content.invalid")), internet);
    sockaddr unknown{};
    unknown.sa_family = AF_UNIX;
    EXPECT_FALSE(SCNetworkReachabilityCreateWithAddress(&unknown));
}

struct Seen {
    std::mutex mutex;
    std::vector<SCNetworkReachabilityFlags> flags;
    bool offQueue = false;
    dispatch_queue_t queue;
};

void record(SCNetworkReachabilityRef, SCNetworkReachabilityFlags flags, void* info)
{
    auto* seen = static_cast<Seen*>(info);
    std::lock_guard lock(seen->mutex);
    if (!seen->queue->isCurrent()) seen->offQueue = true;
    seen->flags.push_back(flags);
}

TEST(SCNetworkReachabilityTest, TheOverrideReachesTheCallbackOnItsQueue)
{
    SCNetworkReachabilitySetFlagsOverride(0);
    Seen seen;
    seen.queue = dispatch_queue_create("reachability", DISPATCH_QUEUE_SERIAL);
    auto target = forIPv4("0.0.0.0");
    SCNetworkReachabilityContext context{0, &seen};
    ASSERT_TRUE(SCNetworkReachabilitySetCallback(target, record, &context));
    ASSERT_TRUE(SCNetworkReachabilitySetDispatchQueue(target, seen.queue));
    auto waitFor = [&](std::size_t count) {
        for (int i = 0; i < 400; ++i) {
            {
                std::lock_guard lock(seen.mutex);
                if (seen.flags.size() >= count) return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };
    SCNetworkReachabilitySetFlagsOverride(R);
    waitFor(1);
    EXPECT_EQ(flagsOf(target), R);
    SCNetworkReachabilitySetFlagsOverride(0);
    waitFor(2);
    SCNetworkReachabilitySetDispatchQueue(target, nullptr);
    SCNetworkReachabilitySetFlagsOverride(R);  // no longer delivered
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SCNetworkReachabilitySetFlagsOverride(std::nullopt);
    dispatch_sync(seen.queue, [] {});
    std::lock_guard lock(seen.mutex);
    EXPECT_EQ(seen.flags, (std::vector<SCNetworkReachabilityFlags>{R, 0}));
    EXPECT_FALSE(seen.offQueue);
}

}  // namespace
