#include "Network/SCNetworkReachability.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

std::mutex overrideMutex;
std::optional<SCNetworkReachabilityFlags> flagsOverride;

// Shared by a target and its poller thread, so the thread never needs the target alive.
struct Monitor {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopped = false;
    bool changedOverride = false;
};

std::mutex monitorsMutex;
std::vector<std::weak_ptr<Monitor>> monitors;

SCNetworkReachabilityTargetKind kindOfAddress(const sockaddr* address)
{
    if (address->sa_family == AF_INET) {
        std::uint32_t ip = ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
        if ((ip >> 24) == 127) return SCNetworkReachabilityTargetKind::Loopback;
        if ((ip >> 16) == 0xa9fe) return SCNetworkReachabilityTargetKind::LinkLocal;
        return SCNetworkReachabilityTargetKind::Internet;
    }
    const auto& ip6 = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
    if (IN6_IS_ADDR_LOOPBACK(&ip6)) return SCNetworkReachabilityTargetKind::Loopback;
    if (IN6_IS_ADDR_LINKLOCAL(&ip6)) return SCNetworkReachabilityTargetKind::LinkLocal;
    return SCNetworkReachabilityTargetKind::Internet;
}

}  // namespace

class SCNetworkReachability : public std::enable_shared_from_this<SCNetworkReachability> {
public:
    explicit SCNetworkReachability(SCNetworkReachabilityTargetKind kind) : kind_(kind) {}
    ~SCNetworkReachability() { stopMonitor(); }

    SCNetworkReachabilityFlags flags() const
    {
        {
            std::lock_guard lock(overrideMutex);
            if (flagsOverride) return *flagsOverride;
        }
        return SCNetworkReachabilityFlagsForInterfaces(kind_, SCNetworkInterfaceAddresses());
    }

    void setCallback(SCNetworkReachabilityCallBack callout, void* info)
    {
        {
            std::lock_guard lock(mutex_);
            callout_ = callout;
            info_ = info;
        }
        updateMonitor();
    }

    void setQueue(dispatch_queue_t queue)
    {
        {
            std::lock_guard lock(mutex_);
            queue_ = std::move(queue);
        }
        updateMonitor();
    }

private:
    void updateMonitor()
    {
        bool wanted;
        {
            std::lock_guard lock(mutex_);
            wanted = callout_ && queue_;
        }
        if (!wanted) return stopMonitor();
        std::lock_guard lock(mutex_);
        if (monitor_) return;
        monitor_ = std::make_shared<Monitor>();
        {
            std::lock_guard registry(monitorsMutex);
            monitors.push_back(monitor_);
        }
        std::thread([monitor = monitor_, weak = weak_from_this(), last = flags()]() mutable {
            std::unique_lock held(monitor->mutex);
            while (!monitor->stopped) {
                monitor->wake.wait_for(held, std::chrono::seconds(1),
                                       [&] { return monitor->stopped || monitor->changedOverride; });
                if (monitor->stopped) break;
                monitor->changedOverride = false;
                held.unlock();
                auto target = weak.lock();
                if (!target) return;
                SCNetworkReachabilityFlags now = target->flags();
                if (now != last) {
                    last = now;
                    target->deliver(now);
                }
                target.reset();
                held.lock();
            }
        }).detach();
    }

    void stopMonitor()
    {
        std::shared_ptr<Monitor> monitor;
        {
            std::lock_guard lock(mutex_);
            monitor.swap(monitor_);
        }
        if (!monitor) return;
        {
            std::lock_guard lock(monitor->mutex);
            monitor->stopped = true;
        }
        monitor->wake.notify_all();
    }

    void deliver(SCNetworkReachabilityFlags flags)
    {
        std::lock_guard lock(mutex_);
        if (!callout_ || !queue_ || !monitor_) return;
        queue_->async(
            [target = shared_from_this(), callout = callout_, info = info_, flags] { callout(target, flags, info); });
    }

    const SCNetworkReachabilityTargetKind kind_;
    std::mutex mutex_;
    SCNetworkReachabilityCallBack callout_ = nullptr;
    void* info_ = nullptr;
    dispatch_queue_t queue_;
    std::shared_ptr<Monitor> monitor_;
};

