#pragma once
// Reads "CustomizationIconList.plist": an array of icon names (strings).

#include <optional>
#include <string>
#include <vector>

namespace customizer::masks {

// Nullopt (with the reason in `error`) when the file cannot be read or is not an array of strings.
std::optional<std::vector<std::string>> QZReadIconList(const std::string& path, std::string* error);

}  // namespace customizer::masks
