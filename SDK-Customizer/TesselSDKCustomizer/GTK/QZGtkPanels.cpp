#include "GTK/QZGtkPanels.h"

#include "App/QZBarButtonsCustomizationViewController.h"
#include "App/QZBarCustomizationViewController.h"
#include "App/QZHandleCustomizationViewController.h"
#include "App/QZIconCustomizationViewController.h"
#include "App/QZOverallConfigurationViewController.h"
#include "App/QZTextCustomizationViewController.h"

namespace customizer {

namespace {

// Every view that shows the navigation bar is at least 44 wide.
constexpr int kBarWidth = 320;

QZPanelLayout overallLayout()
{
    QZPanelLayout l;
    l.wells = QZOverallConfigurationViewController::kWells;
    l.canvas = "canvasView";
    l.previews = {{"statusBarPreview", kBarWidth, 20}, {"navBarPreview", kBarWidth, 44}, {"cancelButtonPreview", 42, 23},
                  {"applyButtonPreview", 42, 23},      {"topCanvasShadow", kBarWidth, 6}, {"previewImage", 160, 120},
                  {"bottomCanvasShadow", kBarWidth, 6}, {"bottomBarPreview", kBarWidth, 60}, {"icon1", 37, 37},
                  {"icon2", 37, 37}, {"icon3", 37, 37}, {"icon4", 37, 37}, {"icon5", 37, 37}, {"poweredImage", 80, 20}};
    l.labels = {{"navBarShadowLabel", "Editor"}, {"navBarTitleLabel", "Editor"}, {"cancelShadowLabel", "Cancel"},
                {"cancelButtonTitleLabel", "Cancel"}, {"applyShadowLabel", "Done"}, {"applyButtonTitleLabel", "Done"},
                {"item1ShadowLabel", "Enhance"}, {"iconLabel1", "Enhance"}, {"item2ShadowLabel", "Effects"},
                {"iconLabel2", "Effects"}, {"item3ShadowLabel", "Stickers"}, {"iconLabel3", "Stickers"},
                {"item4ShadowLabel", "Frames"}, {"iconLabel4", "Frames"}, {"item5ShadowLabel", "Orientation"},
                {"iconLabel5", "Orientation"}};
    return l;
}

QZPanelLayout barsLayout()
{
    QZPanelLayout l;
    l.wells = QZBarCustomizationViewController::kWells;
    l.previews = {{"navBarPreview", kBarWidth, 44}, {"applyButtonPreview", 112, 60}, {"cancelButtonPreview", 112, 60},
                  {"bottomBarPreview", kBarWidth, 60}, {"unselectedIconPreview", 74, 74}, {"selectedIconPreview", 74, 74},
                  {"logoView", 80, 20}};
    l.checkboxes = {{"showButtonsCheckbox", "Show Buttons"}, {"showIconsCheckbox", "Show Icons"},
                    {"texturedAppearanceCheckbox", "Textured"}};
    l.radios = {{"tesselIsBlack", "Black logo"}, {"tesselIsWhite", "White logo"}};
    return l;
}

QZPanelLayout barButtonsLayout()
{
    QZPanelLayout l;
    l.wells = QZBarButtonsCustomizationViewController::kWells;
    l.previews = {{"backgroundPreview", kBarWidth, 60}, {"applyButtonPreview", 112, 60}, {"cancelButtonPreview", 112, 60}};
    return l;
}

QZPanelLayout iconsLayout()
{
    QZPanelLayout l;
    l.wells = QZIconCustomizationViewController::kWells;
    l.previews = {{"barBackgroundImageView", kBarWidth, 90}, {"defaultImageView", 74, 74}, {"highlightedImageView", 74, 74}};
    return l;
}

QZPanelLayout textLayout()
{
    QZPanelLayout l;
    l.wells = QZTextCustomizationViewController::kWells;
    l.previews = {{"navBarPreview", kBarWidth, 44}, {"applyButtonPreview", 112, 60}, {"cancelButtonPreview", 112, 60},
                  {"bottomBarPreview", kBarWidth, 60}, {"unselectedIconPreview", 74, 74}, {"selectedIconPreview", 74, 74}};
    l.checkboxes = {{"highlightedButtonsCheckbox", "Highlighted Buttons"}};
    l.labels = {{"navBarShadowLabel", "Editor"}, {"navBarTitleLabel", "Editor"}, {"cancelButtonShadowLabel", "Cancel"},
                {"cancelButtonLabel", "Cancel"}, {"applyButtonShadowLabel", "Done"}, {"applyButtonLabel", "Done"},
                {"unselectedIconShadowLabel", "Effects"}, {"unselectedIconLabel", "Effects"},
                {"selectedIconShadowLabel", "Enhance"}, {"selectedIconLabel", "Enhance"}};
    return l;
}

QZPanelLayout handlesLayout()
{
    QZPanelLayout l;
    l.wells = QZHandleCustomizationViewController::kWells;
    l.previews = {{"bottomBarImageView", kBarWidth, 90}, {"sliderLeftCap", 10, 10}, {"sliderStretch", 200, 10},
                  {"sliderCenter", 10, 10}, {"sliderRightCap", 10, 10}, {"knobImageView", 40, 40}};
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
