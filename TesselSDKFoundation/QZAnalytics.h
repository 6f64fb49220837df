#pragma once
// The one door through which the editor reports analytics. The session class "QZMetricsSession"
// is looked up by name at every call; while no class of that name is registered, reporting does
// nothing at all. Class methods only; callable from any thread.

#include <string>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/Value.h"

inline constexpr const char* kQZMetricsSessionClassName = "QZMetricsSession";
inline constexpr const char* kQZAnalyticsSDKVersion = "3.3.11";
// The outside analytics service's key for this application.
inline constexpr const char* kQZAnalyticsApplicationKey =
    "3c7a19e0b5d24f8a61e0c9d-7b2e4a10-9c3d-4e5f-a6b7-c8d9e0f1a2b3";

class QZAnalytics {
public:
    // A copy of the attributes merged into every event: the A/B test summary's entries, "appId",
    // "sdkVersion", "pushNotificationState" when the host wrote one to the user defaults, and
    // "isQuickLaunch" while set. Made once per process; guarded by a mutex, since events come from
    // any thread while the main thread sets the quick-launch attribute.
    static Value standardAttributes();
    // YES sets "isQuickLaunch" to YES in the standard attributes; NO removes it.
    static void setQuickLaunch(bool quickLaunch);
    // Begins the session with the application key, names the host ("<bundle id> - <API key>") as
    // custom dimension 0, opens it and starts an upload.
    static void resumeSession();
    // Uploads, then closes the session.
    static void finalizeSession();
    // Sends the event with the standard attributes, the given ones (a dictionary or nil) over
    // them, to the shared session. A nil session is logged and the event dropped; nothing fails
    // towards the caller.
    static void reportEvent(const std::string& eventName, const Value& attributes);
    static void reportScreen(const std::string& screenName);
    // Whether a class named "QZMetricsSession" is registered.
    static bool attachedAnalyticsLibraryExists();
    // The bucket of the longer side: "<200px", "201-400px" ... "1025-2048px", ">2048px".
    static std::string bucketStringForImageSize(CGSize size);
};
