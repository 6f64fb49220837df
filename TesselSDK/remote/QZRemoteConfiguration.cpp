#include "TesselSDK/remote/QZRemoteConfiguration.h"

#include <mutex>

#include "Foundation/NSBundle.h"

namespace {

struct Overrides {
    std::mutex mutex;
    // Outer optional: whether an override is set; inner: its value (nullopt for none).
    std::optional<std::optional<std::string>> apiKey;
    std::optional<std::optional<std::string>> contentRoot;
    std::optional<std::optional<std::string>> stagingRoot;
    std::optional<std::optional<std::string>> analyticsRoot;
};

Overrides& overrides()
{
    static Overrides shared;
    return shared;
}

std::optional<std::string> nonEmpty(std::string value)
{
    if (value.empty()) return std::nullopt;
    return value;
}

// An http or https root without its trailing "/"; nullopt for anything else.
std::optional<std::string> normalisedRoot(std::optional<std::string> value)
{
    if (!value || !(value->rfind("http://", 0) == 0 || value->rfind("https://", 0) == 0)) return std::nullopt;
    while (!value->empty() && value->back() == '/') value->pop_back();
    return value;
}

std::optional<std::string> infoString(const char* key)
{
    return nonEmpty(NSBundle::mainBundle()->infoDictionary()[key].stringValue());
}

std::optional<std::string> configured(std::optional<std::optional<std::string>> Overrides::*slot, const char* key)
{
    {
        Overrides& shared = overrides();
        std::lock_guard lock(shared.mutex);
        if (shared.*slot) return *(shared.*slot);
    }
    return infoString(key);
}

bool setRoot(std::optional<std::optional<std::string>> Overrides::*slot, std::optional<std::string> root)
{
    std::optional<std::optional<std::string>> value;
    if (root) {
        if (root->empty()) {
            value.emplace(std::nullopt);
        } else {
            std::optional<std::string> normalised = normalisedRoot(std::move(root));
            if (!normalised) return false;
            value.emplace(std::move(normalised));
        }
    }
    Overrides& shared = overrides();
    std::lock_guard lock(shared.mutex);
    shared.*slot = std::move(value);
    return true;
}

}  // namespace

std::optional<std::string> QZRemoteConfiguration::apiKey()
{
    return configured(&Overrides::apiKey, kQZAPIKeyInfoKey);
}

std::optional<std::string> QZRemoteConfiguration::contentServiceRoot()
{
    return normalisedRoot(configured(&Overrides::contentRoot, kQZContentServiceURLInfoKey));
}

std::optional<std::string> QZRemoteConfiguration::stagingContentServiceRoot()
{
    return normalisedRoot(configured(&Overrides::stagingRoot, kQZStagingContentServiceURLInfoKey));
}

std::optional<std::string> QZRemoteConfiguration::analyticsServiceRoot()
{
    return normalisedRoot(configured(&Overrides::analyticsRoot, kQZAnalyticsServiceURLInfoKey));
}

void QZRemoteConfiguration::setAPIKey(std::optional<std::string> key)
{
    std::optional<std::optional<std::string>> value;
    if (key) value.emplace(nonEmpty(std::move(*key)));
    Overrides& shared = overrides();
    std::lock_guard lock(shared.mutex);
    shared.apiKey = std::move(value);
}

bool QZRemoteConfiguration::setContentServiceRoot(std::optional<std::string> root)
{
    return setRoot(&Overrides::contentRoot, std::move(root));
}

bool QZRemoteConfiguration::setStagingContentServiceRoot(std::optional<std::string> root)
{
    return setRoot(&Overrides::stagingRoot, std::move(root));
}

bool QZRemoteConfiguration::setAnalyticsServiceRoot(std::optional<std::string> root)
{
    return setRoot(&Overrides::analyticsRoot, std::move(root));
}
