#pragma once
// The two resource lists an export draws from: the icon names of "CustomizationIconList.plist"
// and the colour-chip strings of "CustomizationColors.plist" ("0xffrrggbb", the name the editor
// loads a chip by). Each entry becomes a file name in the bundle, so one that is empty, starts
// with "." or holds "/" is refused, and so is a chip string that holds no hexadecimal colour.

#include <optional>
#include <string>
#include <vector>

namespace customizer {

inline constexpr const char* kQZIconListFileName = "CustomizationIconList.plist";
inline constexpr const char* kQZColorListFileName = "CustomizationColors.plist";

struct QZExportLists {
    std::vector<std::string> iconNames;
    std::vector<std::string> colorNames;

    // Nullopt (with the reason in `error`) when a list is missing, unreadable or refused.
    static std::optional<QZExportLists> read(const std::string& resourcesFolder, std::string* error);
};

}  // namespace customizer
