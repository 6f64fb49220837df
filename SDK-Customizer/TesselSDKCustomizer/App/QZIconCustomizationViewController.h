#pragma once
// The Icons panel: a tool icon in its default and highlighted states over the bottom bar.

#include "App/QZColourPanel.h"

namespace customizer {

class QZIconCustomizationViewController : public QZColourPanel {
public:
    using QZColourPanel::QZColourPanel;

    static const std::vector<QZWellBinding> kWells;
    static const std::vector<std::string> kWriteOrder;
    static const std::vector<std::string> kResetDefaultState;
    static const std::vector<std::string> kResetHighlightedState;

    void setupControls() override;
    void colorWellChangedColor(const std::string& sender);
    void resetDefaultState() { resetKeys(kResetDefaultState); }
    void resetHighlightedState() { resetKeys(kResetHighlightedState); }

private:
    void saveColorInformation() { writeWells(kWells, kWriteOrder); }
    void setDefaultIconWithCurrentColorCombo();
    void setHighlightedIconWithCurrentColorCombo();
    void setBarBackgroundImageWithCurrentColorCombo();
};

}  // namespace customizer
