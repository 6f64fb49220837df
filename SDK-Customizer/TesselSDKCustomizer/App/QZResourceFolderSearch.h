#pragma once
// Finding the editor's resource folder in a developer's project: below the folder that holds the
// chosen item, every path whose relative path ends with "TesselSDK/Resources" or
// "TesselSDK/TesselPhotoEditor/Resources" (a plain suffix test). Symbolic links are never
// followed (a link to a folder above would walk in circles or leave the project) and an
// unreadable folder is skipped, not the end of the search.

#include <optional>
#include <string>

namespace customizer {

inline constexpr const char* kQZCustomizerErrorDomain = "TesselSDKCustomizer";
inline constexpr const char* kQZResourcesBundleName = "TesselSDKResources.bundle";

enum QZCustomizerErrorCode { QZNoResourceFolderFound = 1, QZSeveralResourceFoldersFound = 2, QZInvalidCustomizationFile = 3 };

struct QZCustomizerError {
    std::string domain = kQZCustomizerErrorDomain;
    int code = 0;
    std::string description;
};

inline constexpr const char* kQZInvalidCustomizationFileText =
    "The customization file you are trying to load appears to be invalid. Please try a different one.";

// The resource folder, or nullopt with the error of code 1 (none) or 2 (several).
std::optional<std::string> pathForResourceBundleInXcodeProjectDir(const std::string& chosenItem, QZCustomizerError* error);

// Whether the export chooser accepts the item: exactly one resource folder, or the item is the
// resources bundle itself. A refusal fills the error.
bool isAcceptableExportChoice(const std::string& chosenItem, QZCustomizerError* error);

// The folder the bundle is exported into. An item named "TesselSDKResources.bundle" always exports
// into its parent, even when another resource folder lies deeper below.
std::optional<std::string> exportFolderForChosenItem(const std::string& chosenItem);

}  // namespace customizer
