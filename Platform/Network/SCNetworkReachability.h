#pragma once
// Network reachability of a target: the zero address (the internet), 169.254.0.0 (the link-local
// network), loopback, another address, or a host name. Names are never resolved (no DNS
// traffic): numeric names are addresses, "localhost" is loopback, other names answer as the zero
// address.
//
// On Linux the flags come from the interface list (see SCNetworkReachabilityFlagsForInterfaces):
// the zero address and other addresses are reachable while a non-loopback interface is up with
// an address that is not link-local; 169.254.0.0 while one holds a link-local IPv4 address
// (reachable, direct); loopback always (reachable, local address, direct). WWAN is never set.
//
// While a target has both a callback and a dispatch queue, its flags are polled every second and
// each change is delivered to the callback on that queue. Tests may override the flags of every
// target process-wide; the override reaches the callbacks at once.

#include "Dispatch/DispatchQueue.h"

#include <sys/socket.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using SCNetworkReachabilityFlags = std::uint32_t;
enum : SCNetworkReachabilityFlags {
    kSCNetworkReachabilityFlagsTransientConnection = 1u << 0,
    kSCNetworkReachabilityFlagsReachable = 1u << 1,
    kSCNetworkReachabilityFlagsConnectionRequired = 1u << 2,
    kSCNetworkReachabilityFlagsConnectionOnTraffic = 1u << 3,
    kSCNetworkReachabilityFlagsInterventionRequired = 1u << 4,
    kSCNetworkReachabilityFlagsConnectionOnDemand = 1u << 5,
    kSCNetworkReachabilityFlagsIsLocalAddress = 1u << 16,
    kSCNetworkReachabilityFlagsIsDirect = 1u << 17,
    kSCNetworkReachabilityFlagsIsWWAN = 1u << 18,
};

class SCNetworkReachability;
using SCNetworkReachabilityRef = std::shared_ptr<SCNetworkReachability>;
using SCNetworkReachabilityCallBack = void (*)(SCNetworkReachabilityRef target, SCNetworkReachabilityFlags flags,
                                               void* info);
struct SCNetworkReachabilityContext {
    long version = 0;
    void* info = nullptr;
};

// Null for addresses of families other than IPv4 and IPv6.
SCNetworkReachabilityRef SCNetworkReachabilityCreateWithAddress(const sockaddr* address);
SCNetworkReachabilityRef SCNetworkReachabilityCreateWithName(const char* nodename);
bool SCNetworkReachabilityGetFlags(const SCNetworkReachabilityRef& target, SCNetworkReachabilityFlags* flags);
// A null callout removes the callback.
bool SCNetworkReachabilitySetCallback(const SCNetworkReachabilityRef& target, SCNetworkReachabilityCallBack callout,
                                      const SCNetworkReachabilityContext* context);
// A null queue stops the deliveries.
bool SCNetworkReachabilitySetDispatchQueue(const SCNetworkReachabilityRef& target, dispatch_queue_t queue);

// What a target is, as the flags see it.
enum class SCNetworkReachabilityTargetKind { Internet, LinkLocal, Loopback };

// One address of an interface, as getifaddrs lists it.
struct SCNetworkInterfaceAddress {
    std::string interface;
    bool up = false;
    bool loopback = false;
    bool linkLocal = false;  // 169.254.0.0/16 or fe80::/10
};

SCNetworkReachabilityFlags
SCNetworkReachabilityFlagsForInterfaces(SCNetworkReachabilityTargetKind kind,
                                        const std::vector<SCNetworkInterfaceAddress>& addresses);
std::vector<SCNetworkInterfaceAddress> SCNetworkInterfaceAddresses();

// Tests: the flags every target answers (nullopt: the real ones again).
void SCNetworkReachabilitySetFlagsOverride(std::optional<SCNetworkReachabilityFlags> flags);
