#pragma once
// The base of every colour panel: fills its controls from the theme record (setupControls), and
// again whenever a theme file replaces the theme, for as long as the panel lives (the subscription
// is a connection the panel owns). Every change goes to the record and is saved at once.

#include <memory>
#include <string>
#include <vector>

#include "App/QZPanelView.h"
#include "Model/QZCustomizationDataManager.h"
#include "Model/QZSignal.h"

namespace customizer {

class QZCustomizationParentViewController {
public:
    explicit QZCustomizationParentViewController(QZCustomizationDataManager& dataManager) : dataManager_(dataManager) {}
    virtual ~QZCustomizationParentViewController() = default;
    QZCustomizationParentViewController(const QZCustomizationParentViewController&) = delete;
    QZCustomizationParentViewController& operator=(const QZCustomizationParentViewController&) = delete;

    // Fills the controls, then follows replaced themes.
    void loadView();
    // Fills every control from the record and redraws every preview.
    virtual void setupControls() = 0;
    // The group back to its defaults (saved), then the controls filled again.
    void resetKeys(const std::vector<std::string>& keys);

    virtual std::shared_ptr<QZPanelView> view() const = 0;

protected:
    QZCustomizationDataManager& dataManager() { return dataManager_; }

private:
    QZCustomizationDataManager& dataManager_;
    QZScopedConnection configurationChanged_;
};

}  // namespace customizer
