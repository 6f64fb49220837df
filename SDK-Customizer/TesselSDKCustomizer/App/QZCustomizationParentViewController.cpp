#include "App/QZCustomizationParentViewController.h"

#include "Model/QZCustomizationConstants.h"

namespace customizer {

void QZCustomizationParentViewController::loadView()
{
    setupControls();
    configurationChanged_ = CUSTOMIZATION_CONFIGURATION_CHANGED.connect([this] { setupControls(); });
}

void QZCustomizationParentViewController::resetKeys(const std::vector<std::string>& keys)
{
    dataManager_.resetKeys(keys);
    setupControls();
}

}  // namespace customizer
