#pragma once
// The main window's content as its presenter sees it, addressed by outlet names:
// "configurationContainerView", "tableView", "applyButton", "resetButton", "compressPNGsButton",
// "compressHelpButton". The section list has six rows; a row's cell draws itself selected or not.

#include <memory>
#include <string>

#include "App/QZExportView.h"
#include "App/QZPanelView.h"

namespace customizer {

class QZMasterView {
public:
    virtual ~QZMasterView() = default;
    virtual void setHidden(const std::string& outlet, bool hidden) = 0;
    virtual void setEnabled(const std::string& outlet, bool enabled) = 0;
    virtual void setChecked(const std::string& outlet, bool checked) = 0;

    virtual void addPanelView(const std::shared_ptr<QZPanelView>& view) = 0;
    virtual void removePanelView(const std::shared_ptr<QZPanelView>& view) = 0;

    virtual void setCellSelected(size_t row, bool selected) = 0;
    // Selects the row in the list without reporting a change.
    virtual void selectRow(size_t row) = 0;

    virtual QZExportView& addExportView() = 0;
    virtual void removeExportView() = 0;
};

}  // namespace customizer
