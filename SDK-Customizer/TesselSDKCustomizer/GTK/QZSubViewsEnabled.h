#pragma once
// Enables or disables every widget below one, depth first in child order, each redrawn at once.
// A general helper for views; the window itself does not call it.

#include <gtkmm/widget.h>

namespace customizer {

void QZSetSubViewsEnabled(Gtk::Widget& view, bool enabled);
inline void QZDisableSubViews(Gtk::Widget& view)
{
    QZSetSubViewsEnabled(view, false);
}
inline void QZEnableSubViews(Gtk::Widget& view)
{
    QZSetSubViewsEnabled(view, true);
}

}  // namespace customizer
