#include "App/QZOverallConfigurationViewController.h"

#include "App/QZPreviewBuilders.h"

namespace customizer {

const std::vector<QZWellBinding> QZOverallConfigurationViewController::kWells = {
    {"accentGradientTopColorWell", "accentGradientTopColor"},
    {"accentGradientBottomColorWell", "accentGradientBottomColor"},
    {"canvasColorWell", "canvasColor"},
};

const std::vector<std::string> QZOverallConfigurationViewController::kWriteOrder = {"accentGradientBottomColor",
                                                                                    "accentGradientTopColor", "canvasColor"};

void QZOverallConfigurationViewController::setupControls()
{
    fillWells(kWells);
    updateUnchangingElements();
    updateAll();
}

void QZOverallConfigurationViewController::colorWellColorChanged(const std::string&)
{
    writeWells(kWells, kWriteOrder);
    updateAll();
}

void QZOverallConfigurationViewController::updateAll()
{
    updateCanvasView();
    updateBottomBarView();
    updateNavigationBarView();
    updateApplyImageView();
    updateCanceImageView();
    updateIcons();
    updateLabels();
    updateLogoImageView();
}

void QZOverallConfigurationViewController::updateUnchangingElements()
{
    controls().setImageNamed("statusBarPreview", "statusBar.jpg");
    controls().setImageNamed("previewImage", "placeholder.jpg");
    controls().setImageNamed("topCanvasShadow", "top_nav_shadow.png");
    controls().setImageNamed("bottomCanvasShadow", "bottom_nav_shadow.png");
}

void QZOverallConfigurationViewController::updateCanvasView() { controls().setBackgroundColor("canvasView", record().canvasColor()); }

void QZOverallConfigurationViewController::updateNavigationBarView()
{
    showImage("navBarPreview", bigNavBarImageAtSize(record(), sizeOf("navBarPreview")));
}

void QZOverallConfigurationViewController::updateBottomBarView()
{
    showImage("bottomBarPreview", bigHomeBarAtSize(record(), sizeOf("bottomBarPreview")));
}

void QZOverallConfigurationViewController::updateApplyImageView() { showImage("applyButtonPreview", smallApplyButtonImage(record())); }
void QZOverallConfigurationViewController::updateCanceImageView() { showImage("cancelButtonPreview", smallCancelButtonImage(record())); }

void QZOverallConfigurationViewController::updateIcons()
{
    showImage("icon1", smallSelectedIconImageWithName(record(), "enhance"));
    const char* unselected[][2] = {{"icon2", "effects"}, {"icon3", "stickers"}, {"icon4", "frames"}, {"icon5", "orientation"}};
    for (const auto& [outlet, name] : unselected) showImage(outlet, smallUnselectedIconImageWithName(record(), name));
}

void QZOverallConfigurationViewController::updateLabels()
{
    const OverallAppearance& r = record();
    QZPanelControls& c = controls();
    c.setTextColor("iconLabel1", r.highlightedTextColor());
    for (const char* label : {"iconLabel2", "iconLabel3", "iconLabel4", "iconLabel5"}) c.setTextColor(label, r.textColor());
    c.setTextColor("navBarTitleLabel", r.navigationBarTextColor());
    c.setTextColor("cancelButtonTitleLabel", r.cancelButtonDefaultTextColor());
    c.setTextColor("applyButtonTitleLabel", r.applyButtonDefaultTextColor());
    c.setTextColor("navBarShadowLabel", r.navigationBarTextShadowColor());
    c.setTextColor("cancelShadowLabel", r.cancelButtonDefaultTextShadowColor());
    c.setTextColor("applyShadowLabel", r.applyButtonDefaultTextShadowColor());
    for (const char* label : {"item1ShadowLabel", "item2ShadowLabel", "item3ShadowLabel", "item4ShadowLabel", "item5ShadowLabel"})
        c.setTextColor(label, r.textShadowColor());
}

void QZOverallConfigurationViewController::updateLogoImageView()
{
    controls().setImageNamed("poweredImage", record().usesBlackTesselLogo() ? "logo_black.png" : "logo_white.png");
}

}  // namespace customizer
