#pragma once
// The one door through which the editor reports analytics. The session class "QZMetricsSession"
// is looked up by name at every call; while no class of that name is registered, reporting does
// nothing at all. Class methods only; callable from any thread.

#include <string>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/Value.h"

inline constexpr const char* kQZMetricsSessionClassName = "QZMetricsSession";
inline constexpr const char* kQZAnalyticsSDKVersion = "3.3.11";

class QZAnalytics {
public:
    // Attributes merged into every event: "appId", "sdkVersion" and, when the host wrote one to
    // the user defaults, "pushNotificationState"; "isQuickLaunch" while set. Made once per
    // process; a copy, as another thread may change them.
    static Value standardAttributes();
    // Adds (YES) or removes "isQuickLaunch" in the standard attributes.
    static void setQuickLaunch(bool quickLaunch);
    // Sends the event with the standard attributes, the given ones (a dictionary or nil) over
    // them, to the shared session. A nil session is logged and the event dropped; nothing fails
    // towards the caller.
    static void reportEvent(const std::string& eventName, const Value& attributes);
    // Tags the screen (no attributes); a nil session is logged.
    static void reportScreen(const std::string& screenName);
    // Begins the session for the application, names the host in custom dimension 0, opens it and
    // starts an upload.
    static void resumeSession();
    // Uploads, then closes the session.
    static void finalizeSession();
    // The bucket of the longer side: "<200px", "201-400px", ... "1025-2048px", ">2048px".
    static std::string bucketStringForImageSize(CGSize size);
    // Whether a class named "QZMetricsSession" is registered.
    static bool attachedAnalyticsLibraryExists();
};
