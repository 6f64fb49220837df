#include "TesselSDK/remote/QZRemoteConfiguration.h"

#include <mutex>

#include "Foundation/NSBundle.h"

namespace {

std::optional<std::string> infoString(const char* key)
{
    std::string value = NSBundle::mainBundle()->infoDictionary()[key].stringValue();
    if (value.empty()) return std::nullopt;
    return value;
}

std::optional<std::string> root(const char* key)
{
    std::optional<std::string> value = infoString(key);
    if (!value || !(value->rfind("http://", 0) == 0 || value->rfind("https://", 0) == 0)) return std::nullopt;
    while (!value->empty() && value->back() == '/') value->pop_back();
    return value;
}

}  // namespace

std::optional<std::string> QZRemoteConfiguration::apiKey()
{
    return infoString(kQZAPIKeyInfoKey);
}

std::optional<std::string> QZRemoteConfiguration::contentServiceRoot()
{
    return root(kQZContentServiceURLInfoKey);
}

std::optional<std::string> QZRemoteConfiguration::stagingContentServiceRoot()
{
    return root(kQZStagingContentServiceURLInfoKey);
}

namespace {

std::mutex analyticsRootMutex;
// Outer optional: whether an override is set; inner: its value.
std::optional<std::optional<std::string>> analyticsRootOverride;

}  // namespace

std::optional<std::string> QZRemoteConfiguration::analyticsServiceRoot()
{
    {
        std::lock_guard lock(analyticsRootMutex);
        if (analyticsRootOverride) return *analyticsRootOverride;
    }
    return root(kQZAnalyticsServiceURLInfoKey);
}

bool QZRemoteConfiguration::setAnalyticsServiceRoot(std::optional<std::string> root)
{
    std::optional<std::optional<std::string>> value;
    if (root) {
        if (!root->empty() && root->rfind("http://", 0) != 0 && root->rfind("https://", 0) != 0) return false;
        while (!root->empty() && root->back() == '/') root->pop_back();
        value.emplace(root->empty() ? std::nullopt : std::move(root));
    }
    std::lock_guard lock(analyticsRootMutex);
    analyticsRootOverride = std::move(value);
    return true;
}
