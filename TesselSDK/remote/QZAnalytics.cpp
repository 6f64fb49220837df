#include "TesselSDK/remote/QZAnalytics.h"

#include <memory>
#include <mutex>

#include "Foundation/NSBundle.h"
#include "Foundation/NSClass.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDK/remote/QZMetricsSessionProtocol.h"

Value& QZAnalytics::standardAttributes()
{
    static Value attributes;
    static std::once_flag once;
    std::call_once(once, [] {
        attributes = Value::dictionary();
        std::string appId = NSBundle::mainBundle()->bundleIdentifier();
        attributes.setObject(appId.empty() ? PlatformSettings::bundleIdentifier() : appId, "appId");
        attributes.setObject(kQZAnalyticsSDKVersion, "sdkVersion");
        Value pushState = NSUserDefaults::standardUserDefaults()->objectForKey("kQZPushNotificationState");
        if (!pushState.isNil()) attributes.setObject(static_cast<std::uint32_t>(pushState.longLongValue()), "pushNotificationState");
    });
    return attributes;
}

void QZAnalytics::reportEvent(const std::string& eventName, const Value& attributes)
{
    std::shared_ptr<const NSClass> sessionClass = NSClassFromString(kQZMetricsSessionClassName);
    if (!sessionClass) return;
    std::shared_ptr<NSObject> sessionObject = sessionClass->performSelector("sharedMetricsSession").object();
    auto* session = dynamic_cast<QZMetricsSessionProtocol*>(sessionObject.get());
    if (!session) {
        NSLog("%s %@", "+[QZAnalytics reportEvent:attributes:]", "Invalid session");
        return;
    }
    Value merged = standardAttributes();
    if (const Value::Dictionary* given = attributes.asDictionary())
        for (const auto& [key, value] : *given) merged.setObject(value, key);
    session->tagEvent(eventName, merged);
}

bool QZAnalytics::attachedAnalyticsLibraryExists() { return NSClassFromString(kQZMetricsSessionClassName) != nullptr; }
