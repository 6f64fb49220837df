#include "TesselSDK/remote/QZRemoteConfiguration.h"

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

std::optional<std::string> QZRemoteConfiguration::analyticsServiceRoot()
{
    return root(kQZAnalyticsServiceURLInfoKey);
}
