#include "App/QZIconCustomizationViewController.h"

#include "App/QZPreviewBuilders.h"

namespace customizer {

const std::vector<QZWellBinding> QZIconCustomizationViewController::kWells = {
    {"defaultStrokeColorWell", "defaultIconStrokeColor"},
    {"defaultInsideShadowColorWell", "defaultIconInnerShadowColor"},
    {"defaultDropShadowColorWell", "defaultIconDropShadowColor"},
    {"defaultGradientTopColorWell", "defaultIconGradientTopColor"},
    {"defaultGradientBottomColorWell", "defaultIconGradientBottomColor"},
    {"highlightedStrokeColorWell", "highlightedIconStrokeColor"},
    {"highlightedInsideShadowColorWell", "highlightedIconInnerShadowColor"},
    {"highlightedDropShadowColorWell", "highlightedIconGlowColor"},
    {"highlightedGradientTopColorWell", "highlightedIconGradientTopColor"},
    {"highlightedGradientBottomColorWell", "highlightedIconGradientBottomColor"},
};

const std::vector<std::string> QZIconCustomizationViewController::kWriteOrder = {
    "defaultIconDropShadowColor",      "defaultIconInnerShadowColor",        "defaultIconStrokeColor",
    "defaultIconGradientBottomColor",  "defaultIconGradientTopColor",        "highlightedIconInnerShadowColor",
    "highlightedIconStrokeColor",      "highlightedIconGradientTopColor",    "highlightedIconGradientBottomColor",
    "highlightedIconGlowColor"};

const std::vector<std::string> QZIconCustomizationViewController::kResetDefaultState = {
    "defaultIconStrokeColor", "defaultIconInnerShadowColor", "defaultIconDropShadowColor", "defaultIconGradientBottomColor",
    "defaultIconGradientTopColor"};

const std::vector<std::string> QZIconCustomizationViewController::kResetHighlightedState = {
    "highlightedIconStrokeColor", "highlightedIconInnerShadowColor", "highlightedIconGlowColor",
    "highlightedIconGradientTopColor", "highlightedIconGradientBottomColor"};

void QZIconCustomizationViewController::setupControls()
{
    fillWells(kWells);
    setDefaultIconWithCurrentColorCombo();
    setHighlightedIconWithCurrentColorCombo();
    setBarBackgroundImageWithCurrentColorCombo();
}

void QZIconCustomizationViewController::colorWellChangedColor(const std::string&)
{
    saveColorInformation();
    setHighlightedIconWithCurrentColorCombo();
    setDefaultIconWithCurrentColorCombo();
}

void QZIconCustomizationViewController::setDefaultIconWithCurrentColorCombo()
{
    showImage("defaultImageView", bigUnselectedIconImage(record()));
}

void QZIconCustomizationViewController::setHighlightedIconWithCurrentColorCombo()
{
    showImage("highlightedImageView", bigSelectedIconImage(record()));
}

void QZIconCustomizationViewController::setBarBackgroundImageWithCurrentColorCombo()
{
    showImage("barBackgroundImageView", bigBottomBarImageAtSize(record(), sizeOf("barBackgroundImageView")));
}

}  // namespace customizer
