#pragma once
// Every generator of the customizer with every flag, state, style, type and suffix value it
// takes, as one table: what the contact sheets draw and what the sweep test renders against the
// generated resources.

#include <functional>
#include <string>
#include <vector>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer::masks {

// The theme colours the cases draw with.
struct QZPalette {
    NSColorPtr bar, outerStroke, innerStroke;
    NSColorPtr navBar, navOuterStroke, navInnerStroke;
    NSColorPtr canvas;
    NSColorPtr buttonTop, buttonBottom, buttonStroke, buttonInnerShadow;
    NSColorPtr cancel, cancelStroke, cancelInnerShadow;
    NSColorPtr accentTop, accentBottom;
    NSColorPtr iconDropShadow, iconStroke, iconTop, iconBottom, iconInnerShadow;
    NSColorPtr glow, highlightedStroke, highlightedInnerShadow;
    NSColorPtr handle, bezelTop, bezelBottom, handleStroke, handleShadow;
    NSColorPtr text, textShadow;

    // A dark theme with a blue accent.
    static QZPalette standard();
};

// The size an image of a case must have: the size of a catalogued mask, or a fixed size.
struct QZExpectedSize {
    std::string mask;  // file name without ".png"; empty for a fixed size
    CGSize fixed;
};

enum class QZSheet {
    BarsButtonsSlidersKnobs,
    IconsStripsCameraGallery,
};

struct QZGeneratorCase {
    std::string generator;  // the function's name
    std::string variant;    // its flags, style or type, for people
    QZSheet sheet;
    std::function<std::vector<NSImagePtr>(const QZPalette&)> render;  // one image, or [retina, non-retina]
    std::vector<QZExpectedSize> sizes;                                // one per image
    std::vector<double> sheetScales;  // the writer's output scales, for the contact sheet
};

// `iconNames`: the icon list's names (the fixed icon names are added).
std::vector<QZGeneratorCase> QZGeneratorCases(const std::vector<std::string>& iconNames);

}  // namespace customizer::masks
