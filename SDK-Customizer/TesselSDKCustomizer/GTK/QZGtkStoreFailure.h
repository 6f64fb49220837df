#pragma once
// The end of the program when the theme store fails beyond repair: the reason is logged and shown
// in an alert, and once the alert is dismissed the program exits with status 1. Nothing runs on
// after the failure but the main loop that shows the alert.

#include <gtkmm/window.h>

#include <string>

namespace customizer {

inline constexpr const char* kQZStoreFailedTitle = "The customization store failed; the customizer will quit.";

// `parent` is the main window, or null when none is made yet.
[[noreturn]] void QZEndWithStoreFailureAlert(Gtk::Window* parent, const std::string& reason);

}  // namespace customizer
