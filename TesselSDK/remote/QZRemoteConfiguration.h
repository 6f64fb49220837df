#pragma once
// Where the remote services go, read from the host's main bundle Info.plist: the API key by which
// the host identifies itself ("TesselAPIKey") and the content service's roots (scheme, host and
// port: "TesselContentServiceURL", "TesselStagingContentServiceURL"), to which the services
// append their paths, and the analytics service's root ("TesselAnalyticsServiceURL"). With no root
// configured a service contacts nothing. A host or a test may override each value for the process
// (the setters); clearing an override reads Info.plist again.

#include <optional>
#include <string>

inline constexpr const char* kQZAPIKeyInfoKey = "TesselAPIKey";
inline constexpr const char* kQZContentServiceURLInfoKey = "TesselContentServiceURL";
inline constexpr const char* kQZStagingContentServiceURLInfoKey = "TesselStagingContentServiceURL";
// "https" sends analytics uploads over HTTPS; with no root nothing is sent.
inline constexpr const char* kQZAnalyticsServiceURLInfoKey = "TesselAnalyticsServiceURL";
// Appended to a root: the content asset service, and the content service.
inline constexpr const char* kQZContentAssetServicePath = "/ios/cds/api/";
inline constexpr const char* kQZContentServicePath = "/cds/api/";

class QZRemoteConfiguration {
public:
    // nullopt when absent or empty.
    static std::optional<std::string> apiKey();
    // An http or https root without a trailing "/"; nullopt when absent or of another scheme.
    static std::optional<std::string> contentServiceRoot();
    static std::optional<std::string> stagingContentServiceRoot();
    static std::optional<std::string> analyticsServiceRoot();

    // nullopt clears the override. An override replaces Info.plist's value, an empty key or root
    // standing for none. A root other than http or https is refused (false, nothing changes).
    static void setAPIKey(std::optional<std::string> key);
    static bool setContentServiceRoot(std::optional<std::string> root);
    static bool setStagingContentServiceRoot(std::optional<std::string> root);
    static bool setAnalyticsServiceRoot(std::optional<std::string> root);
};
