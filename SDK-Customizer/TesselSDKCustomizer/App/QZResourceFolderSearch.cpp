#include "App/QZResourceFolderSearch.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace customizer {

namespace {

constexpr const char* kSuffixes[] = {"TesselSDK/Resources", "TesselSDK/TesselPhotoEditor/Resources"};

constexpr const char* kNoFolderText =
    "The selected Xcode project has no Tessel SDK directory anywhere in its parent directory. Please select "
    "another project or, if this is the right project, select the TesselSDKResources.bundle file directly: it "
    "lies in \"TesselSDK/Resources\" or in \"TesselSDK/TesselPhotoEditor/Resources\".";
constexpr const char* kSeveralFoldersText =
    "The selected Xcode project has several Tessel SDK directories in its parent directory. Please select "
    "another project or select the right TesselSDKResources.bundle file directly: it lies in "
    "\"TesselSDK/Resources\" or in \"TesselSDK/TesselPhotoEditor/Resources\".";

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<std::string> matchingRelativePaths(const fs::path& root)
{
    std::vector<std::string> found;
    std::error_code error;
    fs::recursive_directory_iterator walk(root, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator end; !error && walk != end; walk.increment(error)) {
        const std::string relative = walk->path().lexically_relative(root).generic_string();
        for (const char* suffix : kSuffixes) {
            if (endsWith(relative, suffix)) {
                found.push_back(relative);
                break;
            }
        }
    }
    return found;
}

// The chosen item without a trailing separator (choosers may give a folder that way).
fs::path itemPath(const std::string& chosenItem)
{
    fs::path item = fs::path(chosenItem).lexically_normal();
    if (!item.has_filename()) item = item.parent_path();
    return item;
}

}  // namespace

std::optional<std::string> pathForResourceBundleInXcodeProjectDir(const std::string& chosenItem, QZCustomizerError* error)
{
    const fs::path root = itemPath(chosenItem).parent_path();
    const std::vector<std::string> found = matchingRelativePaths(root);
    if (found.size() == 1) return (root / found.front()).string();
    if (error) {
        *error = QZCustomizerError{};
        error->code = found.empty() ? QZNoResourceFolderFound : QZSeveralResourceFoldersFound;
        error->description = found.empty() ? kNoFolderText : kSeveralFoldersText;
    }
    return std::nullopt;
}

static bool isResourcesBundle(const std::string& chosenItem)
{
    return itemPath(chosenItem).filename() == kQZResourcesBundleName;
}

bool isAcceptableExportChoice(const std::string& chosenItem, QZCustomizerError* error)
{
    if (isResourcesBundle(chosenItem)) return true;
    return pathForResourceBundleInXcodeProjectDir(chosenItem, error).has_value();
}

std::optional<std::string> exportFolderForChosenItem(const std::string& chosenItem)
{
    const fs::path item = itemPath(chosenItem);
    if (item.filename() == kQZResourcesBundleName) return item.parent_path().string();
    return pathForResourceBundleInXcodeProjectDir(item.string(), nullptr);
}

}  // namespace customizer
