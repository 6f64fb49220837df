#pragma once
// Alerts and the Reset sheet as modal message dialogs, choosers as native file choosers, all
// transient for the window.

#include <gtkmm.h>

#include "App/QZDialogs.h"

namespace customizer {

class QZGtkDialogs : public QZDialogs {
public:
    // Without a window (none made yet) the dialogs stand alone.
    explicit QZGtkDialogs(Gtk::Window* window) : window_(window) {}
    void showAlert(const std::string& title, const std::string& text, std::function<void()> dismissed = {}) override;
    void showConfirmation(const std::string& title, const std::string& text, std::function<void(bool)> answer) override;
    void runChooser(const Chooser& chooser, ChooserAnswer answer) override;

private:
    Gtk::Window* window_;
};

}  // namespace customizer
