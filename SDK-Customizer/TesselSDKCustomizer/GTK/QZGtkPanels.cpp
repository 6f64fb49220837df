#include "GTK/QZGtkPanels.h"

#include "App/QZBarButtonsCustomizationViewController.h"
#include "App/QZBarCustomizationViewController.h"
#include "App/QZHandleCustomizationViewController.h"
#include "App/QZIconCustomizationViewController.h"
#include "App/QZOverallConfigurationViewController.h"
#include "App/QZTextCustomizationViewController.h"

namespace customizer {

namespace {

// Each stage is a piece of the editor's screen at one point per pixel; every view that shows the
// navigation bar is far wider than the bar's 44-point image.
QZPanelLayout overallLayout()
{
    // The editor's home screen: status bar, navigation bar with its two buttons, the canvas with
    // a photo and the bars' shadows, the bottom bar with five tools and their names.
    QZPanelLayout l;
    l.wells = QZOverallConfigurationViewController::kWells;
    l.stageWidth = 320;
    l.stageHeight = 424;
    l.canvas = QZPlacedView{"canvasView", 0, 64, 320, 300};
    l.previews = {{"statusBarPreview", 0, 0, 320, 20},    {"navBarPreview", 0, 20, 320, 44},
                  {"cancelButtonPreview", 8, 30, 42, 23}, {"applyButtonPreview", 270, 30, 42, 23},
                  {"previewImage", 40, 124, 240, 180},    {"topCanvasShadow", 0, 64, 320, 6},
                  {"bottomCanvasShadow", 0, 358, 320, 6}, {"poweredImage", 232, 334, 80, 20},
                  {"bottomBarPreview", 0, 364, 320, 60}};
    const char* icons[] = {"icon1", "icon2", "icon3", "icon4", "icon5"};
    for (int i = 0; i < 5; ++i) l.previews.push_back({icons[i], i * 64 + 13, 367, 37, 37});
    l.titles = {{"navBarTitleLabel", "navBarShadowLabel", "Editor", 60, 20, 200, 44, 17},
                {"cancelButtonTitleLabel", "cancelShadowLabel", "Cancel", 8, 30, 42, 23, 9},
                {"applyButtonTitleLabel", "applyShadowLabel", "Done", 270, 30, 42, 23, 10},
                {"iconLabel1", "item1ShadowLabel", "Enhance", 0, 404, 64, 14, 9},
                {"iconLabel2", "item2ShadowLabel", "Effects", 64, 404, 64, 14, 9},
                {"iconLabel3", "item3ShadowLabel", "Stickers", 128, 404, 64, 14, 9},
                {"iconLabel4", "item4ShadowLabel", "Frames", 192, 404, 64, 14, 9},
                {"iconLabel5", "item5ShadowLabel", "Orientation", 256, 404, 64, 14, 9}};
    return l;
}

QZPanelLayout barsLayout()
{
    QZPanelLayout l;
    l.wells = QZBarCustomizationViewController::kWells;
    l.stageWidth = 360;
    l.stageHeight = 336;
    l.previews = {{"navBarPreview", 20, 16, 320, 44},
                  {"cancelButtonPreview", 40, 76, 112, 60},
                  {"applyButtonPreview", 208, 76, 112, 60},
                  {"bottomBarPreview", 20, 152, 320, 60},
                  {"unselectedIconPreview", 110, 222, 60, 60},
                  {"selectedIconPreview", 190, 222, 60, 60},
                  {"logoView", 140, 300, 80, 20}};
    l.checkboxes = {{"showButtonsCheckbox", "Show Buttons"}, {"showIconsCheckbox", "Show Icons"},
                    {"texturedAppearanceCheckbox", "Textured"}};
    l.radios = {{"tesselIsBlack", "Black logo"}, {"tesselIsWhite", "White logo"}};
    return l;
}

QZPanelLayout barButtonsLayout()
{
    QZPanelLayout l;
    l.wells = QZBarButtonsCustomizationViewController::kWells;
    l.stageWidth = 360;
    l.stageHeight = 112;
    l.previews = {{"backgroundPreview", 20, 16, 320, 80},
                  {"cancelButtonPreview", 36, 26, 112, 60},
                  {"applyButtonPreview", 212, 26, 112, 60}};
    return l;
}

QZPanelLayout iconsLayout()
{
    QZPanelLayout l;
    l.wells = QZIconCustomizationViewController::kWells;
    l.stageWidth = 360;
    l.stageHeight = 122;
    l.previews = {{"barBackgroundImageView", 20, 16, 320, 90},
                  {"defaultImageView", 100, 31, 60, 60},
                  {"highlightedImageView", 200, 31, 60, 60}};
    return l;
}

QZPanelLayout textLayout()
{
    QZPanelLayout l;
    l.wells = QZTextCustomizationViewController::kWells;
    l.stageWidth = 360;
    l.stageHeight = 272;
    l.previews = {{"navBarPreview", 20, 16, 320, 44},          {"cancelButtonPreview", 40, 76, 112, 60},
                  {"applyButtonPreview", 208, 76, 112, 60},    {"bottomBarPreview", 20, 152, 320, 104},
                  {"unselectedIconPreview", 100, 158, 60, 60}, {"selectedIconPreview", 200, 158, 60, 60}};
    l.checkboxes = {{"highlightedButtonsCheckbox", "Highlighted Buttons"}};
    l.titles = {{"navBarTitleLabel", "navBarShadowLabel", "Editor", 80, 16, 200, 44, 17},
                {"cancelButtonLabel", "cancelButtonShadowLabel", "Cancel", 40, 76, 112, 60, 16},
                {"applyButtonLabel", "applyButtonShadowLabel", "Done", 208, 76, 112, 60, 16},
                {"unselectedIconLabel", "unselectedIconShadowLabel", "Effects", 80, 222, 100, 16, 11},
                {"selectedIconLabel", "selectedIconShadowLabel", "Enhance", 180, 222, 100, 16, 11}};
    return l;
}

QZPanelLayout handlesLayout()
{
    // The slider on the bottom bar: caps at the ends, the connector between, the centre mark and
    // the knob over it.
    QZPanelLayout l;
    l.wells = QZHandleCustomizationViewController::kWells;
    l.stageWidth = 360;
    l.stageHeight = 122;
    l.previews = {{"bottomBarImageView", 20, 16, 320, 90}, {"sliderStretch", 76, 49, 208, 24},
                  {"sliderLeftCap", 60, 49, 16, 24},       {"sliderRightCap", 284, 49, 16, 24},
                  {"sliderCenter", 172, 49, 16, 24},       {"knobImageView", 210, 47, 30, 30}};
    return l;
}

template <typename Panel>
Panel* adopt(QZGtkPanel& made, std::unique_ptr<Panel> panel)
{
    Panel* raw = panel.get();
    made.controller = std::move(panel);
    return raw;
}

}  // namespace

QZGtkPanel QZMakeGtkPanel(size_t row, QZCustomizationDataManager& manager, QZUserDefaults& defaults,
                          const std::string& resourcesFolder)
{
    static QZPanelLayout (*const layouts[])() = {overallLayout, barsLayout, barButtonsLayout, iconsLayout, textLayout, handlesLayout};
    QZGtkPanel made;
    made.controls = std::make_shared<QZGtkPanelControls>(layouts[row](), resourcesFolder);
    QZGtkPanelControls& c = *made.controls;
    switch (row) {
    case 0: {
        auto* p = adopt(made, std::make_unique<QZOverallConfigurationViewController>(manager, made.controls));
        c.onColorSet([p](const std::string& s) { p->colorWellColorChanged(s); });
        break;
    }
    case 1: {
        auto* p = adopt(made, std::make_unique<QZBarCustomizationViewController>(manager, made.controls, defaults));
        c.onColorSet([p](const std::string& s) { p->colorWellDidChange(s); });
        c.onToggled([p](const std::string& s, bool on) {
            if (s == "showButtonsCheckbox") p->showNavButtonsValueChanged(on);
            else if (s == "showIconsCheckbox") p->showIconsValueChanged(on);
            else if (s == "texturedAppearanceCheckbox") p->texturedAppearanceCheckboxValueChanged(on);
            else p->logoColorChanged(s, on);
        });
        c.addButton("Reset Navigation Bar", [p] { p->resetNavBar(); });
        c.addButton("Reset Bottom Bar", [p] { p->resetBottomBar(); });
        break;
    }
    case 2: {
        auto* p = adopt(made, std::make_unique<QZBarButtonsCustomizationViewController>(manager, made.controls));
        c.onColorSet([p](const std::string& s) { p->colorWellDidChange(s); });
        c.addButton("Reset Apply Button", [p] { p->resetApplyButton(); });
        c.addButton("Reset Cancel Button", [p] { p->resetCancelButton(); });
        break;
    }
    case 3: {
        auto* p = adopt(made, std::make_unique<QZIconCustomizationViewController>(manager, made.controls));
        c.onColorSet([p](const std::string& s) { p->colorWellChangedColor(s); });
        c.addButton("Reset Default", [p] { p->resetDefaultState(); });
        c.addButton("Reset Highlighted", [p] { p->resetHighlightedState(); });
        break;
    }
    case 4: {
        auto* p = adopt(made, std::make_unique<QZTextCustomizationViewController>(manager, made.controls, defaults));
        c.onColorSet([p](const std::string& s) { p->colorWellDidChange(s); });
        c.onToggled([p](const std::string&, bool on) { p->highlightedButtonsCheckboxValueDidChange(on); });
        c.addButton("Reset Text", [p] { p->resetOverall(); });
        c.addButton("Reset Buttons", [p] { p->resetButton(); });
        break;
    }
    default: {
        auto* p = adopt(made, std::make_unique<QZHandleCustomizationViewController>(manager, made.controls));
        c.onColorSet([p](const std::string& s) { p->colorWellChanged(s); });
        c.addButton("Reset Handle", [p] { p->resetHandle(); });
        break;
    }
    }
    return made;
}

}  // namespace customizer
