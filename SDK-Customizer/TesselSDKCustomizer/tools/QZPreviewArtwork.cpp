#include "QZPreviewArtwork.h"

#include <cmath>

namespace customizer::masks {

namespace {

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// Signal bars on the left, a clock as two blocks in the middle, a battery on the right.
void drawStatusBar(cairo_t* cr)
{
    cairo_set_source_rgb(cr, 0.08, 0.08, 0.08);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    for (int i = 0; i < 5; ++i) cairo_rectangle(cr, 6 + i * 4, 15 - (3 + 2 * i), 3, 3 + 2 * i);
    roundedRect(cr, 144, 6, 14, 8, 1.5);
    roundedRect(cr, 162, 6, 14, 8, 1.5);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1);
    roundedRect(cr, 286.5, 5.5, 22, 10, 2);
    cairo_stroke(cr);
    cairo_rectangle(cr, 288, 7, 15, 7);
    cairo_rectangle(cr, 309, 8, 2, 5);
    cairo_fill(cr);
}

// A landscape: sky, sun, far mountains and a green hill.
void drawPlaceholder(cairo_t* cr)
{
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 120);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.42, 0.66, 0.93);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.86, 0.93, 1.0);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    cairo_set_source_rgb(cr, 1.0, 0.85, 0.32);
    cairo_arc(cr, 182, 44, 17, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.44, 0.5, 0.66);
    const double mountains[][2] = {{0, 122}, {58, 62}, {104, 108}, {156, 48}, {240, 118}, {240, 180}, {0, 180}};
    cairo_move_to(cr, mountains[0][0], mountains[0][1]);
    for (const auto& [x, y] : mountains) cairo_line_to(cr, x, y);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_t* hill = cairo_pattern_create_linear(0, 110, 0, 180);
    cairo_pattern_add_color_stop_rgb(hill, 0, 0.38, 0.68, 0.32);
    cairo_pattern_add_color_stop_rgb(hill, 1, 0.2, 0.45, 0.18);
    cairo_move_to(cr, 0, 142);
    cairo_curve_to(cr, 80, 112, 160, 154, 240, 128);
    cairo_line_to(cr, 240, 180);
    cairo_line_to(cr, 0, 180);
    cairo_close_path(cr);
    cairo_set_source(cr, hill);
    cairo_fill(cr);
    cairo_pattern_destroy(hill);
}

// A shade fading away from the bar that casts it; stretched to its view.
std::function<void(cairo_t*)> shadow(bool fromTop)
{
    return [fromTop](cairo_t* cr) {
        cairo_pattern_t* pattern = cairo_pattern_create_linear(0, 0, 0, 8);
        cairo_pattern_add_color_stop_rgba(pattern, 0, 0, 0, 0, fromTop ? 0.4 : 0);
        cairo_pattern_add_color_stop_rgba(pattern, 1, 0, 0, 0, fromTop ? 0 : 0.4);
        cairo_set_source(cr, pattern);
        cairo_paint(cr);
        cairo_pattern_destroy(pattern);
    };
}

}  // namespace

const std::vector<QZPreviewArtwork>& QZPreviewArtworks()
{
    static const std::vector<QZPreviewArtwork> artworks = {
        {"statusBar.jpg", 320, 20, drawStatusBar},
        {"placeholder.jpg", 240, 180, drawPlaceholder},
        {"top_nav_shadow.png", 4, 8, shadow(true)},
        {"bottom_nav_shadow.png", 4, 8, shadow(false)},
    };
    return artworks;
}

}  // namespace customizer::masks
