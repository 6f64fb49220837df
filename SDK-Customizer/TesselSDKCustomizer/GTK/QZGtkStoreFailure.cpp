#include "GTK/QZGtkStoreFailure.h"

#include <glib.h>

#include <cstdlib>

#include "GTK/QZGtkDialogs.h"
#include "Render/NSLog.h"

namespace customizer {

void QZEndWithStoreFailureAlert(Gtk::Window* parent, const std::string& reason)
{
    NSLog("%s", reason.c_str());
    // A second failure while the alert is up (a redraw saving again) ends at once.
    static bool ending = false;
    if (!ending) {
        ending = true;
        QZGtkDialogs dialogs(parent);
        bool dismissed = false;
        dialogs.showAlert(kQZStoreFailedTitle, reason, [&dismissed] { dismissed = true; });
        while (!dismissed) g_main_context_iteration(nullptr, true);
    }
    std::exit(1);
}

}  // namespace customizer
