#include "GTK/QZSubViewsEnabled.h"

namespace customizer {

void QZSetSubViewsEnabled(Gtk::Widget& view, bool enabled)
{
    for (Gtk::Widget* child = view.get_first_child(); child; child = child->get_next_sibling()) {
        child->set_sensitive(enabled);
        QZSetSubViewsEnabled(*child, enabled);
        child->queue_draw();
    }
}

}  // namespace customizer
