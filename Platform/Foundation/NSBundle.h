#pragma once
// A bundle: a directory of resources with an Info.plist and per-language ".lproj" directories.
//
// Resource lookup (pathForResource) tries, in order: the resource itself in the subdirectory;
// then, in each of the bundle's preferred localizations (the user's languages matched against
// the bundle's localizations, a region falling back to its language, then the development
// localization), "<language>.lproj/<subdirectory>/<name>.<type>". With an explicit localization
// only that ".lproj" is searched.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSBundle : public NSObject {
public:
    // The bundle at PlatformSettings::mainBundlePath (made again when that path changes).
    static std::shared_ptr<NSBundle> mainBundle();
    // Null when the path is not a directory.
    static std::shared_ptr<NSBundle> bundleWithPath(const std::string& path);

    const std::string& bundlePath() const { return path_; }
    const std::string& resourcePath() const { return path_; }
    // Info.plist's dictionary (an empty dictionary when absent or unreadable).
    const Value& infoDictionary() const { return info_; }
    std::string bundleIdentifier() const { return info_["CFBundleIdentifier"].stringValue(); }
    // CFBundleDevelopmentRegion, "en" when not given.
    std::string developmentLocalization() const;
    // The languages of the bundle's ".lproj" directories, sorted.
    std::vector<std::string> localizations() const;
    std::vector<std::string> preferredLocalizations() const;
    // The entries of `localizations` that best serve `preferences`, best first: for each preferred
    // language an exact match, else its language part ("pt-BR" -> "pt"); the development
    // localization (when among them) closes the list.
    static std::vector<std::string> preferredLocalizationsFromArray(const std::vector<std::string>& localizations,
                                                                    const std::vector<std::string>& preferences,
                                                                    const std::string& developmentLocalization = {});

    // `name` may carry its extension, with an empty `type`.
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type,
                                               const std::string& subdirectory = {}) const;
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type,
                                               const std::string& subdirectory, const std::string& localization) const;

    using NSObject::NSObject;

private:
    void initWithPath(std::string path);
    std::optional<std::string> find(const std::string& directory, const std::string& file) const;

    std::string path_;
    Value info_;
};
