#include "App/QZColourPanel.h"

#include <stdexcept>

namespace customizer {

void QZColourPanel::fillWells(const std::vector<QZWellBinding>& wells)
{
    for (const QZWellBinding& well : wells) {
        const QZAttributeValue value = record().valueForKey(well.attribute);
        const NSColorPtr* color = std::get_if<NSColorPtr>(&value);
        controls_->setWellColor(well.outlet, color ? *color : nullptr);
    }
}

void QZColourPanel::writeWells(const std::vector<QZWellBinding>& wells, const std::vector<std::string>& order)
{
    for (const std::string& attribute : order) {
        const QZWellBinding* bound = nullptr;
        for (const QZWellBinding& well : wells)
            if (attribute == well.attribute) bound = &well;
        if (!bound) throw std::logic_error("no well for " + attribute);
        record().setValueForKey(controls_->wellColor(bound->outlet), attribute);
    }
    dataManager().save();
}

}  // namespace customizer
