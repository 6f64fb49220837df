#include "App/QZHandleCustomizationViewController.h"

#include "App/QZPreviewBuilders.h"

namespace customizer {

const std::vector<QZWellBinding> QZHandleCustomizationViewController::kWells = {
    {"handleColorWell", "handleColor"},
    {"bezelGradientTopColorWell", "handleBezelGradientTopColor"},
    {"bezelGradientBottomColorWell", "handleBezelGradientBottomColor"},
    {"handleStrokeColorWell", "handleStrokeColor"},
    {"handleShadowColorWell", "handleShadowColor"},
};

const std::vector<std::string> QZHandleCustomizationViewController::kResetHandle = {
    "handleColor", "handleBezelGradientTopColor", "handleBezelGradientBottomColor", "handleStrokeColor", "handleShadowColor"};

void QZHandleCustomizationViewController::setupControls()
{
    fillWells(kWells);
    drawBar();
    drawKnob();
    drawSlider();
}

void QZHandleCustomizationViewController::colorWellChanged(const std::string& sender)
{
    std::vector<std::string> written;
    for (const QZWellBinding& well : kWells)
        if (sender == well.outlet) written.push_back(well.attribute);
    writeWells(kWells, written);
    drawKnob();
}

void QZHandleCustomizationViewController::drawBar()
{
    showImage("bottomBarImageView", bigBottomBarImageAtSize(record(), sizeOf("bottomBarImageView")));
}

void QZHandleCustomizationViewController::drawKnob() { showImage("knobImageView", bigKnobImage(record())); }

void QZHandleCustomizationViewController::drawSlider()
{
    showImage("sliderLeftCap", bigSliderLeftCap(record()));
    showImage("sliderRightCap", bigSliderRightCap(record()));
    showImage("sliderCenter", bigSliderCenter(record()));
    showImage("sliderStretch", bigSliderConnectorImage(record(), sizeOf("sliderStretch")));
}

}  // namespace customizer
