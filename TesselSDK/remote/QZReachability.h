#pragma once
// Reachability of one network target (a host name, an address, the internet as the zero address,
// or the link-local network): answers from the current flags at once, and while its notifier
// runs calls its blocks on its own serial queue and posts kReachabilityChangedNotification on the
// main queue at each change. A notifying object keeps itself alive until stopNotifier. Queries
// may come from any thread.

#include <sys/socket.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "Dispatch/DispatchQueue.h"
#include "Foundation/NSObject.h"
#include "Network/SCNetworkReachability.h"

inline constexpr const char* kReachabilityChangedNotification = "kReachabilityChangedNotification";

enum QZNetworkStatus : int {
    NotReachable = 0,
    ReachableViaWWAN = 1,
    ReachableViaWiFi = 2,
};

class QZReachability : public NSObject {
public:
    using Block = std::function<void(const std::shared_ptr<QZReachability>&)>;

    using NSObject::NSObject;
    ~QZReachability() override;

    // Each answers null when the system handle cannot be made.
    static std::shared_ptr<QZReachability> reachabilityWithHostname(const std::string& hostname);
    static std::shared_ptr<QZReachability> reachabilityWithAddress(const sockaddr* address);
    // 0.0.0.0
    static std::shared_ptr<QZReachability> reachabilityForInternetConnection();
    // 169.254.0.0
    static std::shared_ptr<QZReachability> reachabilityForLocalWiFi();
    static std::shared_ptr<QZReachability> reachabilityWithReachabilityRef(SCNetworkReachabilityRef reachabilityRef);

    const SCNetworkReachabilityRef& reachabilityRef() const { return reachabilityRef_; }
    // YES at creation; NO makes a cellular path count as not reachable.
    bool reachableOnWWAN() const;
    void setReachableOnWWAN(bool reachableOnWWAN);
    void setReachableBlock(Block block);
    void setUnreachableBlock(Block block);

    // Answers from the current flags; NO, NotReachable or the empty flag word when they cannot be read.
    bool isReachable() const;
    bool isReachableWithFlags(SCNetworkReachabilityFlags flags) const;
    bool isReachableViaWWAN() const;
    bool isReachableViaWiFi() const;
    bool isConnectionRequired() const;
    bool connectionRequired() const { return isConnectionRequired(); }
    bool isConnectionOnDemand() const;
    bool isInterventionRequired() const;
    QZNetworkStatus currentReachabilityStatus() const;
    // "Cellular", "WiFi" or "No Connection".
    std::string currentReachabilityString() const;
    SCNetworkReachabilityFlags reachabilityFlags() const;
    // Nine characters: "WR ctiCDld", each '-' when its flag is clear.
    std::string currentReachabilityFlags() const;
    static std::string descriptionOfFlags(SCNetworkReachabilityFlags flags);

    bool startNotifier();
    // Once it returns no block runs and none will (from the serial queue itself: none will start).
    void stopNotifier();
    // The flags changed: the reachable or unreachable block on the serial queue, then the
    // notification on the main queue.
    void reachabilityChanged(SCNetworkReachabilityFlags flags);

    // While the notifier runs: the queue the blocks run on, and the object itself.
    dispatch_queue_t reachabilitySerialQueue() const;
    std::shared_ptr<QZReachability> reachabilityObject() const;

private:
    struct Notifier;
    static void callback(SCNetworkReachabilityRef target, SCNetworkReachabilityFlags flags, void* info);
    bool readFlags(SCNetworkReachabilityFlags* flags) const;

    SCNetworkReachabilityRef reachabilityRef_;
    mutable std::mutex mutex_;
    bool reachableOnWWAN_ = true;
    Block reachableBlock_;
    Block unreachableBlock_;
    std::shared_ptr<Notifier> notifier_;
    std::shared_ptr<QZReachability> reachabilityObject_;
};
