#pragma once
// The main window's content: the section list of dark cells, the panel container, Apply, Reset,
// "Compress PNGs" and its help button, and the progress view while exporting.

#include <gtkmm.h>

#include <array>
#include <functional>
#include <memory>

#include "App/QZMasterView.h"
#include "GTK/QZGtkExportView.h"
#include "GTK/QZGtkPanelControls.h"
#include "GTK/QZSmallViews.h"

namespace customizer {

class QZGtkMasterView : public QZMasterView {
public:
    QZGtkMasterView();

    Gtk::Widget& widget() { return root_; }
    struct Actions {
        std::function<void(std::optional<size_t>)> selectionChanged;
        std::function<void()> apply, reset, help;
        std::function<void(bool)> compressChanged;
    };
    void setActions(Actions actions) { actions_ = std::move(actions); }
    // For tests and screenshots: select a row as the user would.
    void clickRow(size_t row);
    QZGtkExportView* exportView() { return exportView_.get(); }
    // The widget of an outlet ("applyButton", "tableView" ...), null for an unknown name.
    Gtk::Widget* outlet(const std::string& name);

    void setHidden(const std::string& outlet, bool hidden) override;
    void setEnabled(const std::string& outlet, bool enabled) override;
    void setChecked(const std::string& outlet, bool checked) override;
    void addPanelView(const std::shared_ptr<QZPanelView>& view) override;
    void removePanelView(const std::shared_ptr<QZPanelView>& view) override;
    void setCellSelected(size_t row, bool selected) override;
    void selectRow(size_t row) override;
    QZExportView& addExportView() override;
    void removeExportView() override;

private:
    Gtk::Overlay root_;
    Gtk::Box main_{Gtk::Orientation::HORIZONTAL, 0};
    Gtk::Box side_{Gtk::Orientation::VERTICAL, 8};
    Gtk::ScrolledWindow tableView_;
    Gtk::ListBox list_;
    Gtk::Overlay container_;
    Gtk::Button apply_{"Apply"}, reset_{"Reset"}, help_{"?"};
    Gtk::CheckButton compress_{"Compress PNGs"};
    std::array<QZDarkTableCellView*, 6> cells_{};
    std::unique_ptr<QZGtkExportView> exportView_;
    Actions actions_;
    bool quiet_ = false;
};

}  // namespace customizer
