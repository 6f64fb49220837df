#pragma once
// The Text panel: title and label colours over the bars, the buttons shown normal or pressed
// (user default "HighlightedButtons"). Shadows are twin labels behind their titles.

#include "App/QZColourPanel.h"
#include "App/QZUserDefaults.h"

namespace customizer {

class QZTextCustomizationViewController : public QZColourPanel {
public:
    QZTextCustomizationViewController(QZCustomizationDataManager& dataManager, std::shared_ptr<QZPanelControls> controls,
                                      QZUserDefaults& defaults)
        : QZColourPanel(dataManager, std::move(controls)), defaults_(defaults)
    {
    }

    static const std::vector<QZWellBinding> kWells;
    static const std::vector<std::string> kWriteOrder;
    static const std::vector<std::string> kResetOverall;
    static const std::vector<std::string> kResetButton;

    void setupControls() override;
    void colorWellDidChange(const std::string& sender);
    void highlightedButtonsCheckboxValueDidChange(bool on);
    void resetOverall() { resetKeys(kResetOverall); }
    void resetButton() { resetKeys(kResetButton); }

private:
    void setIcons();
    void updateLabels();
    void updateNavigationBarView();
    void updateBottomBarView();
    void updateUnselectedPreview();
    void updateSelectedPreview();

    QZUserDefaults& defaults_;
};

}  // namespace customizer
