#include "App/QZTextCustomizationViewController.h"

#include "App/QZPreviewBuilders.h"

namespace customizer {

const std::vector<QZWellBinding> QZTextCustomizationViewController::kWells = {
    {"defaultTextColorWell", "textColor"},
    {"navBarTitleColorWell", "navigationBarTextColor"},
    {"cancelButtonColorWell", "cancelButtonDefaultTextColor"},
    {"highlightedCancelButtonColorWell", "cancelButtonHighlightedTextColor"},
    {"applyButtonColorWell", "applyButtonDefaultTextColor"},
    {"highlightedApplyButtonColorWell", "applyButtonHighlightedTextColor"},
    {"highlightedTextColorWell", "highlightedTextColor"},
    {"defaultShadowColorWell", "textShadowColor"},
    {"navShadowColorWell", "navigationBarTextShadowColor"},
    {"cancelShadowColorWell", "cancelButtonDefaultTextShadowColor"},
    {"applyShadowColorWell", "applyButtonDefaultTextShadowColor"},
};

const std::vector<std::string> QZTextCustomizationViewController::kWriteOrder = {
    "textColor",
    "highlightedTextColor",
    "navigationBarTextColor",
    "cancelButtonDefaultTextColor",
    "cancelButtonHighlightedTextColor",
    "applyButtonDefaultTextColor",
    "applyButtonHighlightedTextColor",
    "textShadowColor",
    "navigationBarTextShadowColor",
    "cancelButtonDefaultTextShadowColor",
    "applyButtonDefaultTextShadowColor"};

const std::vector<std::string> QZTextCustomizationViewController::kResetOverall = {
    "textColor", "navigationBarTextColor", "highlightedTextColor", "textShadowColor", "navigationBarTextShadowColor"};

const std::vector<std::string> QZTextCustomizationViewController::kResetButton = {
    "cancelButtonDefaultTextColor",       "cancelButtonHighlightedTextColor", "applyButtonDefaultTextColor",
    "applyButtonHighlightedTextColor",    "cancelButtonDefaultTextShadowColor", "applyButtonDefaultTextShadowColor"};

void QZTextCustomizationViewController::setupControls()
{
    fillWells(kWells);
    updateNavigationBarView();
    updateBottomBarView();
    setIcons();
    updateLabels();
    updateUnselectedPreview();
    updateSelectedPreview();
    controls().setChecked("highlightedButtonsCheckbox", defaults_.boolForKey(HIGHLIGHTED_BUTTONS_KEY));
}

void QZTextCustomizationViewController::colorWellDidChange(const std::string&)
{
    writeWells(kWells, kWriteOrder);
    updateLabels();
}

void QZTextCustomizationViewController::highlightedButtonsCheckboxValueDidChange(bool on)
{
    defaults_.setBoolForKey(HIGHLIGHTED_BUTTONS_KEY, on);
    setIcons();
}

void QZTextCustomizationViewController::setIcons()
{
    const bool highlighted = defaults_.boolForKey(HIGHLIGHTED_BUTTONS_KEY);
    showImage("applyButtonPreview", bigApplyButtonImage(record(), highlighted));
    showImage("cancelButtonPreview", bigCancelButtonImage(record(), highlighted));
    updateLabels();
}

void QZTextCustomizationViewController::updateLabels()
{
    const OverallAppearance& r = record();
    const bool highlighted = defaults_.boolForKey(HIGHLIGHTED_BUTTONS_KEY);
    QZPanelControls& c = controls();
    c.setTextColor("cancelButtonLabel", highlighted ? r.cancelButtonHighlightedTextColor() : r.cancelButtonDefaultTextColor());
    c.setTextColor("applyButtonLabel", highlighted ? r.applyButtonHighlightedTextColor() : r.applyButtonDefaultTextColor());
    c.setTextColor("navBarTitleLabel", r.navigationBarTextColor());
    c.setTextColor("unselectedIconLabel", r.textColor());
    c.setTextColor("selectedIconLabel", r.highlightedTextColor());
    c.setTextColor("unselectedIconShadowLabel", r.textShadowColor());
    c.setTextColor("selectedIconShadowLabel", r.textShadowColor());
    c.setTextColor("navBarShadowLabel", r.navigationBarTextShadowColor());
    c.setTextColor("cancelButtonShadowLabel", r.cancelButtonDefaultTextShadowColor());
    c.setTextColor("applyButtonShadowLabel", r.applyButtonDefaultTextShadowColor());
}

void QZTextCustomizationViewController::updateNavigationBarView()
{
    showImage("navBarPreview", bigNavBarImageAtSize(record(), sizeOf("navBarPreview")));
}

void QZTextCustomizationViewController::updateBottomBarView()
{
    showImage("bottomBarPreview", bigBottomBarImageAtSize(record(), sizeOf("bottomBarPreview")));
}

void QZTextCustomizationViewController::updateUnselectedPreview() { showImage("unselectedIconPreview", bigUnselectedIconImage(record())); }
void QZTextCustomizationViewController::updateSelectedPreview() { showImage("selectedIconPreview", bigSelectedIconImage(record())); }

}  // namespace customizer
