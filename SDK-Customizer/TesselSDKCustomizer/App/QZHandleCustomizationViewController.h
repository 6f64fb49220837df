#pragma once
// The Handles panel: the slider's knob over the bottom bar. Unlike the other panels, a colour
// change writes only the well that sent it.

#include "App/QZColourPanel.h"

namespace customizer {

class QZHandleCustomizationViewController : public QZColourPanel {
public:
    using QZColourPanel::QZColourPanel;

    static const std::vector<QZWellBinding> kWells;
    static const std::vector<std::string> kResetHandle;

    void setupControls() override;
    void colorWellChanged(const std::string& sender);
    void resetHandle() { resetKeys(kResetHandle); }

private:
    void drawBar();
    void drawKnob();
    void drawSlider();
};

}  // namespace customizer
