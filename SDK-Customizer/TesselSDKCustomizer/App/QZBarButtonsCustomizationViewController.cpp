#include "App/QZBarButtonsCustomizationViewController.h"

#include "App/QZPreviewBuilders.h"

namespace customizer {

const std::vector<QZWellBinding> QZBarButtonsCustomizationViewController::kWells = {
    {"applyButtonGradientTopColorWell", "applyButtonGradientTopColor"},
    {"applyButtonGradientBottomColorWell", "applyButtonGradientBottomColor"},
    {"applyButtonStrokeColorWell", "applyButtonStrokeColor"},
    {"applyButtonInsideShadowColorWell", "applyButtonInnerShadowColor"},
    {"cancelButtonBackgroundColorWell", "cancelButtonColor"},
    {"cancelButtonStrokeColorWell", "cancelButtonStrokeColor"},
    {"cancelButtonInsideShadowColorWell", "cancelButtonInnerShadowColor"},
};

const std::vector<std::string> QZBarButtonsCustomizationViewController::kWriteOrder = {
    "applyButtonGradientTopColor", "applyButtonGradientBottomColor", "applyButtonInnerShadowColor",
    "applyButtonStrokeColor",      "cancelButtonColor",              "cancelButtonStrokeColor",
    "cancelButtonInnerShadowColor"};

const std::vector<std::string> QZBarButtonsCustomizationViewController::kResetApplyButton = {
    "applyButtonGradientTopColor", "applyButtonGradientBottomColor", "applyButtonInnerShadowColor", "applyButtonStrokeColor"};

const std::vector<std::string> QZBarButtonsCustomizationViewController::kResetCancelButton = {
    "cancelButtonColor", "cancelButtonInnerShadowColor", "cancelButtonStrokeColor"};

void QZBarButtonsCustomizationViewController::setupControls()
{
    fillWells(kWells);
    updateBackgroundImageView();
    updateApplyImageView();
    updateCanceImageView();
}

void QZBarButtonsCustomizationViewController::colorWellDidChange(const std::string&)
{
    writeWells(kWells, kWriteOrder);
    updateApplyImageView();
    updateCanceImageView();
}

void QZBarButtonsCustomizationViewController::updateBackgroundImageView()
{
    showImage("backgroundPreview", bigNavBarImageAtSize(record(), sizeOf("backgroundPreview")));
}

void QZBarButtonsCustomizationViewController::updateApplyImageView()
{
    showImage("applyButtonPreview", bigApplyButtonImage(record(), false));
}

void QZBarButtonsCustomizationViewController::updateCanceImageView()
{
    showImage("cancelButtonPreview", bigCancelButtonImage(record(), false));
}

}  // namespace customizer
