#pragma once
// The progress view of one export over a dimming overlay: two lines, each with a title, a
// spinner, a progress text and a drawn check mark.

#include <gtkmm.h>

#include <map>

#include "App/QZExportView.h"
#include "GTK/QZSmallViews.h"

namespace customizer {

class QZGtkExportView : public QZExportView {
public:
    QZGtkExportView();
    Gtk::Widget& widget() { return overlay_; }

    void setHidden(const std::string& outlet, bool hidden) override;
    void setText(const std::string& outlet, const std::string& text) override;
    void setSpinning(const std::string& outlet, bool spinning) override;

private:
    Gtk::Overlay overlay_;
    QZExportWaitOverlayView dim_;
    Gtk::Grid grid_;
    std::map<std::string, Gtk::Widget*> widgets_;
};

}  // namespace customizer