SCNetworkReachabilityFlags
SCNetworkReachabilityFlagsForInterfaces(SCNetworkReachabilityTargetKind kind,
                                        const std::vector<SCNetworkInterfaceAddress>& addresses)
{
    switch (kind) {
    case SCNetworkReachabilityTargetKind::Loopback:
        return kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsLocalAddress |
               kSCNetworkReachabilityFlagsIsDirect;
    case SCNetworkReachabilityTargetKind::LinkLocal:
        return std::any_of(addresses.begin(), addresses.end(),
                           [](const auto& a) { return a.up && !a.loopback && a.linkLocal; })
                   ? kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsDirect
                   : 0;
    case SCNetworkReachabilityTargetKind::Internet:
        return std::any_of(addresses.begin(), addresses.end(),
                           [](const auto& a) { return a.up && !a.loopback && !a.linkLocal; })
                   ? SCNetworkReachabilityFlags{kSCNetworkReachabilityFlagsReachable}
                   : SCNetworkReachabilityFlags{0};
    }
    return 0;
}

std::vector<SCNetworkInterfaceAddress> SCNetworkInterfaceAddresses()
{
    std::vector<SCNetworkInterfaceAddress> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return result;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr) continue;
        int family = entry->ifa_addr->sa_family;
        if (family != AF_INET && family != AF_INET6) continue;
        SCNetworkInterfaceAddress address;
        address.interface = entry->ifa_name ? entry->ifa_name : "";
        address.up = (entry->ifa_flags & IFF_UP) && (entry->ifa_flags & IFF_RUNNING);
        address.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        address.linkLocal = kindOfAddress(entry->ifa_addr) == SCNetworkReachabilityTargetKind::LinkLocal;
        result.push_back(address);
    }
    freeifaddrs(list);
    return result;
}

SCNetworkReachabilityRef SCNetworkReachabilityCreateWithAddress(const sockaddr* address)
{
    if (!address || (address->sa_family != AF_INET && address->sa_family != AF_INET6)) return nullptr;
    return std::make_shared<SCNetworkReachability>(kindOfAddress(address));
}

SCNetworkReachabilityRef SCNetworkReachabilityCreateWithName(const char* nodename)
{
    if (!nodename) return nullptr;
    std::string name = nodename;
    if (name == "localhost") return std::make_shared<SCNetworkReachability>(SCNetworkReachabilityTargetKind::Loopback);
    sockaddr_in ip4{};
    sockaddr_in6 ip6{};
    if (inet_pton(AF_INET, nodename, &ip4.sin_addr) == 1) {
        ip4.sin_family = AF_INET;
        return SCNetworkReachabilityCreateWithAddress(reinterpret_cast<sockaddr*>(&ip4));
    }
    if (inet_pton(AF_INET6, nodename, &ip6.sin6_addr) == 1) {
        ip6.sin6_family = AF_INET6;
        return SCNetworkReachabilityCreateWithAddress(reinterpret_cast<sockaddr*>(&ip6));
    }
    return std::make_shared<SCNetworkReachability>(SCNetworkReachabilityTargetKind::Internet);
}

bool SCNetworkReachabilityGetFlags(const SCNetworkReachabilityRef& target, SCNetworkReachabilityFlags* flags)
{
    if (!target || !flags) return false;
    *flags = target->flags();
    return true;
}

bool SCNetworkReachabilitySetCallback(const SCNetworkReachabilityRef& target, SCNetworkReachabilityCallBack callout,
                                      const SCNetworkReachabilityContext* context)
{
    if (!target) return false;
    target->setCallback(callout, context ? context->info : nullptr);
    return true;
}

bool SCNetworkReachabilitySetDispatchQueue(const SCNetworkReachabilityRef& target, dispatch_queue_t queue)
{
    if (!target) return false;
    target->setQueue(std::move(queue));
    return true;
}

void SCNetworkReachabilitySetFlagsOverride(std::optional<SCNetworkReachabilityFlags> flags)
{
    {
        std::lock_guard lock(overrideMutex);
        flagsOverride = flags;
    }
    std::vector<std::shared_ptr<Monitor>> live;
    {
        std::lock_guard lock(monitorsMutex);
        std::erase_if(monitors, [](const auto& m) { return m.expired(); });
        for (const auto& m : monitors)
            if (auto monitor = m.lock()) live.push_back(monitor);
    }
    for (const auto& monitor : live) {
        {
            std::lock_guard lock(monitor->mutex);
            monitor->changedOverride = true;
        }
        monitor->wake.notify_all();
    }
}
