#pragma once
// The files a bundle export writes, listed here on their own (header only: the command-line test
// links none of the customizer's libraries), and the pixel size a PNG file declares.

#include <cstdint>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace customizer::testing {

// Every image is written as "<base>.png" and "<base>@2x.png".
inline std::vector<std::string> expectedImageBases(const std::vector<std::string>& icons,
                                                   const std::vector<std::string>& chips)
{
    std::vector<std::string> bases;
    for (const std::string& icon : icons) {
        bases.push_back(icon);
        bases.push_back(icon + "-active");
    }
    bases.insert(bases.end(), chips.begin(), chips.end());
    for (const char* base : {"toolBar",
                             "navBar",
                             "rightSegmentedButton",
                             "centerSegmentedButton",
                             "leftSegmentedButton",
                             "singleSegmentedButton",
                             "rightSegmentedButton-active",
                             "centerSegmentedButton-active",
                             "leftSegmentedButton-active",
                             "singleSegmentedButton-active",
                             "sliderLeftCore",
                             "sliderLeftCore-active",
                             "sliderRightCore",
                             "sliderRightCore-active",
                             "sliderLeftCap",
                             "sliderRightCap",
                             "sliderStretchableImage",
                             "sliderCenter",
                             "homeBarBackground",
                             "apply",
                             "apply-active",
                             "cancel",
                             "cancel-active",
                             "backButton",
                             "backButton-active",
                             "sliderKnob",
                             "memeField",
                             "conveyorBackground",
                             "conveyorBackground-active",
                             "conveyorBackground-adjacent",
                             "conveyorBackgroundHalf",
                             "conveyorBackgroundHalf-active",
                             "conveyorBackgroundHalf-adjacent",
                             "singleConveyorCenterOverlay",
                             "singleConveyorStretchableOverlay",
                             "splitConveyorCenterOverlay",
                             "splitConveyorStretchableOverlay",
                             "activePill",
                             "smallKnob",
                             "orientationKnob",
                             "resizeKnob",
                             "selectionViewBackground",
                             "selectionViewShelfBackground",
                             "plus",
                             "minus",
                             "toolSelectionCell",
                             "toolSelectionCell-adjacent",
                             "toolSelectionCell-selected",
                             "canvas",
                             "contentPackDivider",
                             "poweredByTessel",
                             "poweredByTessel-Active",
                             "feedBackDivider",
                             "toolMergeButtonMiddle",
                             "toolMergeButtonMiddle-active",
                             "toolMergeButtonLeft",
                             "toolMergeButtonLeft-active",
                             "toolMergeButtonRight",
                             "toolMergeButtonRight-active",
                             "restoreBackgroundLeft",
                             "restoreBackgroundRight",
                             "restoreBackgroundBottomLeft",
                             "restoreBackgroundBottomRight",
                             "restoreBackgroundBottomCenter",
                             "restoreBackgroundTopCenter"})
        bases.push_back(base);
    return bases;
}

inline std::set<std::string> expectedBundleFiles(const std::vector<std::string>& icons,
                                                 const std::vector<std::string>& chips)
{
    std::set<std::string> files = {"Colors.plist", "Status.plist"};
    for (const std::string& base : expectedImageBases(icons, chips)) {
        files.insert(base + ".png");
        files.insert(base + "@2x.png");
    }
    return files;
}

// Width and height from the PNG header; nullopt for a file that is no PNG.
inline std::optional<std::pair<uint32_t, uint32_t>> pngSize(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24];
    if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return std::nullopt;
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (int i = 0; i < 8; ++i)
        if (header[i] != signature[i]) return std::nullopt;
    auto word = [&](int at) {
        return uint32_t(header[at]) << 24 | uint32_t(header[at + 1]) << 16 | uint32_t(header[at + 2]) << 8 |
               header[at + 3];
    };
    return std::pair{word(16), word(20)};
}

}  // namespace customizer::testing
