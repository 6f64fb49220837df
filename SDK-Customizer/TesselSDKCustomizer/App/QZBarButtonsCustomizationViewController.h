#pragma once
// The Bar Buttons panel: the apply and cancel buttons over the navigation bar.

#include "App/QZColourPanel.h"

namespace customizer {

class QZBarButtonsCustomizationViewController : public QZColourPanel {
public:
    using QZColourPanel::QZColourPanel;

    static const std::vector<QZWellBinding> kWells;
    static const std::vector<std::string> kWriteOrder;
    static const std::vector<std::string> kResetApplyButton;
    static const std::vector<std::string> kResetCancelButton;

    void setupControls() override;
    void colorWellDidChange(const std::string& sender);
    void resetApplyButton() { resetKeys(kResetApplyButton); }
    void resetCancelButton() { resetKeys(kResetCancelButton); }

private:
    void updateBackgroundImageView();
    void updateApplyImageView();
    void updateCanceImageView();
};

}  // namespace customizer
