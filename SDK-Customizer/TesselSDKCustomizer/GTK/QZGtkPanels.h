#pragma once
// Makes the panel of a section row with its GTK controls, its actions connected.

#include <memory>
#include <string>

#include "App/QZCustomizationParentViewController.h"
#include "App/QZUserDefaults.h"
#include "GTK/QZGtkPanelControls.h"

namespace customizer {

struct QZGtkPanel {
    std::unique_ptr<QZCustomizationParentViewController> controller;
    std::shared_ptr<QZGtkPanelControls> controls;
};

QZGtkPanel QZMakeGtkPanel(size_t row, QZCustomizationDataManager& dataManager, QZUserDefaults& defaults,
                          const std::string& resourcesFolder);

}  // namespace customizer
