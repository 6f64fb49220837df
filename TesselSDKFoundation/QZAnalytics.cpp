#include "TesselSDKFoundation/QZAnalytics.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>

#include "Foundation/NSBundle.h"
#include "Foundation/NSClass.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDKFoundation/QZAnalyticsTestSummary.h"
#include "TesselSDKFoundation/QZMetricsSessionProtocol.h"

namespace {

std::mutex& attributesMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Made on first use; every access holds attributesMutex().
Value& attributesLocked()
{
    static Value attributes;
    static bool made = false;
    if (!made) {
        made = true;
        attributes = QZAnalyticsTestSummary();
        std::string appId = NSBundle::mainBundle()->bundleIdentifier();
        attributes.setObject(appId.empty() ? PlatformSettings::bundleIdentifier() : appId, "appId");
        attributes.setObject(kQZAnalyticsSDKVersion, "sdkVersion");
        Value pushState = NSUserDefaults::standardUserDefaults()->objectForKey("kQZPushNotificationState");
        if (!pushState.isNil())
            attributes.setObject(static_cast<std::uint32_t>(pushState.longLongValue()), "pushNotificationState");
    }
    return attributes;
}

struct SessionLookup {
    bool classExists = false;
    std::shared_ptr<NSObject> object;  // keeps the session alive while it is used
    QZMetricsSessionProtocol* session = nullptr;
};

SessionLookup lookUpSession()
{
    SessionLookup lookup;
    std::shared_ptr<const NSClass> sessionClass = NSClassFromString(kQZMetricsSessionClassName);
    if (!sessionClass) return lookup;
    lookup.classExists = true;
    lookup.object = sessionClass->performSelector("sharedMetricsSession").object();
    lookup.session = dynamic_cast<QZMetricsSessionProtocol*>(lookup.object.get());
    return lookup;
}

}  // namespace

Value QZAnalytics::standardAttributes()
{
    std::lock_guard lock(attributesMutex());
    // A copy of the entries, not of the Value: a Value copy shares its storage until written, and
    // that sharing is not safe across threads.
    return Value(Value::Dictionary(*attributesLocked().asDictionary()));
}

void QZAnalytics::setQuickLaunch(bool quickLaunch)
{
    std::lock_guard lock(attributesMutex());
    Value& attributes = attributesLocked();
    if (quickLaunch)
        attributes.setObject(true, "isQuickLaunch");
    else if (!attributes["isQuickLaunch"].isNil())
        attributes.removeObjectForKey("isQuickLaunch");
}

void QZAnalytics::resumeSession()
{
    SessionLookup lookup = lookUpSession();
    if (!lookup.classExists || !lookup.session) return;
    const Value& info = NSBundle::mainBundle()->infoDictionary();
    std::string host =
        NSStringWithFormat("%@ - %@", info["CFBundleIdentifier"].stringValue(), info["TesselAPIKey"].stringValue());
    lookup.session->MetricsSession(kQZAnalyticsApplicationKey);
    lookup.session->setCustomDimension(0, host);
    lookup.session->open();
    lookup.session->upload();
}

void QZAnalytics::finalizeSession()
{
    SessionLookup lookup = lookUpSession();
    if (!lookup.session) return;
    lookup.session->upload();
    lookup.session->close();
}

void QZAnalytics::reportEvent(const std::string& eventName, const Value& attributes)
{
    SessionLookup lookup = lookUpSession();
    if (!lookup.classExists) return;
    if (!lookup.session) {
        NSLog("%s %@", "+[QZAnalytics reportEvent:attributes:]", "Invalid session");
        return;
    }
    Value merged = standardAttributes();
    if (const Value::Dictionary* given = attributes.asDictionary())
        for (const auto& [key, value] : *given) merged.setObject(value, key);
    lookup.session->tagEvent(eventName, merged);
}

void QZAnalytics::reportScreen(const std::string& screenName)
{
    SessionLookup lookup = lookUpSession();
    if (!lookup.classExists) return;
    if (!lookup.session) {
        NSLog("%s %@", "+[QZAnalytics reportScreen:]", "Invalid session");
        return;
    }
    lookup.session->tagScreen(screenName);
}

bool QZAnalytics::attachedAnalyticsLibraryExists()
{
    return NSClassFromString(kQZMetricsSessionClassName) != nullptr;
}

std::string QZAnalytics::bucketStringForImageSize(CGSize size)
{
    static constexpr std::uint32_t kBounds[] = {200, 400, 600, 800, 1024, 2048};
    double longer = std::max<double>(size.width, size.height);
    if (!(longer > 0)) longer = 0;  // negative and NaN sizes read as 0
    // Sizes past the unsigned range land in the last bucket rather than wrapping.
    const std::uint32_t m = longer >= 4294967295.0 ? 4294967295u : static_cast<std::uint32_t>(longer);
    std::size_t stop = 0;
    while (stop < 5 && m > kBounds[stop]) ++stop;
    const std::uint32_t bound = kBounds[stop];
    char bucket[32];
    if (m > bound)
        std::snprintf(bucket, sizeof bucket, ">%upx", bound);
    else if (stop == 0)
        std::snprintf(bucket, sizeof bucket, "<%upx", bound);
    else
        std::snprintf(bucket, sizeof bucket, "%u-%upx", kBounds[stop - 1] + 1, bound);
    return bucket;
}
