#pragma once
// What the six colour panels share: their controls, and the wells bound to the record's
// attributes by the panel's table (outlet, attribute).

#include <memory>
#include <string>
#include <vector>

#include "App/QZCustomizationParentViewController.h"
#include "App/QZPanelControls.h"

namespace customizer {

struct QZWellBinding {
    const char* outlet;
    const char* attribute;
};

class QZColourPanel : public QZCustomizationParentViewController {
public:
    QZColourPanel(QZCustomizationDataManager& dataManager, std::shared_ptr<QZPanelControls> controls)
        : QZCustomizationParentViewController(dataManager), controls_(std::move(controls))
    {
    }
    std::shared_ptr<QZPanelView> view() const override { return controls_; }

protected:
    OverallAppearance& record() { return dataManager().overallAppearance(); }
    QZPanelControls& controls() { return *controls_; }

    // Each well from its attribute, read through the getter.
    void fillWells(const std::vector<QZWellBinding>& wells);
    // Each attribute of `order` from its well, one write each, then one save.
    void writeWells(const std::vector<QZWellBinding>& wells, const std::vector<std::string>& order);
    void showImage(const char* outlet, const NSImagePtr& image) { controls_->setImage(outlet, image); }
    CGSize sizeOf(const char* outlet) const { return controls_->boundsSize(outlet); }

private:
    std::shared_ptr<QZPanelControls> controls_;
};

}  // namespace customizer
