#pragma once
// The Bars panel: the navigation and bottom bars, with switches for the button and icon previews
// (user defaults), the textured look and the logo colour (theme flags).

#include "App/QZColourPanel.h"
#include "App/QZUserDefaults.h"

namespace customizer {

class QZBarCustomizationViewController : public QZColourPanel {
public:
    QZBarCustomizationViewController(QZCustomizationDataManager& dataManager, std::shared_ptr<QZPanelControls> controls,
                                     QZUserDefaults& defaults)
        : QZColourPanel(dataManager, std::move(controls)), defaults_(defaults)
    {
    }

    static const std::vector<QZWellBinding> kWells;
    static const std::vector<std::string> kWriteOrder;
    static const std::vector<std::string> kResetNavBar;
    static const std::vector<std::string> kResetBottomBar;

    void setupControls() override;
    void colorWellDidChange(const std::string& sender);
    void showNavButtonsValueChanged(bool on);
    void showIconsValueChanged(bool on);
    void texturedAppearanceCheckboxValueChanged(bool on);
    // Sent by both radio buttons with the sender's new state.
    void logoColorChanged(const std::string& sender, bool on);
    void resetNavBar() { resetKeys(kResetNavBar); }
    void resetBottomBar() { resetKeys(kResetBottomBar); }

private:
    void updateNavigationBarView();
    void updateBottomBarView();
    void updateLogoImageView();
    void updateApplyImageView();
    void updateCanceImageView();
    void updateUnselectedPreview();
    void updateSelectedPreview();

    QZUserDefaults& defaults_;
};

}  // namespace customizer
