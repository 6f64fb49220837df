#include "GTK/QZSmallViews.h"

#include <pangomm/layout.h>

namespace customizer {

QZDarkTableCellView::QZDarkTableCellView(std::string text) : text_(std::move(text))
{
    set_draw_func([this](const Cairo::RefPtr<Cairo::Context>& cr, int, int height) {
        if (selected_)
            cr->set_source_rgb(88 / 255.0, 102 / 255.0, 115 / 255.0);
        else
            cr->set_source_rgb(50 / 255.0, 64 / 255.0, 65 / 255.0);
        cr->paint();
        auto layout = create_pango_layout(text_);
        int textWidth = 0, textHeight = 0;
        layout->get_pixel_size(textWidth, textHeight);
        cr->set_source_rgb(1, 1, 1);
        cr->move_to(12, (height - textHeight) / 2.0);
        layout->show_in_cairo_context(cr);
    });
}

QZGradientBarView::QZGradientBarView()
{
    set_draw_func([](const Cairo::RefPtr<Cairo::Context>& cr, int, int height) {
        auto gradient = Cairo::LinearGradient::create(0, 0, 0, height);
        gradient->add_color_stop_rgb(0, 233 / 255.0, 233 / 255.0, 233 / 255.0);
        gradient->add_color_stop_rgb(1, 218 / 255.0, 218 / 255.0, 218 / 255.0);
        cr->set_source(gradient);
        cr->paint();
    });
}

QZCanvasView::QZCanvasView()
{
    set_draw_func([this](const Cairo::RefPtr<Cairo::Context>& cr, int, int) {
        if (!backgroundColor_) return;
        const NSColor& c = *backgroundColor_;
        cr->set_source_rgba(c.redComponent(), c.greenComponent(), c.blueComponent(), c.alphaComponent());
        cr->paint();
    });
}

void QZCanvasView::setBackgroundColor(NSColorPtr color)
{
    backgroundColor_ = std::move(color);
    queue_draw();
}

QZExportWaitOverlayView::QZExportWaitOverlayView()
{
    set_opacity(0.7);
    set_draw_func([](const Cairo::RefPtr<Cairo::Context>& cr, int, int) {
        cr->set_source_rgba(0, 0, 0, 0.5);
        cr->paint();
    });
}

}  // namespace customizer
