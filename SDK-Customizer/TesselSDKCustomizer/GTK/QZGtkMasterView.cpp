#include "GTK/QZGtkMasterView.h"

#include "App/QZMasterViewController.h"

namespace customizer {

QZGtkMasterView::QZGtkMasterView()
{
    root_.set_child(main_);
    side_.set_size_request(200, -1);
    side_.set_margin(8);
    tableView_.set_child(list_);
    tableView_.set_vexpand(true);
    tableView_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    side_.append(tableView_);
    auto* compressRow = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    compressRow->append(compress_);
    compressRow->append(help_);
    side_.append(*compressRow);
    side_.append(reset_);
    side_.append(apply_);
    main_.append(side_);
    container_.set_hexpand(true);
    container_.set_vexpand(true);
    main_.append(container_);

    // The rows draw their own selection; the list's look is turned off.
    list_.add_css_class("tessel-sections");
    auto css = Gtk::CssProvider::create();
    css->load_from_data(".tessel-sections row, .tessel-sections row:selected { background: none; padding: 0; }");
    Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), css, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    for (size_t row = 0; row < cells_.size(); ++row) {
        cells_[row] = Gtk::make_managed<QZDarkTableCellView>(kQZConfigSections[row].name);
        cells_[row]->set_content_height(int(kQZSectionRowHeight));
        list_.append(*cells_[row]);
    }
    list_.signal_selected_rows_changed().connect([this] {
        if (quiet_ || !actions_.selectionChanged) return;
        Gtk::ListBoxRow* row = list_.get_selected_row();
        actions_.selectionChanged(row ? std::optional<size_t>(size_t(row->get_index())) : std::nullopt);
    });
    apply_.signal_clicked().connect([this] { if (actions_.apply) actions_.apply(); });
    reset_.signal_clicked().connect([this] { if (actions_.reset) actions_.reset(); });
    help_.signal_clicked().connect([this] { if (actions_.help) actions_.help(); });
    compress_.signal_toggled().connect([this] {
        if (!quiet_ && actions_.compressChanged) actions_.compressChanged(compress_.get_active());
    });
}

void QZGtkMasterView::clickRow(size_t row) { list_.select_row(*list_.get_row_at_index(int(row))); }

Gtk::Widget* QZGtkMasterView::outlet(const std::string& name)
{
    if (name == "configurationContainerView") return &container_;
    if (name == "tableView") return &tableView_;
    if (name == "applyButton") return &apply_;
    if (name == "resetButton") return &reset_;
    if (name == "compressPNGsButton") return &compress_;
    if (name == "compressHelpButton") return &help_;
    return nullptr;
}

void QZGtkMasterView::setHidden(const std::string& name, bool hidden)
{
    if (Gtk::Widget* widget = outlet(name)) widget->set_visible(!hidden);
}

void QZGtkMasterView::setEnabled(const std::string& name, bool enabled)
{
    if (Gtk::Widget* widget = outlet(name)) widget->set_sensitive(enabled);
}

void QZGtkMasterView::setChecked(const std::string& name, bool checked)
{
    if (name != "compressPNGsButton") return;
    quiet_ = true;
    compress_.set_active(checked);
    quiet_ = false;
}

void QZGtkMasterView::addPanelView(const std::shared_ptr<QZPanelView>& view)
{
    // A panel on its way out takes no more input: its controller is gone.
    for (Gtk::Widget* child = container_.get_first_child(); child; child = child->get_next_sibling())
        child->set_sensitive(false);
    auto& widget = std::static_pointer_cast<QZGtkPanelControls>(view)->widget();
    if (!container_.get_child())
        container_.set_child(widget);
    else
        container_.add_overlay(widget);
}

void QZGtkMasterView::removePanelView(const std::shared_ptr<QZPanelView>& view)
{
    auto& widget = std::static_pointer_cast<QZGtkPanelControls>(view)->widget();
    if (container_.get_child() == &widget)
        container_.unset_child();
    else
        container_.remove_overlay(widget);
}

void QZGtkMasterView::setCellSelected(size_t row, bool selected)
{
    if (row >= cells_.size()) return;
    cells_[row]->setSelected(selected);
    cells_[row]->queue_draw();
}

void QZGtkMasterView::selectRow(size_t row)
{
    quiet_ = true;
    list_.select_row(*list_.get_row_at_index(int(row)));
    quiet_ = false;
}

QZExportView& QZGtkMasterView::addExportView()
{
    exportView_ = std::make_unique<QZGtkExportView>();
    root_.add_overlay(exportView_->widget());
    return *exportView_;
}

void QZGtkMasterView::removeExportView()
{
    if (!exportView_) return;
    root_.remove_overlay(exportView_->widget());
    exportView_.reset();
}

}  // namespace customizer
