#pragma once
// The one door through which the editor reports analytics. The session class "QZMetricsSession"
// is looked up by name at every call; while no class of that name is registered, reporting does
// nothing at all. Class methods only; callable from any thread.

#include <string>

#include "Foundation/Value.h"

inline constexpr const char* kQZMetricsSessionClassName = "QZMetricsSession";
inline constexpr const char* kQZAnalyticsSDKVersion = "3.3.11";

class QZAnalytics {
public:
    // Attributes merged into every event: "appId", "sdkVersion" and, when the host wrote one to
    // the user defaults, "pushNotificationState". Made once per process.
    static Value& standardAttributes();
    // Sends the event with the standard attributes, the given ones (a dictionary or nil) over
    // them, to the shared session. A nil session is logged and the event dropped; nothing fails
    // towards the caller.
    static void reportEvent(const std::string& eventName, const Value& attributes);
    // Whether a class named "QZMetricsSession" is registered.
    static bool attachedAnalyticsLibraryExists();
};
