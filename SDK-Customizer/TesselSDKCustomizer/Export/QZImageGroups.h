#pragma once
// The 26 image groups of the bundle, in the order they are written. The first (the icons) goes
// to its own folder, never compressed; the others to the folder the compressor works on. Each
// writer draws its images from the theme and answers false, with the failing file named in
// `error`, when an image cannot be drawn or written.

#include <array>
#include <string>
#include <vector>

#include "Model/OverallAppearance.h"

namespace customizer {

struct QZExportContext {
    const OverallAppearance& theme;
    const std::vector<std::string>& iconNames;   // "CustomizationIconList.plist"
    const std::vector<std::string>& colorNames;  // "CustomizationColors.plist"
};

using QZImageGroupWriter = bool (*)(const QZExportContext& context, const std::string& folder, std::string* error);

struct QZImageGroup {
    const char* name;
    QZImageGroupWriter write;
};

inline constexpr int kQZImageGroupCount = 26;

const std::array<QZImageGroup, kQZImageGroupCount>& QZImageGroups();

// The application images of the powered-by logo, by `usesBlackTesselLogo`: normal, then active.
std::array<const char*, 2> QZLogoImageNames(bool black);

}  // namespace customizer
