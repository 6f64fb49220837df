#pragma once
// The small drawn views of the window: the section list's cell, the panels' backdrop, the
// canvas, and the dimming behind the progress view. Each draws itself with Cairo.

#include <gtkmm/drawingarea.h>

#include <string>

#include "Render/NSColor.h"

namespace customizer {

// A section list row: dark, lighter when selected, its name in white. Changing `selected` does
// not redraw; the list asks for that.
class QZDarkTableCellView : public Gtk::DrawingArea {
public:
    explicit QZDarkTableCellView(std::string text);
    bool selected() const { return selected_; }
    void setSelected(bool selected) { selected_ = selected; }

private:
    std::string text_;
    bool selected_ = false;
};

// A backdrop shading from light grey at the top to a darker grey at the bottom.
class QZGradientBarView : public Gtk::DrawingArea {
public:
    QZGradientBarView();
};

// Filled with its background colour: clear until one is set.
class QZCanvasView : public Gtk::DrawingArea {
public:
    QZCanvasView();
    const NSColorPtr& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(NSColorPtr color);

private:
    NSColorPtr backgroundColor_;
};

// Half-transparent black behind the progress view, the whole view at 0.7.
class QZExportWaitOverlayView : public Gtk::DrawingArea {
public:
    QZExportWaitOverlayView();
};

}  // namespace customizer
