#include "TesselSDK/remote/QZReachability.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <atomic>

#include "Dispatch/Dispatch.h"
#include "Foundation/NSNotificationCenter.h"

namespace {

constexpr const char* kReachabilityQueueLabel = "com.tessel.reachability";

std::shared_ptr<QZReachability> reachabilityForIPv4(const char* address)
{
    sockaddr_in ip4{};
    ip4.sin_family = AF_INET;
    inet_pton(AF_INET, address, &ip4.sin_addr);
    return QZReachability::reachabilityWithAddress(reinterpret_cast<const sockaddr*>(&ip4));
}

bool isSet(SCNetworkReachabilityFlags flags, SCNetworkReachabilityFlags flag)
{
    return (flags & flag) != 0;
}

}  // namespace

// What the system callback reaches through its context pointer. Blocks already queued when the
// notifier stops still hold that pointer, so the record outlives them and tells them to do nothing.
struct QZReachability::Notifier {
    std::weak_ptr<QZReachability> owner;
    std::atomic<bool> active{true};
    dispatch_queue_t queue;
};

QZReachability::~QZReachability()
{
    stopNotifier();
}

std::shared_ptr<QZReachability> QZReachability::reachabilityWithHostname(const std::string& hostname)
{
    return reachabilityWithReachabilityRef(SCNetworkReachabilityCreateWithName(hostname.c_str()));
}

std::shared_ptr<QZReachability> QZReachability::reachabilityWithAddress(const sockaddr* address)
{
    return reachabilityWithReachabilityRef(SCNetworkReachabilityCreateWithAddress(address));
}

std::shared_ptr<QZReachability> QZReachability::reachabilityForInternetConnection()
{
    return reachabilityForIPv4("0.0.0.0");
}

std::shared_ptr<QZReachability> QZReachability::reachabilityForLocalWiFi()
{
    return reachabilityForIPv4("169.254.0.0");
}

std::shared_ptr<QZReachability>
QZReachability::reachabilityWithReachabilityRef(SCNetworkReachabilityRef reachabilityRef)
{
    if (!reachabilityRef) return nullptr;
    return NSObject::create<QZReachability>(
        [&](QZReachability& r) { r.reachabilityRef_ = std::move(reachabilityRef); });
}

bool QZReachability::reachableOnWWAN() const
{
    std::lock_guard lock(mutex_);
    return reachableOnWWAN_;
}

void QZReachability::setReachableOnWWAN(bool reachableOnWWAN)
{
    std::lock_guard lock(mutex_);
    reachableOnWWAN_ = reachableOnWWAN;
}

void QZReachability::setReachableBlock(Block block)
{
    std::lock_guard lock(mutex_);
    reachableBlock_ = std::move(block);
}

void QZReachability::setUnreachableBlock(Block block)
{
    std::lock_guard lock(mutex_);
    unreachableBlock_ = std::move(block);
}

bool QZReachability::readFlags(SCNetworkReachabilityFlags* flags) const
{
    *flags = 0;
    return SCNetworkReachabilityGetFlags(reachabilityRef_, flags);
}

bool QZReachability::isReachableWithFlags(SCNetworkReachabilityFlags flags) const
{
    if (isSet(flags, kSCNetworkReachabilityFlagsIsWWAN) && !reachableOnWWAN()) return false;
    if (!isSet(flags, kSCNetworkReachabilityFlagsReachable)) return false;
    const SCNetworkReachabilityFlags transientAndRequired =
        kSCNetworkReachabilityFlagsTransientConnection | kSCNetworkReachabilityFlagsConnectionRequired;
    return (flags & transientAndRequired) != transientAndRequired;
}

bool QZReachability::isReachable() const
{
    SCNetworkReachabilityFlags flags;
    return readFlags(&flags) && isReachableWithFlags(flags);
}

bool QZReachability::isReachableViaWWAN() const
{
    SCNetworkReachabilityFlags flags;
    return readFlags(&flags) && isSet(flags, kSCNetworkReachabilityFlagsReachable) &&
           isSet(flags, kSCNetworkReachabilityFlagsIsWWAN);
}

bool QZReachability::isReachableViaWiFi() const
{
    SCNetworkReachabilityFlags flags;
    return readFlags(&flags) && isSet(flags, kSCNetworkReachabilityFlagsReachable) &&
           !isSet(flags, kSCNetworkReachabilityFlagsIsWWAN);
}

bool QZReachability::isConnectionRequired() const
{
    SCNetworkReachabilityFlags flags;
    return readFlags(&flags) && isSet(flags, kSCNetworkReachabilityFlagsConnectionRequired);
}

bool QZReachability::isConnectionOnDemand() const
{
    SCNetworkReachabilityFlags flags;
    return readFlags(&flags) && isSet(flags, kSCNetworkReachabilityFlagsConnectionRequired) &&
           (isSet(flags, kSCNetworkReachabilityFlagsConnectionOnTraffic) ||
            isSet(flags, kSCNetworkReachabilityFlagsConnectionOnDemand));
}

bool QZReachability::isInterventionRequired() const
{
    SCNetworkReachabilityFlags flags;
    return readFlags(&flags) && isSet(flags, kSCNetworkReachabilityFlagsConnectionRequired) &&
           isSet(flags, kSCNetworkReachabilityFlagsInterventionRequired);
}

