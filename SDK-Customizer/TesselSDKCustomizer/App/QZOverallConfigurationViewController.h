#pragma once
// The Overall panel: the editor's home screen in small, coloured by the accent and canvas colours
// and by everything that falls back on them. It has no reset group (only the window's Reset).

#include "App/QZColourPanel.h"

namespace customizer {

class QZOverallConfigurationViewController : public QZColourPanel {
public:
    using QZColourPanel::QZColourPanel;

    static const std::vector<QZWellBinding> kWells;
    static const std::vector<std::string> kWriteOrder;

    void setupControls() override;
    void colorWellColorChanged(const std::string& sender);

private:
    void updateAll();
    void updateUnchangingElements();
    void updateCanvasView();
    void updateNavigationBarView();
    void updateBottomBarView();
    void updateApplyImageView();
    void updateCanceImageView();
    void updateIcons();
    void updateLabels();
    void updateLogoImageView();
};

}  // namespace customizer
