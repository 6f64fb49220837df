#include "QZGeneratorCases.h"

#include "Generators/QZThemedImages.h"
#include "Render/QZColorHelpers.h"
#include "QZMaskCatalogue.h"

namespace customizer::masks {
namespace {

using Render = std::function<NSImagePtr(const QZPalette&)>;
using S = QZSheet;

const std::vector<double> kFourTimesScales = {0.125, 0.25};
const std::vector<double> kDoubleScales = {0.5, 1};
const std::vector<double> kAsDrawn = {1};
const std::vector<double> kCameraScales = {0.25, 0.5};

QZExpectedSize sizeOfMask(const std::string& name) { return {name, {}}; }
QZExpectedSize fixedSize(CGFloat width, CGFloat height) { return {"", CGSizeMake(width, height)}; }

const char* onOff(bool flag, const char* name) { return flag ? name : ""; }

std::string joined(std::initializer_list<std::string> parts)
{
    std::string text;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        if (!text.empty()) text += ", ";
        text += part;
    }
    return text.empty() ? "normal" : text;
}

NSColorPtr rgb(double r, double g, double b, double a = 1) { return NSColor::colorWithCalibratedRed(r, g, b, a); }

class Cases {
public:
    void one(const std::string& generator, const std::string& variant, S sheet, Render render, QZExpectedSize size,
             const std::vector<double>& scales)
    {
        cases_.push_back({generator, variant, sheet, [render](const QZPalette& p) { return std::vector<NSImagePtr>{render(p)}; },
                          {std::move(size)}, scales});
    }
    void pair(const std::string& generator, const std::string& variant, S sheet,
              std::function<std::array<NSImagePtr, 2>(const QZPalette&)> render, QZExpectedSize retina, QZExpectedSize plain)
    {
        cases_.push_back({generator, variant, sheet,
                          [render](const QZPalette& p) {
                              auto images = render(p);
                              return std::vector<NSImagePtr>{images[0], images[1]};
                          },
                          {std::move(retina), std::move(plain)}, kAsDrawn});
    }
    std::vector<QZGeneratorCase> take() { return std::move(cases_); }

private:
    std::vector<QZGeneratorCase> cases_;
};

void addProcedural(Cases& c)
{
    const S sheet = S::BarsButtonsSlidersKnobs;
    for (double s : {1.0, 2.0}) {
        for (bool noise : {false, true}) {
            std::string variant = joined({"s " + std::to_string(int(s)), onOff(noise, "noise")});
            c.one("tileableCanvasImageWithColor", variant, sheet,
                  [=](const QZPalette& p) { return tileableCanvasImageWithColor(p.canvas, noise, s); }, fixedSize(100 * s, 100 * s),
                  kAsDrawn);
            c.one("stretchableHomeBottomBarWithMidColorStrokesSizeAndScale", variant, sheet,
                  [=](const QZPalette& p) {
                      return stretchableHomeBottomBarWithMidColorStrokesSizeAndScale(p.bar, p.outerStroke, p.innerStroke, noise, s);
                  },
                  fixedSize(125 * s, 125 * s), kAsDrawn);
            c.one("stretchableToolBarWithMidColorAndSize", variant, sheet,
                  [=](const QZPalette& p) { return stretchableToolBarWithMidColorAndSize(p.bar, p.outerStroke, p.innerStroke, noise, s); },
                  fixedSize(100 * s, 100 * s), kAsDrawn);
            c.one("stretchableNavigationBarImageWithColorAndScale", variant, sheet,
                  [=](const QZPalette& p) {
                      return stretchableNavigationBarImageWithColorAndScale(p.navBar, p.navOuterStroke, p.navInnerStroke, noise, s);
                  },
                  fixedSize(44 * s, 44 * s), kAsDrawn);
        }
        c.one("memeFieldStretchableImageWithColorsAndScale", "s " + std::to_string(int(s)), sheet,
              [=](const QZPalette& p) { return memeFieldStretchableImageWithColorsAndScale(p.cancel, p.cancelStroke, p.cancelInnerShadow, s); },
              fixedSize(41 * s, 36 * s), kAsDrawn);
    }
    for (float side : {200.0f, 104.0f}) {
        for (bool noise : {false, true}) {
            c.one("stretchableCameraBarWithMidColorAndSize", joined({"L " + std::to_string(int(side)), onOff(noise, "noise")}), sheet,
                  [=](const QZPalette& p) {
                      return stretchableCameraBarWithMidColorAndSize(p.bar, p.outerStroke, p.innerStroke, noise, 1, side);
                  },
                  fixedSize(side, side), kAsDrawn);
        }
    }
    c.one("stretchableGradientWithColorsAndSize", "40 x 60", sheet,
          [](const QZPalette& p) { return stretchableGradientWithColorsAndSize(p.accentTop, p.accentBottom, 40, 60); },
          fixedSize(40, 60), kAsDrawn);
}

void addButtonsSlidersKnobs(Cases& c)
{
    const S sheet = S::BarsButtonsSlidersKnobs;
    auto buttonSize = sizeOfMask("button_core");
    for (bool active : {false, true})
        c.one("stretchableButtonWithColorsSizeScaleAndState", onOff(active, "active"), sheet,
              [=](const QZPalette& p) {
                  return stretchableButtonWithColorsSizeScaleAndState(p.buttonTop, p.buttonBottom, p.buttonStroke,
                                                                      p.buttonInnerShadow, active);
              },
              buttonSize, kFourTimesScales);
    c.one("stretchableApplyButtonWithColorsSizeAndScale", "", sheet,
          [](const QZPalette& p) {
              return stretchableApplyButtonWithColorsSizeAndScale(p.buttonTop, p.buttonBottom, p.buttonStroke, p.buttonInnerShadow);
          },
          buttonSize, kFourTimesScales);
    c.one("stretchableActiveApplyButtonWithColorsSizeAndScale", "", sheet,
          [](const QZPalette& p) { return stretchableActiveApplyButtonWithColorsSizeAndScale(p.buttonTop, p.buttonBottom, p.buttonStroke); },
          buttonSize, kFourTimesScales);
    c.one("stretchableCancelButtonWithColorsSizeAndScale", "", sheet,
          [](const QZPalette& p) { return stretchableCancelButtonWithColorsSizeAndScale(p.cancel, p.cancelStroke, p.cancelInnerShadow); },
          buttonSize, kFourTimesScales);
    c.one("stretchableActiveCancelButtonWithColorsSizeAndScale", "", sheet,
          [](const QZPalette& p) {
              return stretchableActiveCancelButtonWithColorsSizeAndScale(p.cancel, p.cancelStroke, p.cancelInnerShadow);
          },
          buttonSize, kFourTimesScales);

    for (double s : {1.0, 1.01, 2.0}) {
        auto size = sizeOfMask(s > 1.01 ? "retina_back_stroke" : "back_stroke");
        std::string scale = "s " + std::to_string(s).substr(0, 4);
        for (bool active : {false, true})
            c.one("stretchableBackButtonWithColorsScaleAndState", joined({scale, onOff(active, "active")}), sheet,
                  [=](const QZPalette& p) {
                      return stretchableBackButtonWithColorsScaleAndState(p.cancel, p.cancelStroke, p.cancelInnerShadow, active, s);
                  },
                  size, kAsDrawn);
        c.one("stretchableBackButtonWithColorsAndScale", scale, sheet,
              [=](const QZPalette& p) { return stretchableBackButtonWithColorsAndScale(p.cancel, p.cancelStroke, p.cancelInnerShadow, s); },
              size, kAsDrawn);
        c.one("stretchableActiveBackButtonWithColorsSizeAndScale", scale, sheet,
              [=](const QZPalette& p) {
                  return stretchableActiveBackButtonWithColorsSizeAndScale(p.cancel, p.cancelStroke, p.cancelInnerShadow, 30, 30, s);
              },
              size, kAsDrawn);
    }

    using Track = NSImagePtr (*)(const NSColorPtr&, const NSColorPtr&);
    const std::pair<const char*, Track> tracks[] = {{"sliderLeftCapWithColors", sliderLeftCapWithColors},
                                                    {"sliderRightCapWithColors", sliderRightCapWithColors},
                                                    {"sliderStretchableImageWithColors", sliderStretchableImageWithColors},
                                                    {"sliderCenterWithColors", sliderCenterWithColors}};
    const char* trackSuffixes[] = {"_l", "_r", "", "_c"};
    for (int i = 0; i < 4; ++i) {
        Track track = tracks[i].second;
        std::string suffix = trackSuffixes[i];
        c.one(tracks[i].first, "", sheet, [=](const QZPalette& p) { return track(p.bar, p.outerStroke); },
              sizeOfMask("outer_stroke" + suffix), kFourTimesScales);
        c.one("sliderImageWithColorsAndSuffux", "\"" + suffix + "\"", sheet,
              [=](const QZPalette& p) { return sliderImageWithColorsAndSuffux(p.bar, p.outerStroke, suffix); },
              sizeOfMask("outer_stroke" + suffix), kFourTimesScales);
    }
    for (bool active : {false, true}) {
        c.one("sliderLeftActiveCoreWithColorsAndState", onOff(active, "active"), sheet,
              [=](const QZPalette& p) { return sliderLeftActiveCoreWithColorsAndState(p.accentTop, p.accentBottom, p.outerStroke, active); },
              sizeOfMask("goo_glow_l"), kFourTimesScales);
        c.one("sliderRightActiveCoreWithColorsAndState", onOff(active, "active"), sheet,
              [=](const QZPalette& p) { return sliderRightActiveCoreWithColorsAndState(p.accentTop, p.accentBottom, p.outerStroke, active); },
              sizeOfMask("goo_glow_r"), kFourTimesScales);
        for (std::string suffix : {"_l", "_r"})
            c.one("sliderActiveCoreWithColorsStateAndSuffux", joined({"\"" + suffix + "\"", onOff(active, "active")}), sheet,
                  [=](const QZPalette& p) {
                      return sliderActiveCoreWithColorsStateAndSuffux(p.accentTop, p.accentBottom, p.outerStroke, active, suffix);
                  },
                  sizeOfMask("goo_glow" + suffix), kFourTimesScales);
    }

    using Segment = NSImagePtr (*)(const NSColorPtr&, const NSColorPtr&, const NSColorPtr&, bool);
    const std::tuple<const char*, Segment, const char*> segments[] = {
        {"rightSegmentedButtonWithColorsScaleAndState", rightSegmentedButtonWithColorsScaleAndState, "_r"},
        {"centerSegmentedButtonWithColorsScaleAndState", centerSegmentedButtonWithColorsScaleAndState, ""},
        {"leftSegmentedButtonWithColorsScaleAndState", leftSegmentedButtonWithColorsScaleAndState, "_l"},
        {"singleSegmentedButtonWithColorsScaleAndState", singleSegmentedButtonWithColorsScaleAndState, "_s"}};
    for (bool active : {false, true}) {
        for (const auto& [name, segment, style] : segments) {
            Segment draw = segment;
            std::string suffix = style;
            c.one(name, onOff(active, "active"), sheet,
                  [=](const QZPalette& p) { return draw(p.bar, p.outerStroke, p.innerStroke, active); },
                  sizeOfMask("radio_stroke" + suffix), kFourTimesScales);
            c.one("segmentedButtonWithColorsStateAndStyle", joined({"\"" + suffix + "\"", onOff(active, "active")}), sheet,
                  [=](const QZPalette& p) {
                      return segmentedButtonWithColorsStateAndStyle(p.bar, p.outerStroke, p.innerStroke, active, suffix);
                  },
                  sizeOfMask("radio_stroke" + suffix), kFourTimesScales);
        }
    }

    c.one("sliderKnobWithColors", "", sheet,
          [](const QZPalette& p) { return sliderKnobWithColors(p.handle, p.bezelTop, p.bezelBottom, p.handleStroke, p.handleShadow); },
          sizeOfMask("knob_bezel"), kFourTimesScales);
    for (std::optional<std::string> style : {std::optional<std::string>(), std::optional<std::string>("orientation"),
                                             std::optional<std::string>("size")})
        c.one("smallKnobWithColorsAndStyle", style ? *style : "nil", sheet,
              [=](const QZPalette& p) {
                  return smallKnobWithColorsAndStyle(p.handle, p.bezelTop, p.bezelBottom, p.handleStroke, p.handleShadow, style);
              },
              sizeOfMask("knob_small_bezel"), kFourTimesScales);
}

void addIconsAndStrips(Cases& c, const std::vector<std::string>& iconNames)
{
    const S sheet = S::IconsStripsCameraGallery;
    std::vector<std::string> names = iconNames;
    names.insert(names.end(), QZFixedIconNames().begin(), QZFixedIconNames().end());
    for (const std::string& name : names)
        for (bool highlighted : {false, true})
            c.one("iconWithNameColorsAndState", joined({name, onOff(highlighted, "highlighted")}), sheet,
                  [=](const QZPalette& p) {
                      if (highlighted)
                          return iconWithNameColorsAndState(name, p.glow, p.highlightedStroke, p.accentTop, p.accentBottom,
                                                            p.highlightedInnerShadow, true);
                      return iconWithNameColorsAndState(name, p.iconDropShadow, p.iconStroke, p.iconTop, p.iconBottom,
                                                        p.iconInnerShadow, false);
                  },
                  sizeOfMask(name + "_core"), kFourTimesScales);

    for (bool half : {false, true})
        for (bool active : {false, true})
            for (bool adjacent : {false, true})
                c.one("stretchableConveryorBackgroundWithColors",
                      joined({onOff(active, "active"), onOff(adjacent, "adjacent"), onOff(half, "half")}), sheet,
                      [=](const QZPalette& p) {
                          return stretchableConveryorBackgroundWithColors(p.bar, p.outerStroke, p.innerStroke, active, adjacent, half);
                      },
                      sizeOfMask(half ? "conveyor_half_core" : "conveyor_core"), kDoubleScales);
    using Overlay = NSImagePtr (*)(const NSColorPtr&, const NSColorPtr&, const NSColorPtr&);
    const std::tuple<const char*, Overlay, const char*> overlays[] = {
        {"singleConveyorCenterOverlayWithColors", singleConveyorCenterOverlayWithColors, "single_center"},
        {"singleConveyorStretchableOverlayWithColors", singleConveyorStretchableOverlayWithColors, "single_stretch"},
        {"splitConveyorCenterOverlayWithColors", splitConveyorCenterOverlayWithColors, "split_center"},
        {"splitConveyorStretchableOverlayWithColors", splitConveyorStretchableOverlayWithColors, "split_stretch"}};
    for (const auto& [name, overlay, style] : overlays) {
        Overlay draw = overlay;
        std::string s = style;
        c.one(name, "", sheet, [=](const QZPalette& p) { return draw(p.bar, p.outerStroke, p.innerStroke); },
              sizeOfMask(s + "_core"), kFourTimesScales);
        c.one("conveyorOverlayWithColorsAndStyle", s, sheet,
              [=](const QZPalette& p) { return conveyorOverlayWithColorsAndStyle(p.bar, p.outerStroke, p.innerStroke, s); },
              sizeOfMask(s + "_core"), kFourTimesScales);
    }

    for (const char* chip : {"0xffe03c31", "0xff2a9df4", "0xfff5f5f5"}) {
        std::string hex = chip;
        c.one("colorChipImageWithColor", hex, sheet,
              [=](const QZPalette& p) { return colorChipImageWithColor(QZNSColorWithHexString(hex), p.outerStroke); },
              sizeOfMask("color_chip_core"), kFourTimesScales);
    }
    c.one("stretchableActivePillWithColors", "", sheet,
          [](const QZPalette& p) { return stretchableActivePillWithColors(p.accentTop, p.accentBottom, p.outerStroke); },
          sizeOfMask("selected_core"), kFourTimesScales);
    c.one("stretchableSelectionBackgroundWithColors", "", sheet,
          [](const QZPalette& p) { return stretchableSelectionBackgroundWithColors(p.bar, p.outerStroke, p.innerStroke); },
          sizeOfMask("main_core"), kFourTimesScales);
    c.one("stretchableShelfSelectionBackgroundWithColors", "", sheet,
          [](const QZPalette& p) { return stretchableShelfSelectionBackgroundWithColors(p.bar, p.outerStroke, p.innerStroke); },
          sizeOfMask("shelf_core"), kFourTimesScales);
    c.one("stretchableMemeFieldImageWithColors", "", sheet,
          [](const QZPalette& p) { return stretchableMemeFieldImageWithColors(p.bar, p.outerStroke); },
          sizeOfMask("meme_field_core"), kFourTimesScales);
    for (bool adjacent : {false, true})
        c.one("toolSelectionCellBorderImageWithColors", onOff(adjacent, "adjacent"), sheet,
              [=](const QZPalette& p) { return toolSelectionCellBorderImageWithColors(p.outerStroke, p.innerStroke, adjacent); },
              sizeOfMask(adjacent ? "adjacent_black" : "normal_black"), kFourTimesScales);
    c.one("toolSelectionCellSelectedImageWithColors", "", sheet,
          [](const QZPalette& p) { return toolSelectionCellSelectedImageWithColors(p.bar, p.outerStroke, p.innerStroke); },
          sizeOfMask("pressed_black"), kFourTimesScales);
    c.one("selectionViewTitleDividerWIthColors", "", sheet,
          [](const QZPalette& p) { return selectionViewTitleDividerWIthColors(p.bar, p.outerStroke, p.innerStroke); },
          sizeOfMask("title_core"), kFourTimesScales);
    c.one("toolSelectionFeedbackDividerWithColors", "", sheet,
          [](const QZPalette& p) { return toolSelectionFeedbackDividerWithColors(p.outerStroke, p.innerStroke); },
          sizeOfMask("feedback_divider_core"), kDoubleScales);

    using Merge = NSImagePtr (*)(const NSColorPtr&, const NSColorPtr&, const NSColorPtr&, bool);
    const std::tuple<const char*, Merge, const char*> merges[] = {
        {"toolMergeLeftButtonWithColorsAndState", toolMergeLeftButtonWithColorsAndState, "l"},
        {"toolMergeMiddleButtonWithColorsAndState", toolMergeMiddleButtonWithColorsAndState, "m"},
        {"toolMergeRightButtonWithColorsAndState", toolMergeRightButtonWithColorsAndState, "r"}};
    for (bool active : {false, true}) {
        for (const auto& [name, merge, type] : merges) {
            Merge draw = merge;
            std::string t = type;
            c.one(name, onOff(active, "active"), sheet, [=](const QZPalette& p) { return draw(p.bar, p.outerStroke, p.innerStroke, active); },
                  sizeOfMask("adj_selected_inner"), kFourTimesScales);
            c.one("toolMergeButtonWithColorsTypeAndState", joined({t, onOff(active, "active")}), sheet,
                  [=](const QZPalette& p) { return toolMergeButtonWithColorsTypeAndState(p.bar, p.outerStroke, p.innerStroke, t, active); },
                  sizeOfMask("adj_selected_inner"), kFourTimesScales);
        }
    }

    for (const char* type : {"l", "r", "b-l", "b-r", "b-c", "t-c"})
        for (bool retina : {true, false})
            for (bool noise : {false, true}) {
                std::string t = type;
                c.one("restoreButtonWithType", joined({t, onOff(retina, "retina"), onOff(noise, "noise")}), sheet,
                      [=](const QZPalette& p) {
                          return restoreButtonWithType(p.navBar, p.navOuterStroke, p.navInnerStroke, t, retina, noise);
                      },
                      sizeOfMask("restore-" + t + "-core" + (retina ? "-retina" : "")), kAsDrawn);
            }
}

void addCameraAndGallery(Cases& c)
{
    const S sheet = S::IconsStripsCameraGallery;
    for (const char* shape : {"camera", "camera_oval"})
        for (bool active : {false, true})
            for (bool rim : {true, false}) {
                std::string s = shape;
                c.one("cameraButtonBackgroundImageWithColors", joined({s, onOff(active, "active"), onOff(rim, "rim")}), sheet,
                      [=](const QZPalette& p) {
                          return cameraButtonBackgroundImageWithColors(s, p.bar, p.outerStroke, p.innerStroke, active, rim);
                      },
                      sizeOfMask(s + "_rim"), kCameraScales);
            }
    for (bool active : {false, true})
        for (bool rim : {true, false})
            c.one("stretchableCameraCancelButtonWithColorsSizeAndScale", joined({onOff(active, "active"), onOff(rim, "rim")}), sheet,
                  [=](const QZPalette& p) {
                      return stretchableCameraCancelButtonWithColorsSizeAndScale(p.bar, p.outerStroke, p.innerStroke, active, rim);
                  },
                  sizeOfMask("cancel_rim"), kFourTimesScales);
    for (const char* sizeName : {"5", "4"})
        for (bool retina : {true, false}) {
            std::string n = sizeName;
            std::string suffix = retina ? "-retina" : "";
            c.one("cameraGalleryButtonRim", joined({n, onOff(retina, "retina")}), sheet,
                  [=](const QZPalette& p) { return cameraGalleryButtonRim(n, p.bar, retina); }, sizeOfMask("thumb-rim-" + n + suffix),
                  kAsDrawn);
            for (bool flag : {false, true})
                c.one("cameraGalleryButtonOverlay", joined({n, onOff(flag, "inset in outer stroke"), onOff(retina, "retina")}), sheet,
                      [=](const QZPalette& p) { return cameraGalleryButtonOverlay(n, p.outerStroke, p.innerStroke, flag, retina); },
                      sizeOfMask("swap-stroke-" + n + suffix), kAsDrawn);
        }
    c.one("quickLaunchApplyCheckmarkWithColors", "", sheet,
          [](const QZPalette& p) { return quickLaunchApplyCheckmarkWithColors(p.text, p.textShadow); }, sizeOfMask("check_core"),
          kFourTimesScales);
    c.one("quickLaunchLogoWithColors", "", sheet, [](const QZPalette& p) { return quickLaunchLogoWithColors(p.text, p.textShadow); },
          sizeOfMask("logo_core"), kFourTimesScales);

    using Cell = std::array<NSImagePtr, 2> (*)(const NSColorPtr&, const NSColorPtr&, const NSColorPtr&, bool);
    const std::tuple<const char*, Cell, const char*> cells[] = {
        {"galleryListViewTopCellWithColors", galleryListViewTopCellWithColors, "top"},
        {"galleryListViewMiddleCellWithColors", galleryListViewMiddleCellWithColors, "middle"},
        {"galleryListViewBottomCellWithColors", galleryListViewBottomCellWithColors, "bottom"},
        {"galleryListViewBothCellWithColors", galleryListViewBothCellWithColors, "both"}};
    for (bool active : {false, true}) {
        for (const auto& [name, cell, type] : cells) {
            Cell draw = cell;
            std::string t = type;
            std::string last = "gallery-" + t + (active ? "-pressed" : "-shadow");
            c.pair(name, onOff(active, "active"), sheet, [=](const QZPalette& p) { return draw(p.bar, p.outerStroke, p.innerStroke, active); },
                   sizeOfMask(last + "-retina"), sizeOfMask(last));
            c.pair("galleryListViewCellWithColorsTypeAndState", joined({t, onOff(active, "active")}), sheet,
                   [=](const QZPalette& p) {
                       return galleryListViewCellWithColorsTypeAndState(p.bar, p.outerStroke, p.innerStroke, t, active);
                   },
                   sizeOfMask(last + "-retina"), sizeOfMask(last));
        }
    }
    c.one("galleryListArrowWithColors", "", sheet,
          [](const QZPalette& p) { return galleryListArrowWithColors(p.text, p.outerStroke, p.innerStroke); },
          sizeOfMask("gallery_arrow_core"), kFourTimesScales);
    c.one("galleryCameraIconWithColors", "", sheet,
          [](const QZPalette& p) { return galleryCameraIconWithColors(p.iconTop, p.iconBottom, p.outerStroke, p.innerStroke); },
          sizeOfMask("gallery_camera_icon_core"), kFourTimesScales);
    for (bool active : {false, true}) {
        c.one("galleryLeftLayoutButtonWithColors", onOff(active, "active"), sheet,
              [=](const QZPalette& p) { return galleryLeftLayoutButtonWithColors(p.cancel, p.cancelStroke, p.cancelInnerShadow, active); },
              sizeOfMask("sort_l_core"), kFourTimesScales);
        c.one("galleryRightLayoutButtonWithColors", onOff(active, "active"), sheet,
              [=](const QZPalette& p) { return galleryRightLayoutButtonWithColors(p.cancel, p.cancelStroke, p.cancelInnerShadow, active); },
              sizeOfMask("sort_r_core"), kFourTimesScales);
        for (std::string type : {"l", "r"})
            c.one("galleryLayoutButtonWithColorsAndType", joined({type, onOff(active, "active")}), sheet,
                  [=](const QZPalette& p) {
                      return galleryLayoutButtonWithColorsAndType(p.cancel, p.cancelStroke, p.cancelInnerShadow, type, active);
                  },
                  sizeOfMask("sort_" + type + "_core"), kFourTimesScales);
    }
    c.one("galleryGridLayoutIconWithColors", "", sheet,
          [](const QZPalette& p) { return galleryGridLayoutIconWithColors(p.text, p.textShadow); }, sizeOfMask("grid_core"),
          kFourTimesScales);
    c.one("galleryListLayoutIconWithColors", "", sheet,
          [](const QZPalette& p) { return galleryListLayoutIconWithColors(p.text, p.textShadow); }, sizeOfMask("list_core"),
          kFourTimesScales);
    for (std::string type : {"grid", "list"})
        c.one("galleryLayoutIconWithColorsAndType", type, sheet,
              [=](const QZPalette& p) { return galleryLayoutIconWithColorsAndType(p.text, p.textShadow, type); },
              sizeOfMask(type + "_core"), kFourTimesScales);
}

}  // namespace

