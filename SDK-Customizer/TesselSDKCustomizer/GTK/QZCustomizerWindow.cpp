#include "GTK/QZCustomizerWindow.h"

namespace customizer {

QZCustomizerWindow::QZCustomizerWindow(QZCustomizationDataManager& dataManager, std::string resourcesFolder,
                                       QZAppDelegate::ExportRunner runExport, QZDialogs* dialogs)
    : dataManager_(dataManager), resourcesFolder_(std::move(resourcesFolder)),
      dialogs_(dialogs ? *dialogs : ownDialogs_)
{
    set_title("Tessel SDK Customizer");
    set_default_size(1180, 760);
    auto* header = Gtk::make_managed<Gtk::HeaderBar>();
    header->pack_start(open_);
    header->pack_start(save_);
    header->pack_end(export_);
    set_titlebar(*header);
    set_child(masterView_.widget());

    app_ = std::make_unique<QZAppDelegate>(dialogs_, mainLoop_, defaults_, dataManager_, std::move(runExport));
    app_->setActionsEnabledHandler([this](bool enabled) {
        for (Gtk::Button* button : {&open_, &save_, &export_}) button->set_sensitive(enabled);
    });
    open_.signal_clicked().connect([this] { app_->openConfiguration(); });
    save_.signal_clicked().connect([this] { app_->saveConfiguration(); });
    export_.signal_clicked().connect([this] { app_->exportBundle(); });

    master_ = std::make_unique<QZMasterViewController>(QZMasterViewController::Collaborators{
        masterView_, dialogs_, animator_, mainLoop_, defaults_, dataManager_,
        [this](size_t row) {
            QZGtkPanel made = QZMakeGtkPanel(row, dataManager_, defaults_, resourcesFolder_);
            currentControls_ = made.controls;
            return std::move(made.controller);
        },
        [this] { app_->exportBundle(); }});
    app_->setMasterViewController(master_.get());
    masterView_.setActions({[this](std::optional<size_t> row) { master_->tableViewSelectionDidChange(row); },
                            [this] { master_->applyButtonPressed(); }, [this] { master_->resetButtonPressed(); },
                            [this] { master_->compressedHelpButtonPressed(); },
                            [this](bool on) { master_->compressPNGsValueChanged(on); }});
    master_->loadView();
    masterView_.selectRow(0);
}

QZCustomizerWindow::~QZCustomizerWindow()
{
    app_->joinExport();
}

}  // namespace customizer
