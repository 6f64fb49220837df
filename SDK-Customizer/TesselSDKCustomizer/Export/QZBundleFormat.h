#pragma once
// What the editor reads from the bundle the customizer writes: its folder name, the export
// status in "Status.plist" and the colours in "Colors.plist".

#include <string>

#include "Model/OverallAppearance.h"

namespace customizer {

inline constexpr const char* kQZBundleFolderName = "TesselSDKResources.bundle";
inline constexpr const char* kQZStatusFileName = "Status.plist";
inline constexpr const char* kQZColorsFileName = "Colors.plist";

// The values of "status".
inline constexpr const char* BeganStatus = "Unfinished";
inline constexpr const char* UncompressedStatus = "Uncompressed";
inline constexpr const char* CompletedStatus = "Completed";

// {"status": status} as an XML property list.
std::string QZStatusPropertyList(const std::string& status);
// One entry per attribute, keyed by its name: a colour (through its getter, so fallbacks
// resolved) as {"hex": "#rrggbb", "alpha": real}, a flag as a boolean, and anything unset as the
// boolean false.
std::string QZColorsPropertyList(const OverallAppearance& theme);

}  // namespace customizer