QZPalette QZPalette::standard()
{
    QZPalette p;
    p.bar = rgb(0.20, 0.22, 0.26);
    p.outerStroke = rgb(0.04, 0.04, 0.05);
    p.innerStroke = rgb(1, 1, 1, 0.18);
    p.navBar = rgb(0.16, 0.18, 0.22);
    p.navOuterStroke = rgb(0.02, 0.02, 0.03);
    p.navInnerStroke = rgb(1, 1, 1, 0.2);
    p.canvas = rgb(0.10, 0.11, 0.13);
    p.buttonTop = rgb(0.36, 0.66, 1.0);
    p.buttonBottom = rgb(0.12, 0.42, 0.86);
    p.buttonStroke = rgb(0.03, 0.12, 0.30);
    p.buttonInnerShadow = rgb(1, 1, 1, 0.5);
    p.cancel = rgb(0.30, 0.32, 0.36);
    p.cancelStroke = rgb(0.05, 0.05, 0.06);
    p.cancelInnerShadow = rgb(1, 1, 1, 0.35);
    p.accentTop = rgb(0.40, 0.72, 1.0);
    p.accentBottom = rgb(0.10, 0.45, 0.90);
    p.iconDropShadow = rgb(0, 0, 0, 0.8);
    p.iconStroke = rgb(0.05, 0.05, 0.06);
    p.iconTop = rgb(0.92, 0.92, 0.94);
    p.iconBottom = rgb(0.65, 0.66, 0.70);
    p.iconInnerShadow = rgb(1, 1, 1);
    p.glow = rgb(0.30, 0.65, 1.0, 0.9);
    p.highlightedStroke = rgb(0.02, 0.15, 0.35);
    p.highlightedInnerShadow = rgb(1, 1, 1);
    p.handle = rgb(0.85, 0.86, 0.88);
    p.bezelTop = rgb(0.97, 0.97, 0.98);
    p.bezelBottom = rgb(0.55, 0.56, 0.60);
    p.handleStroke = rgb(0.05, 0.05, 0.06);
    p.handleShadow = rgb(0, 0, 0, 0.7);
    p.text = rgb(1, 1, 1);
    p.textShadow = rgb(0, 0, 0, 0.8);
    return p;
}

std::vector<QZGeneratorCase> QZGeneratorCases(const std::vector<std::string>& iconNames)
{
    Cases c;
    addProcedural(c);
    addButtonsSlidersKnobs(c);
    addIconsAndStrips(c, iconNames);
    addCameraAndGallery(c);
    return c.take();
}

}  // namespace customizer::masks
