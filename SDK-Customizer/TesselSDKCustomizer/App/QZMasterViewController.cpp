#include "App/QZMasterViewController.h"

#include <stdexcept>

namespace customizer {

namespace {

constexpr const char* kControls[] = {"applyButton", "resetButton", "compressPNGsButton", "compressHelpButton"};

}  // namespace

QZMasterViewController::QZMasterViewController(Collaborators collaborators) : c_(std::move(collaborators)) {}

void QZMasterViewController::loadView()
{
    loadViewControllerAtIndex(0);
    if (!cellSelected_) {
        c_.view.setCellSelected(0, true);
        cellSelected_ = true;
    }
    c_.view.setChecked("compressPNGsButton", !c_.defaults.boolForKey(COMPRESS_PNGS_DISABLED_KEY));
}

void QZMasterViewController::loadViewControllerAtIndex(size_t row)
{
    if (row >= kQZConfigSections.size()) throw std::out_of_range("no section at row " + std::to_string(row));
    std::unique_ptr<QZCustomizationParentViewController> panel = c_.makePanel(row);
    panel->loadView();
    std::shared_ptr<QZPanelView> newView = panel->view();
    if (currentViewController_) {
        std::shared_ptr<QZPanelView> oldView = currentViewController_->view();
        newView->setAlpha(0);
        c_.view.addPanelView(newView);
        QZAnimator& animator = c_.animator;
        QZMasterView& view = c_.view;
        animator.animate(
            kQZFadeOutSeconds, [oldView](double fraction) { oldView->setAlpha(1.0 - fraction); },
            [&animator, &view, oldView, newView] {
                view.removePanelView(oldView);
                animator.animate(kQZFadeInSeconds, [newView](double fraction) { newView->setAlpha(fraction); }, {});
            });
    } else {
        c_.view.addPanelView(newView);
    }
    currentViewController_ = std::move(panel);
    selectedRow_ = row;
}

void QZMasterViewController::tableViewSelectionDidChange(std::optional<size_t> selectedRow)
{
    if (!selectedRow || *selectedRow >= kQZConfigSections.size()) {
        c_.view.selectRow(selectedRow_);
        return;
    }
    const size_t previous = selectedRow_;
    loadViewControllerAtIndex(*selectedRow);
    c_.view.setCellSelected(previous, false);
    c_.view.setCellSelected(*selectedRow, true);
}

void QZMasterViewController::applyButtonPressed()
{
    if (c_.exportBundle) c_.exportBundle();
}

void QZMasterViewController::resetButtonPressed()
{
    c_.dialogs.showConfirmation(kQZResetTitle, kQZResetText, [this](bool ok) {
        if (!ok) return;
        c_.dataManager.resetAllKeys();
        if (currentViewController_) currentViewController_->setupControls();
    });
}

void QZMasterViewController::compressedHelpButtonPressed()
{
    c_.dialogs.showAlert(kQZCompressHelpTitle, kQZCompressHelpText);
}

void QZMasterViewController::compressPNGsValueChanged(bool checked)
{
    if (!c_.defaults.setBoolForKey(COMPRESS_PNGS_DISABLED_KEY, !checked))
        c_.dialogs.showAlert("The preferences could not be saved.", c_.defaults.path());
}

void QZMasterViewController::setExporting(bool exporting)
{
    c_.view.setHidden("configurationContainerView", exporting);
    c_.view.setHidden("tableView", exporting);
    for (const char* control : kControls) c_.view.setEnabled(control, !exporting);
    if (exporting) {
        currentExportViewController_ = std::make_unique<QZExportViewController>(c_.view.addExportView(), c_.mainLoop);
        currentExportViewController_->loadView();
    } else if (currentExportViewController_) {
        c_.view.removeExportView();
        currentExportViewController_.reset();
    }
}

}  // namespace customizer
