#include "Export/QZImageGroups.h"

#include <filesystem>

#include "Export/QZImageWriters.h"
#include "Generators/QZThemedImages.h"
#include "Render/QZColorHelpers.h"

namespace customizer {
namespace {

using Context = QZExportContext;

std::string file(const std::string& folder, const char* name)
{
    return (std::filesystem::path(folder) / name).string();
}

// The colour groups the generators take.
struct BarColors {
    NSColorPtr bar, outer, inner;
};
BarColors bottomBar(const OverallAppearance& t)
{
    return {t.bottomBarColor(), t.bottomBarOuterStrokeColor(), t.bottomBarInnerStrokeColor()};
}
BarColors navigationBar(const OverallAppearance& t)
{
    return {t.navBarColor(), t.navBarOuterStrokeColor(), t.navBarInnerStrokeColor()};
}
BarColors cancel(const OverallAppearance& t)
{
    return {t.cancelButtonColor(), t.cancelButtonStrokeColor(), t.cancelButtonInnerShadowColor()};
}

NSImagePtr defaultIcon(const OverallAppearance& t, const std::string& name)
{
    return iconWithNameColorsAndState(name, t.defaultIconDropShadowColor(), t.defaultIconStrokeColor(),
                                      t.defaultIconGradientTopColor(), t.defaultIconGradientBottomColor(),
                                      t.defaultIconInnerShadowColor(), false);
}

NSImagePtr handleKnob(const OverallAppearance& t, const std::optional<std::string>& style)
{
    return smallKnobWithColorsAndStyle(t.handleColor(), t.handleBezelGradientTopColor(),
                                       t.handleBezelGradientBottomColor(), t.handleStrokeColor(), t.handleShadowColor(),
                                       style);
}

bool saveIcons(const Context& c, const std::string& folder, std::string* error)
{
    const OverallAppearance& t = c.theme;
    for (const std::string& name : c.iconNames) {
        if (!saveImageWithNameAndPath(defaultIcon(t, name), name, folder, error)) return false;
        NSImagePtr active = iconWithNameColorsAndState(
            name, t.highlightedIconGlowColor(), t.highlightedIconStrokeColor(), t.highlightedIconGradientTopColor(),
            t.highlightedIconGradientBottomColor(), t.highlightedIconInnerShadowColor(), true);
        if (!saveImageWithNameAndPath(active, name + "-active", folder, error)) return false;
    }
    return true;
}

bool saveToolBar(const Context& c, const std::string& folder, std::string* error)
{
    BarColors b = bottomBar(c.theme);
    bool noise = c.theme.useNoise();
    return saveImageWithProperScale(stretchableToolBarWithMidColorAndSize(b.bar, b.outer, b.inner, noise, 1),
                                    file(folder, "toolBar.png"), error) &&
           saveImageWithProperScale(stretchableToolBarWithMidColorAndSize(b.bar, b.outer, b.inner, noise, 2),
                                    file(folder, "toolBar@2x.png"), error);
}

bool saveNavBar(const Context& c, const std::string& folder, std::string* error)
{
    BarColors n = navigationBar(c.theme);
    bool noise = c.theme.useNoise();
    return saveImageWithProperScale(stretchableNavigationBarImageWithColorAndScale(n.bar, n.outer, n.inner, noise, 2),
                                    file(folder, "navBar@2x.png"), error) &&
           saveImageWithProperScale(stretchableNavigationBarImageWithColorAndScale(n.bar, n.outer, n.inner, noise, 1),
                                    file(folder, "navBar.png"), error);
}

bool saveSegmentedButtonImages(const Context& c, const std::string& folder, std::string* error)
{
    BarColors b = bottomBar(c.theme);
    using Generator = NSImagePtr (*)(const NSColorPtr&, const NSColorPtr&, const NSColorPtr&, bool);
    const std::pair<const char*, Generator> buttons[] = {
        {"rightSegmentedButton", rightSegmentedButtonWithColorsScaleAndState},
        {"centerSegmentedButton", centerSegmentedButtonWithColorsScaleAndState},
        {"leftSegmentedButton", leftSegmentedButtonWithColorsScaleAndState},
        {"singleSegmentedButton", singleSegmentedButtonWithColorsScaleAndState},
    };
    for (bool active : {false, true})
        for (const auto& [name, generator] : buttons)
            if (!saveImageWithNameAndPath(generator(b.bar, b.outer, b.inner, active),
                                          std::string(name) + (active ? "-active" : ""), folder, error))
                return false;
    return true;
}

bool saveSliderImages(const Context& c, const std::string& folder, std::string* error)
{
    const OverallAppearance& t = c.theme;
    NSColorPtr top = t.highlightedIconGradientTopColor(), bottom = t.highlightedIconGradientBottomColor();
    NSColorPtr bar = t.bottomBarColor(), stroke = t.bottomBarOuterStrokeColor();
    const std::pair<const char*, NSImagePtr> images[] = {
        {"sliderLeftCore", sliderLeftActiveCoreWithColorsAndState(top, bottom, stroke, false)},
        {"sliderLeftCore-active", sliderLeftActiveCoreWithColorsAndState(top, bottom, stroke, true)},
        {"sliderRightCore", sliderRightActiveCoreWithColorsAndState(top, bottom, stroke, false)},
        {"sliderRightCore-active", sliderRightActiveCoreWithColorsAndState(top, bottom, stroke, true)},
        {"sliderLeftCap", sliderLeftCapWithColors(bar, stroke)},
        {"sliderRightCap", sliderRightCapWithColors(bar, stroke)},
        {"sliderStretchableImage", sliderStretchableImageWithColors(bar, stroke)},
        {"sliderCenter", sliderCenterWithColors(bar, stroke)},
    };
    for (const auto& [name, image] : images)
        if (!saveImageWithNameAndPath(image, name, folder, error)) return false;
    return true;
}

bool saveBackground(const Context& c, const std::string& folder, std::string* error)
{
    BarColors b = bottomBar(c.theme);
    bool noise = c.theme.useNoise();
    return saveImageWithProperScale(
               stretchableHomeBottomBarWithMidColorStrokesSizeAndScale(b.bar, b.outer, b.inner, noise, 2),
               file(folder, "homeBarBackground@2x.png"), error) &&
           saveImageWithProperScale(
               stretchableHomeBottomBarWithMidColorStrokesSizeAndScale(b.bar, b.outer, b.inner, noise, 1),
               file(folder, "homeBarBackground.png"), error);
}

bool saveApplyButtons(const Context& c, const std::string& folder, std::string* error)
{
    const OverallAppearance& t = c.theme;
    NSColorPtr top = t.applyButtonGradientTopColor(), bottom = t.applyButtonGradientBottomColor();
    NSColorPtr stroke = t.applyButtonStrokeColor();
    return saveImageWithNameAndPath(
               stretchableApplyButtonWithColorsSizeAndScale(top, bottom, stroke, t.applyButtonInnerShadowColor()),
               "apply", folder, error) &&
           saveImageWithNameAndPath(stretchableActiveApplyButtonWithColorsSizeAndScale(top, bottom, stroke),
                                    "apply-active", folder, error);
}

bool saveCancelButtons(const Context& c, const std::string& folder, std::string* error)
{
    BarColors k = cancel(c.theme);
    return saveImageWithNameAndPath(stretchableCancelButtonWithColorsSizeAndScale(k.bar, k.outer, k.inner), "cancel",
                                    folder, error) &&
           saveImageWithNameAndPath(stretchableActiveCancelButtonWithColorsSizeAndScale(k.bar, k.outer, k.inner),
                                    "cancel-active", folder, error);
}

bool saveBackButton(const Context& c, const std::string& folder, std::string* error)
{
    BarColors k = cancel(c.theme);
    for (CGFloat scale : {1.0, 2.0}) {
        std::string suffix = scale > 1 ? "@2x.png" : ".png";
        if (!saveImageWithProperScale(stretchableBackButtonWithColorsAndScale(k.bar, k.outer, k.inner, scale),
                                      file(folder, ("backButton" + suffix).c_str()), error) ||
            !saveImageWithProperScale(
                stretchableActiveBackButtonWithColorsSizeAndScale(k.bar, k.outer, k.inner, 0, 0, scale),
                file(folder, ("backButton-active" + suffix).c_str()), error))
            return false;
    }
    return true;
}

bool saveSliderKnob(const Context& c, const std::string& folder, std::string* error)
{
    const OverallAppearance& t = c.theme;
    return saveImageWithNameAndPath(sliderKnobWithColors(t.handleColor(), t.handleBezelGradientTopColor(),
                                                         t.handleBezelGradientBottomColor(), t.handleStrokeColor(),
                                                         t.handleShadowColor()),
                                    "sliderKnob", folder, error);
}

bool saveMemeField(const Context& c, const std::string& folder, std::string* error)
{
    BarColors k = cancel(c.theme);
    return saveImageWithProperScale(memeFieldStretchableImageWithColorsAndScale(k.bar, k.outer, k.inner, 2),
                                    file(folder, "memeField@2x.png"), error) &&
           saveImageWithProperScale(memeFieldStretchableImageWithColorsAndScale(k.bar, k.outer, k.inner, 1),
                                    file(folder, "memeField.png"), error);
}

bool saveConveyorCellImages(const Context& c, const std::string& folder, std::string* error)
{
    BarColors b = bottomBar(c.theme);
    for (bool half : {false, true}) {
        std::string base = half ? "conveyorBackgroundHalf" : "conveyorBackground";
        const std::pair<const char*, std::pair<bool, bool>> states[] = {
            {"", {false, false}}, {"-active", {true, false}}, {"-adjacent", {false, true}}};
        for (const auto& [suffix, state] : states)
            if (!saveImageWithNameAndPathAtRetina(
                    stretchableConveryorBackgroundWithColors(b.bar, b.outer, b.inner, state.first, state.second, half),
                    base + suffix, folder, error))
                return false;
    }
    return true;
}

bool saveConveyorOverlayImages(const Context& c, const std::string& folder, std::string* error)
{
    BarColors b = bottomBar(c.theme);
    using Generator = NSImagePtr (*)(const NSColorPtr&, const NSColorPtr&, const NSColorPtr&);
    const std::pair<const char*, Generator> overlays[] = {
        {"singleConveyorCenterOverlay", singleConveyorCenterOverlayWithColors},
        {"singleConveyorStretchableOverlay", singleConveyorStretchableOverlayWithColors},
        {"splitConveyorCenterOverlay", splitConveyorCenterOverlayWithColors},
        {"splitConveyorStretchableOverlay", splitConveyorStretchableOverlayWithColors},
    };
    for (const auto& [name, generator] : overlays)
        if (!saveImageWithNameAndPath(generator(b.bar, b.outer, b.inner), name, folder, error)) return false;
    return true;
}

bool saveColorChips(const Context& c, const std::string& folder, std::string* error)
{
    for (const std::string& chip : c.colorNames)
        if (!saveImageWithNameAndPath(
                colorChipImageWithColor(QZNSColorWithHexString(chip), c.theme.bottomBarOuterStrokeColor()), chip,
                folder, error))
            return false;
    return true;
}

bool saveActivePill(const Context& c, const std::string& folder, std::string* error)
{
    const OverallAppearance& t = c.theme;
    return saveImageWithNameAndPath(stretchableActivePillWithColors(t.highlightedIconGradientTopColor(),
                                                                    t.highlightedIconGradientBottomColor(),
                                                                    t.bottomBarOuterStrokeColor()),
                                    "activePill", folder, error);
}

bool saveSmallKnobs(const Context& c, const std::string& folder, std::string* error)
{
    return saveImageWithNameAndPath(handleKnob(c.theme, std::nullopt), "smallKnob", folder, error) &&
           saveImageWithNameAndPath(handleKnob(c.theme, "orientation"), "orientationKnob", folder, error) &&
           saveImageWithNameAndPath(handleKnob(c.theme, "size"), "resizeKnob", folder, error);
}

bool saveSelectionViewBackgrounds(const Context& c, const std::string& folder, std::string* error)
{
    BarColors b = bottomBar(c.theme);
    return saveImageWithNameAndPath(stretchableSelectionBackgroundWithColors(b.bar, b.outer, b.inner),
                                    "selectionViewBackground", folder, error) &&
           saveImageWithNameAndPath(stretchableShelfSelectionBackgroundWithColors(b.bar, b.outer, b.inner),
                                    "selectionViewShelfBackground", folder, error);
}

// Replaces the two files of saveMemeField.
bool saveMemeFieldBackground(const Context& c, const std::string& folder, std::string* error)
{
    return saveImageWithNameAndPath(
        stretchableMemeFieldImageWithColors(c.theme.bottomBarColor(), c.theme.bottomBarOuterStrokeColor()), "memeField",
        folder, error);
}

bool savePlusMinusIcons(const Context& c, const std::string& folder, std::string* error)
{
    return saveImageWithNameAndPath(defaultIcon(c.theme, "plus"), "plus", folder, error) &&
           saveImageWithNameAndPath(defaultIcon(c.theme, "minus"), "minus", folder, error);
}

bool saveToolSelectionCellBackgrounds(const Context& c, const std::string& folder, std::string* error)
{
    BarColors b = bottomBar(c.theme);
    return saveImageWithNameAndPath(toolSelectionCellBorderImageWithColors(b.outer, b.inner, false),
                                    "toolSelectionCell", folder, error) &&
           saveImageWithNameAndPath(toolSelectionCellBorderImageWithColors(b.outer, b.inner, true),
                                    "toolSelectionCell-adjacent", folder, error) &&
           saveImageWithNameAndPath(toolSelectionCellSelectedImageWithColors(b.bar, b.outer, b.inner),
                                    "toolSelectionCell-selected", folder, error);
}

bool saveCanvas(const Context& c, const std::string& folder, std::string* error)
{
    NSColorPtr color = c.theme.canvasColor();
    bool noise = c.theme.useNoise();
    return saveImageWithProperScale(tileableCanvasImageWithColor(color, noise, 2), file(folder, "canvas@2x.png"),
                                    error) &&
           saveImageWithProperScale(tileableCanvasImageWithColor(color, noise, 1), file(folder, "canvas.png"), error);
}

bool saveTitleDivider(const Context& c, const std::string& folder, std::string* error)
{
    BarColors b = bottomBar(c.theme);
    return saveImageWithNameAndPath(selectionViewTitleDividerWIthColors(b.bar, b.outer, b.inner), "contentPackDivider",
                                    folder, error);
}

bool saveLogoImages(const Context& c, const std::string& folder, std::string* error)
{
    std::array<const char*, 2> logos = QZLogoImageNames(c.theme.usesBlackTesselLogo());
    return saveImageWithNameAndPathAtRetina(NSImage::imageNamed(logos[0]), "poweredByTessel", folder, error) &&
           saveImageWithNameAndPathAtRetina(NSImage::imageNamed(logos[1]), "poweredByTessel-Active", folder, error);
}

bool saveFeedbackDivider(const Context& c, const std::string& folder, std::string* error)
{
    return saveImageWithNameAndPathAtRetina(toolSelectionFeedbackDividerWithColors(c.theme.bottomBarOuterStrokeColor(),
                                                                                   c.theme.bottomBarInnerStrokeColor()),
                                            "feedBackDivider", folder, error);
}

bool saveToolMergeButtons(const Context& c, const std::string& folder, std::string* error)
{
    BarColors b = bottomBar(c.theme);
    using Generator = NSImagePtr (*)(const NSColorPtr&, const NSColorPtr&, const NSColorPtr&, bool);
    const std::pair<const char*, Generator> buttons[] = {
        {"toolMergeButtonMiddle", toolMergeMiddleButtonWithColorsAndState},
        {"toolMergeButtonLeft", toolMergeLeftButtonWithColorsAndState},
        {"toolMergeButtonRight", toolMergeRightButtonWithColorsAndState},
    };
    for (const auto& [name, generator] : buttons)
        for (bool active : {false, true})
            if (!saveImageWithNameAndPath(generator(b.bar, b.outer, b.inner, active),
                                          std::string(name) + (active ? "-active" : ""), folder, error))
                return false;
    return true;
}

bool savePrepostAssets(const Context& c, const std::string& folder, std::string* error)
{
    BarColors n = navigationBar(c.theme);
    bool noise = c.theme.useNoise();
    const std::pair<const char*, const char*> pieces[] = {
        {"restoreBackgroundLeft", "l"},           {"restoreBackgroundRight", "r"},
        {"restoreBackgroundBottomLeft", "b-l"},   {"restoreBackgroundBottomRight", "b-r"},
        {"restoreBackgroundBottomCenter", "b-c"}, {"restoreBackgroundTopCenter", "t-c"},
    };
    for (const auto& [name, type] : pieces) {
        std::array<NSImagePtr, 2> pair = {restoreButtonWithType(n.bar, n.outer, n.inner, type, true, noise),
                                          restoreButtonWithType(n.bar, n.outer, n.inner, type, false, noise)};
        if (!saveImageArrayWithNameAndPath(pair, name, folder, error)) return false;
    }
    return true;
}

constexpr std::array<QZImageGroup, kQZImageGroupCount> kGroups = {{
    {"saveIcons", saveIcons},
    {"saveToolBar", saveToolBar},
    {"saveNavBar", saveNavBar},
    {"saveSegmentedButtonImages", saveSegmentedButtonImages},
    {"saveSliderImages", saveSliderImages},
    {"saveBackground", saveBackground},
    {"saveApplyButtons", saveApplyButtons},
    {"saveCancelButtons", saveCancelButtons},
    {"saveBackButton", saveBackButton},
    {"saveSliderKnob", saveSliderKnob},
    {"saveMemeField", saveMemeField},
    {"saveConveyorCellImages", saveConveyorCellImages},
    {"saveConveyorOverlayImages", saveConveyorOverlayImages},
    {"saveColorChips", saveColorChips},
    {"saveActivePill", saveActivePill},
    {"saveSmallKnobs", saveSmallKnobs},
    {"saveSelectionViewBackgrounds", saveSelectionViewBackgrounds},
    {"saveMemeFieldBackground", saveMemeFieldBackground},
    {"savePlusMinusIcons", savePlusMinusIcons},
    {"saveToolSelectionCellBackgrounds", saveToolSelectionCellBackgrounds},
    {"saveCanvas", saveCanvas},
    {"saveTitleDivider", saveTitleDivider},
    {"saveLogoImages", saveLogoImages},
    {"saveFeedbackDivider", saveFeedbackDivider},
    {"saveToolMergeButtons", saveToolMergeButtons},
    {"savePrepostAssets", savePrepostAssets},
}};

}  // namespace

const std::array<QZImageGroup, kQZImageGroupCount>& QZImageGroups()
{
    return kGroups;
}

std::array<const char*, 2> QZLogoImageNames(bool black)
{
    if (black) return {"logo_black.png", "logo_black_active.png"};
    return {"logo_white.png", "logo_white_active.png"};
}

}  // namespace customizer