QZNetworkStatus QZReachability::currentReachabilityStatus() const
{
    // One reading for all three answers, so a change between them cannot mix two states.
    SCNetworkReachabilityFlags flags;
    if (!readFlags(&flags) || !isReachableWithFlags(flags)) return NotReachable;
    return isSet(flags, kSCNetworkReachabilityFlagsIsWWAN) ? ReachableViaWWAN : ReachableViaWiFi;
}

std::string QZReachability::currentReachabilityString() const
{
    switch (currentReachabilityStatus()) {
    case ReachableViaWWAN: return "Cellular";
    case ReachableViaWiFi: return "WiFi";
    default: return "No Connection";
    }
}

SCNetworkReachabilityFlags QZReachability::reachabilityFlags() const
{
    SCNetworkReachabilityFlags flags;
    return readFlags(&flags) ? flags : 0;
}

std::string QZReachability::currentReachabilityFlags() const
{
    return descriptionOfFlags(reachabilityFlags());
}

std::string QZReachability::descriptionOfFlags(SCNetworkReachabilityFlags flags)
{
    auto mark = [flags](SCNetworkReachabilityFlags flag, char letter) { return isSet(flags, flag) ? letter : '-'; };
    std::string text;
    text += mark(kSCNetworkReachabilityFlagsIsWWAN, 'W');
    text += mark(kSCNetworkReachabilityFlagsReachable, 'R');
    text += ' ';
    text += mark(kSCNetworkReachabilityFlagsConnectionRequired, 'c');
    text += mark(kSCNetworkReachabilityFlagsTransientConnection, 't');
    text += mark(kSCNetworkReachabilityFlagsInterventionRequired, 'i');
    text += mark(kSCNetworkReachabilityFlagsConnectionOnTraffic, 'C');
    text += mark(kSCNetworkReachabilityFlagsConnectionOnDemand, 'D');
    text += mark(kSCNetworkReachabilityFlagsIsLocalAddress, 'l');
    text += mark(kSCNetworkReachabilityFlagsIsDirect, 'd');
    return text;
}

bool QZReachability::startNotifier()
{
    std::lock_guard lock(mutex_);
    if (notifier_) return true;
    auto notifier = std::make_shared<Notifier>();
    notifier->owner = weakSelf<QZReachability>();
    notifier->queue = dispatch_queue_create(kReachabilityQueueLabel, DISPATCH_QUEUE_SERIAL);
    if (!notifier->queue) return false;
    reachabilityObject_ = self<QZReachability>();
    SCNetworkReachabilityContext context;
    context.info = notifier.get();
    if (!SCNetworkReachabilitySetCallback(reachabilityRef_, &QZReachability::callback, &context)) {
        reachabilityObject_.reset();
        return false;
    }
    if (!SCNetworkReachabilitySetDispatchQueue(reachabilityRef_, notifier->queue)) {
        SCNetworkReachabilitySetCallback(reachabilityRef_, nullptr, nullptr);
        reachabilityObject_.reset();
        return false;
    }
    notifier_ = std::move(notifier);
    return true;
}

void QZReachability::stopNotifier()
{
    std::shared_ptr<Notifier> notifier;
    std::shared_ptr<QZReachability> heldSelf;
    {
        std::lock_guard lock(mutex_);
        notifier.swap(notifier_);
        heldSelf.swap(reachabilityObject_);  // let go outside the lock: it may be the last owner
    }
    if (!notifier) return;
    notifier->active = false;
    SCNetworkReachabilitySetCallback(reachabilityRef_, nullptr, nullptr);
    SCNetworkReachabilitySetDispatchQueue(reachabilityRef_, nullptr);
    dispatch_queue_t queue = notifier->queue;
    // Wait out a callback that is running now; the record goes only after every queued one.
    if (!queue->isCurrent()) queue->sync([] {});
    queue->async([notifier = std::move(notifier)] {});
}

void QZReachability::callback(SCNetworkReachabilityRef, SCNetworkReachabilityFlags flags, void* info)
{
    auto* notifier = static_cast<Notifier*>(info);
    if (!notifier->active) return;
    if (std::shared_ptr<QZReachability> owner = notifier->owner.lock()) owner->reachabilityChanged(flags);
}

void QZReachability::reachabilityChanged(SCNetworkReachabilityFlags flags)
{
    Block block;
    const bool reachable = isReachableWithFlags(flags);
    {
        std::lock_guard lock(mutex_);
        block = reachable ? reachableBlock_ : unreachableBlock_;
    }
    auto object = self<QZReachability>();
    if (block) block(object);
    dispatch_async(dispatch_get_main_queue(), [object] {
        NSNotificationCenter::defaultCenter()->postNotificationName(kReachabilityChangedNotification, object);
    });
}

dispatch_queue_t QZReachability::reachabilitySerialQueue() const
{
    std::lock_guard lock(mutex_);
    return notifier_ ? notifier_->queue : nullptr;
}

std::shared_ptr<QZReachability> QZReachability::reachabilityObject() const
{
    std::lock_guard lock(mutex_);
    return reachabilityObject_;
}
