#pragma once
// The main loop and the animator over GLib and GTK: posts go through g_idle_add (safe from any
// thread); animations step on the frame clock of the widget they belong to, once per frame.

#include <gtkmm/widget.h>

#include "App/QZAnimator.h"
#include "App/QZMainLoop.h"

namespace customizer {

class QZGtkMainLoop : public QZMainLoop {
public:
    void post(std::function<void()> block) override;
};

class QZGtkAnimator : public QZAnimator {
public:
    // `clockOwner` gives the frame clock: its window must be mapped for animations to advance.
    explicit QZGtkAnimator(Gtk::Widget& clockOwner) : clockOwner_(clockOwner) {}
    void animate(double seconds, std::function<void(double)> step, std::function<void()> completion) override;

private:
    Gtk::Widget& clockOwner_;
};

}  // namespace customizer
