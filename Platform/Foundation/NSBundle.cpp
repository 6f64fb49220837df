#include "Foundation/NSBundle.h"

#include "Foundation/PlatformSettings.h"

#include <algorithm>
#include <filesystem>
#include <mutex>

namespace fs = std::filesystem;

void NSBundle::initWithPath(std::string path)
{
    path_ = std::move(path);
    info_ = Value::fromPropertyListFile((fs::path(path_) / "Info.plist").string());
    if (!info_.isDictionary()) info_ = Value::dictionary();
}

std::shared_ptr<NSBundle> NSBundle::mainBundle()
{
    static std::mutex mutex;
    static std::shared_ptr<NSBundle> bundle;
    std::lock_guard lock(mutex);
    std::string path = PlatformSettings::mainBundlePath();
    if (!bundle || bundle->bundlePath() != path) bundle = NSObject::create<NSBundle>(&NSBundle::initWithPath, path);
    return bundle;
}

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(const std::string& path)
{
    std::error_code ec;
    if (path.empty() || !fs::is_directory(path, ec)) return nullptr;
    return NSObject::create<NSBundle>(&NSBundle::initWithPath, path);
}

std::string NSBundle::developmentLocalization() const
{
    std::string region = info_["CFBundleDevelopmentRegion"].stringValue();
    return region.empty() ? "en" : region;
}

std::vector<std::string> NSBundle::localizations() const
{
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        if (p.extension() == ".lproj" && it->is_directory(ec)) out.push_back(p.stem().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> NSBundle::preferredLocalizationsFromArray(const std::vector<std::string>& localizations,
                                                                   const std::vector<std::string>& preferences,
                                                                   const std::string& developmentLocalization)
{
    std::vector<std::string> out;
    auto add = [&](const std::string& l) {
        if (std::find(localizations.begin(), localizations.end(), l) != localizations.end() &&
            std::find(out.begin(), out.end(), l) == out.end())
            out.push_back(l);
    };
    for (const auto& preferred : preferences) {
        size_t before = out.size();
        add(preferred);
        std::string underscored = preferred;
        std::replace(underscored.begin(), underscored.end(), '-', '_');
        add(underscored);
        if (out.size() == before) add(preferred.substr(0, preferred.find_first_of("-_")));
    }
    if (!developmentLocalization.empty()) add(developmentLocalization);
    return out;
}

std::vector<std::string> NSBundle::preferredLocalizations() const
{
    return preferredLocalizationsFromArray(localizations(), PlatformSettings::preferredLanguages(),
                                           developmentLocalization());
}

std::optional<std::string> NSBundle::find(const std::string& directory, const std::string& file) const
{
    fs::path p = fs::path(path_) / directory / file;
    std::error_code ec;
    if (fs::exists(p, ec)) return p.lexically_normal().string();
    return std::nullopt;
}

std::optional<std::string> NSBundle::pathForResource(const std::string& name, const std::string& type,
                                                     const std::string& subdirectory) const
{
    if (name.empty()) return std::nullopt;
    std::string file = type.empty() ? name : name + "." + type;
    if (auto p = find(subdirectory, file)) return p;
    for (const auto& l : preferredLocalizations())
        if (auto p = find((fs::path(l + ".lproj") / subdirectory).string(), file)) return p;
    return std::nullopt;
}

std::optional<std::string> NSBundle::pathForResource(const std::string& name, const std::string& type,
                                                     const std::string& subdirectory,
                                                     const std::string& localization) const
{
    if (localization.empty()) return pathForResource(name, type, subdirectory);
    if (name.empty()) return std::nullopt;
    std::string file = type.empty() ? name : name + "." + type;
    return find((fs::path(localization + ".lproj") / subdirectory).string(), file);
}
