#include "App/QZBarCustomizationViewController.h"

#include "App/QZPreviewBuilders.h"

namespace customizer {

const std::vector<QZWellBinding> QZBarCustomizationViewController::kWells = {
    {"navBarBackgroundColorWell", "navBarColor"},
    {"navBarInnerStrokeColorWell", "navBarInnerStrokeColor"},
    {"navBarOuterStrokeColorWell", "navBarOuterStrokeColor"},
    {"bottomBarBackgroundColorWell", "bottomBarColor"},
    {"bottomBarInnerStrokeColorWell", "bottomBarInnerStrokeColor"},
    {"bottomBarOuterStrokeColorWell", "bottomBarOuterStrokeColor"},
};

const std::vector<std::string> QZBarCustomizationViewController::kWriteOrder = {
    "navBarColor", "navBarInnerStrokeColor", "navBarOuterStrokeColor", "bottomBarColor", "bottomBarInnerStrokeColor",
    "bottomBarOuterStrokeColor"};

const std::vector<std::string> QZBarCustomizationViewController::kResetNavBar = {"navBarColor", "navBarInnerStrokeColor",
                                                                                 "navBarOuterStrokeColor"};

const std::vector<std::string> QZBarCustomizationViewController::kResetBottomBar = {
    "bottomBarColor", "bottomBarInnerStrokeColor", "bottomBarOuterStrokeColor"};

void QZBarCustomizationViewController::setupControls()
{
    fillWells(kWells);
    updateNavigationBarView();
    updateBottomBarView();
    updateApplyImageView();
    updateUnselectedPreview();
    updateSelectedPreview();
    const bool showButtons = defaults_.boolForKey(SHOW_BUTTONS_KEY);
    controls().setChecked("showButtonsCheckbox", showButtons);
    showNavButtonsValueChanged(showButtons);
    const bool showIcons = defaults_.boolForKey(SHOW_ICONS_KEY);
    controls().setChecked("showIconsCheckbox", showIcons);
    showIconsValueChanged(showIcons);
    controls().setChecked("texturedAppearanceCheckbox", record().useNoise());
    const bool black = record().usesBlackTesselLogo();
    controls().setChecked("tesselIsBlack", black);
    controls().setChecked("tesselIsWhite", !black);
    updateLogoImageView();
}

void QZBarCustomizationViewController::colorWellDidChange(const std::string&)
{
    writeWells(kWells, kWriteOrder);
    updateNavigationBarView();
    updateBottomBarView();
}

void QZBarCustomizationViewController::showNavButtonsValueChanged(bool on)
{
    controls().setHidden("applyButtonPreview", !on);
    controls().setHidden("cancelButtonPreview", !on);
    defaults_.setBoolForKey(SHOW_BUTTONS_KEY, on);
}

void QZBarCustomizationViewController::showIconsValueChanged(bool on)
{
    controls().setHidden("unselectedIconPreview", !on);
    controls().setHidden("selectedIconPreview", !on);
    defaults_.setBoolForKey(SHOW_ICONS_KEY, on);
}

void QZBarCustomizationViewController::texturedAppearanceCheckboxValueChanged(bool on)
{
    record().setValueForKey(on, "useNoise");
    dataManager().save();
    updateNavigationBarView();
    updateBottomBarView();
}

void QZBarCustomizationViewController::logoColorChanged(const std::string& sender, bool on)
{
    const bool black = sender == "tesselIsBlack" ? on : !on;
    record().setValueForKey(black, "usesBlackTesselLogo");
    controls().setChecked("tesselIsBlack", black);
    controls().setChecked("tesselIsWhite", !black);
    dataManager().save();
    updateLogoImageView();
}

void QZBarCustomizationViewController::updateNavigationBarView()
{
    showImage("navBarPreview", bigNavBarImageAtSize(record(), sizeOf("navBarPreview")));
    updateCanceImageView();
}

void QZBarCustomizationViewController::updateBottomBarView()
{
    showImage("bottomBarPreview", bigBottomBarImageAtSize(record(), sizeOf("bottomBarPreview")));
}

void QZBarCustomizationViewController::updateLogoImageView()
{
    controls().setImageNamed("logoView", record().usesBlackTesselLogo() ? "logo_black.png" : "logo_white.png");
}

void QZBarCustomizationViewController::updateApplyImageView() { showImage("applyButtonPreview", bigApplyButtonImage(record(), false)); }
void QZBarCustomizationViewController::updateCanceImageView() { showImage("cancelButtonPreview", bigCancelButtonImage(record(), false)); }
void QZBarCustomizationViewController::updateUnselectedPreview() { showImage("unselectedIconPreview", bigUnselectedIconImage(record())); }
void QZBarCustomizationViewController::updateSelectedPreview() { showImage("selectedIconPreview", bigSelectedIconImage(record())); }

}  // namespace customizer
