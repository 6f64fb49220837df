#include "GTK/QZGtkExportView.h"

namespace customizer {

namespace {

Gtk::DrawingArea* checkMark()
{
    auto* mark = Gtk::make_managed<Gtk::DrawingArea>();
    mark->set_content_width(20);
    mark->set_content_height(20);
    mark->set_draw_func([](const Cairo::RefPtr<Cairo::Context>& cr, int width, int height) {
        cr->set_source_rgb(0.2, 0.7, 0.3);
        cr->set_line_width(3);
        cr->move_to(width * 0.15, height * 0.55);
        cr->line_to(width * 0.4, height * 0.8);
        cr->line_to(width * 0.85, height * 0.2);
        cr->stroke();
    });
    return mark;
}

}  // namespace

QZGtkExportView::QZGtkExportView()
{
    overlay_.set_child(dim_);
    grid_.set_row_spacing(12);
    grid_.set_column_spacing(12);
    grid_.set_halign(Gtk::Align::CENTER);
    grid_.set_valign(Gtk::Align::CENTER);
    overlay_.add_overlay(grid_);
    const char* lines[2][4] = {{"savingImagesLabel", "savingProgressIndicator", "savingStatusLabel", "savingCompleteCheck"},
                               {"compressingPNGSLabel", "compressingProgressIndicator", "compressingStatusLabel",
                                "compressingCompleteCheck"}};
    const char* titles[2] = {"Saving Images", "Compressing PNGs"};
    for (int row = 0; row < 2; ++row) {
        auto* title = Gtk::make_managed<Gtk::Label>(titles[row]);
        auto* spinner = Gtk::make_managed<Gtk::Spinner>();
        auto* status = Gtk::make_managed<Gtk::Label>("");
        auto* check = checkMark();
        grid_.attach(*title, 0, row);
        grid_.attach(*spinner, 1, row);
        grid_.attach(*check, 1, row);
        grid_.attach(*status, 2, row);
        widgets_[lines[row][0]] = title;
        widgets_[lines[row][1]] = spinner;
        widgets_[lines[row][2]] = status;
        widgets_[lines[row][3]] = check;
    }
}

void QZGtkExportView::setHidden(const std::string& outlet, bool hidden)
{
    if (auto found = widgets_.find(outlet); found != widgets_.end()) found->second->set_visible(!hidden);
}

void QZGtkExportView::setText(const std::string& outlet, const std::string& text)
{
    if (auto* label = dynamic_cast<Gtk::Label*>(widgets_[outlet])) label->set_text(text);
}

void QZGtkExportView::setSpinning(const std::string& outlet, bool spinning)
{
    if (auto* spinner = dynamic_cast<Gtk::Spinner*>(widgets_[outlet])) spinner->set_spinning(spinning);
}

}  // namespace customizer
