#include "TesselSDK/remote/QZAnalytics.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>

#include "Foundation/NSBundle.h"
#include "Foundation/NSClass.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDK/remote/QZMetricsSessionProtocol.h"

namespace {

// The analytics service's key for this editor.
constexpr const char* kQZAnalyticsApplicationKey = "3c7a19e0b5d24f8a61e0c9d-7b2e4a10-9c3d-4e5f-a6b7-c8d9e0f1a2b3";

// The standard attributes, built on first use; the quick-launch flag is written on the main thread
// while events are reported from any.
std::mutex& attributesMutex()
{
    static std::mutex mutex;
    return mutex;
}

Value& attributesLocked()
{
    static Value attributes;
    static bool built = false;
    if (!built) {
        built = true;
        attributes = Value::dictionary();
        std::string appId = NSBundle::mainBundle()->bundleIdentifier();
        attributes.setObject(appId.empty() ? PlatformSettings::bundleIdentifier() : appId, "appId");
        attributes.setObject(kQZAnalyticsSDKVersion, "sdkVersion");
        Value pushState = NSUserDefaults::standardUserDefaults()->objectForKey("kQZPushNotificationState");
        if (!pushState.isNil())
            attributes.setObject(static_cast<std::uint32_t>(pushState.longLongValue()), "pushNotificationState");
    }
    return attributes;
}

bool sessionClassExists()
{
    return NSClassFromString(kQZMetricsSessionClassName) != nullptr;
}

// The shared session, or null (also when the class answers nil or something else).
QZMetricsSessionProtocol* sharedSession(std::shared_ptr<NSObject>& holder)
{
    std::shared_ptr<const NSClass> sessionClass = NSClassFromString(kQZMetricsSessionClassName);
    if (!sessionClass) return nullptr;
    holder = sessionClass->performSelector("sharedMetricsSession").object();
    return dynamic_cast<QZMetricsSessionProtocol*>(holder.get());
}

}  // namespace

Value QZAnalytics::standardAttributes()
{
    std::lock_guard lock(attributesMutex());
    return attributesLocked();
}

void QZAnalytics::setQuickLaunch(bool quickLaunch)
{
    std::lock_guard lock(attributesMutex());
    if (quickLaunch)
        attributesLocked().setObject(true, "isQuickLaunch");
    else
        attributesLocked().removeObjectForKey("isQuickLaunch");
}

void QZAnalytics::reportScreen(const std::string& screenName)
{
    if (!sessionClassExists()) return;
    std::shared_ptr<NSObject> holder;
    QZMetricsSessionProtocol* session = sharedSession(holder);
    if (!session) {
        NSLog("%s %@", "+[QZAnalytics reportScreen:]", "Invalid session");
        return;
    }
    session->tagScreen(screenName);
}

void QZAnalytics::resumeSession()
{
    if (!sessionClassExists()) return;
    std::shared_ptr<NSObject> holder;
    QZMetricsSessionProtocol* session = sharedSession(holder);
    if (!session) return;
    const Value& info = NSBundle::mainBundle()->infoDictionary();
    session->MetricsSession(kQZAnalyticsApplicationKey);
    session->setCustomDimension(
        0, NSStringWithFormat("%@ - %@", info["CFBundleIdentifier"].stringValue(), info["TesselAPIKey"].stringValue()));
    session->open();
    session->upload();
}

void QZAnalytics::finalizeSession()
{
    std::shared_ptr<NSObject> holder;
    QZMetricsSessionProtocol* session = sharedSession(holder);
    if (!session) return;
    session->upload();
    session->close();
}

std::string QZAnalytics::bucketStringForImageSize(CGSize size)
{
    static constexpr std::uint32_t bounds[] = {200, 400, 600, 800, 1024, 2048};
    const float longer = std::max(size.width, size.height);
    // Truncation; a side beyond the counter's range counts as the largest, one that is not a number as 0.
    const std::uint32_t m = longer >= 4294967040.0f ? UINT32_MAX : longer > 0 ? std::uint32_t(longer) : 0;
    std::size_t at = 0;
    while (at < 5 && m > bounds[at]) ++at;
    if (m > bounds[at]) return NSStringWithFormat(">%upx", bounds[at]);
    if (at == 0) return NSStringWithFormat("<%upx", bounds[0]);
    return NSStringWithFormat("%u-%upx", bounds[at - 1] + 1, bounds[at]);
}

void QZAnalytics::reportEvent(const std::string& eventName, const Value& attributes)
{
    if (!sessionClassExists()) return;
    std::shared_ptr<NSObject> holder;
    QZMetricsSessionProtocol* session = sharedSession(holder);
    if (!session) {
        NSLog("%s %@", "+[QZAnalytics reportEvent:attributes:]", "Invalid session");
        return;
    }
    Value merged = standardAttributes();
    if (const Value::Dictionary* given = attributes.asDictionary())
        for (const auto& [key, value] : *given) merged.setObject(value, key);
    session->tagEvent(eventName, merged);
}

bool QZAnalytics::attachedAnalyticsLibraryExists()
{
    return sessionClassExists();
}
