#include "QZMaskPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace customizer::masks {
namespace {

constexpr double kGrey = 0.5;

void paintForm(cairo_t* cr, const QZMaskForm& form, double grow, double dx, double dy, cairo_operator_t op, double alpha)
{
    cairo_push_group(cr);
    cairo_translate(cr, dx, dy);
    cairo_new_path(cr);
    form(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_set_source_rgb(cr, kGrey, kGrey, kGrey);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_fill_preserve(cr);
    if (grow != 0) {
        // Growing strokes the outline over the fill; shrinking clears a band along it.
        cairo_set_line_width(cr, 2 * std::fabs(grow));
        if (grow < 0) cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    cairo_pop_group_to_source(cr);
    cairo_set_operator(cr, op);
    cairo_paint_with_alpha(cr, alpha);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

void blur(cairo_t* cr, double points, double unit)
{
    cairo_surface_t* target = cairo_get_target(cr);
    QZBlurSurface(target, std::max(1, int(std::lround(points * unit))));
}

// One box pass of the given radius over n values spaced `step` apart.
void boxPass(uint8_t* data, int n, int step, int radius, std::vector<int>& line)
{
    line.assign(n, 0);
    for (int i = 0; i < n; ++i) line[i] = data[i * step];
    int window = 2 * radius + 1;
    int sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += line[std::clamp(i, 0, n - 1)];
    for (int i = 0; i < n; ++i) {
        data[i * step] = uint8_t((sum + window / 2) / window);
        sum += line[std::min(i + radius + 1, n - 1)] - line[std::max(i - radius, 0)];
    }
}

}  // namespace

void QZPaintMaskLayer(cairo_t* cr, const QZMaskForm& form, QZMaskLayer layer, QZMaskStyle style, double unit)
{
    double t = style.thickness, b = style.body;
    cairo_save(cr);
    cairo_scale(cr, unit, unit);
    switch (layer) {
    case QZMaskLayer::Whole: paintForm(cr, form, 0, 0, 0, CAIRO_OPERATOR_OVER, 1); break;
    case QZMaskLayer::Core: paintForm(cr, form, b, 0, 0, CAIRO_OPERATOR_OVER, 1); break;
    case QZMaskLayer::Stroke:
        paintForm(cr, form, b + t, 0, 0, CAIRO_OPERATOR_OVER, 1);
        paintForm(cr, form, b, 0, 0, CAIRO_OPERATOR_DEST_OUT, 1);
        break;
    case QZMaskLayer::Shadow:
        paintForm(cr, form, b, 0, 0, CAIRO_OPERATOR_OVER, 0.9);
        paintForm(cr, form, b, 0, 1.5 * t, CAIRO_OPERATOR_DEST_OUT, 1);
        break;
    case QZMaskLayer::Pressed:
        paintForm(cr, form, b, 0, 0, CAIRO_OPERATOR_OVER, 0.8);
        paintForm(cr, form, b, 0, 3 * t, CAIRO_OPERATOR_DEST_OUT, 1);
        blur(cr, t, unit);
        paintForm(cr, form, b, 0, 0, CAIRO_OPERATOR_DEST_IN, 1);
        break;
    case QZMaskLayer::PressedGlow:
        paintForm(cr, form, b, 0, 0, CAIRO_OPERATOR_OVER, 0.8);
        paintForm(cr, form, b, 0, -1.5 * t, CAIRO_OPERATOR_DEST_OUT, 1);
        break;
    case QZMaskLayer::DropShadow:
        paintForm(cr, form, b + t, 0, t, CAIRO_OPERATOR_OVER, 0.6);
        blur(cr, t / 2, unit);
        break;
    case QZMaskLayer::DropShadowPressed:
        paintForm(cr, form, b + t, 0, t, CAIRO_OPERATOR_OVER, 0.5);
        paintForm(cr, form, b + t, 0, 0, CAIRO_OPERATOR_DEST_OUT, 1);
        break;
    case QZMaskLayer::Glow:
        paintForm(cr, form, b + 2 * t, 0, 0, CAIRO_OPERATOR_OVER, 0.85);
        blur(cr, 1.5 * t, unit);
        break;
    case QZMaskLayer::Rim: paintForm(cr, form, b + 4 * t, 0, 0, CAIRO_OPERATOR_OVER, 1); break;
    }
    cairo_restore(cr);
}

void QZRoundedRect(cairo_t* cr, double x, double y, double width, double height, double radius)
{
    QZRoundedRectCorners(cr, x, y, width, height, radius, radius, radius, radius);
}

void QZRoundedRectCorners(cairo_t* cr, double x, double y, double width, double height, double topLeft, double topRight,
                          double bottomRight, double bottomLeft)
{
    double limit = std::min(width, height) / 2;
    auto corner = [&](double cx, double cy, double r, double from) {
        r = std::min(r, limit);
        if (r <= 0) {
            cairo_line_to(cr, cx, cy);
            return;
        }
        double ox = from == M_PI || from == M_PI / 2 ? r : -r;
        double oy = from == M_PI || from == -M_PI / 2 ? r : -r;
        cairo_arc(cr, cx + ox, cy + oy, r, from, from + M_PI / 2);
    };
    cairo_new_sub_path(cr);
    corner(x, y, topLeft, M_PI);
    corner(x + width, y, topRight, -M_PI / 2);
    corner(x + width, y + height, bottomRight, 0);
    corner(x, y + height, bottomLeft, M_PI / 2);
    cairo_close_path(cr);
}

void QZRectHole(cairo_t* cr, double x, double y, double width, double height)
{
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x, y + height);
    cairo_line_to(cr, x + width, y + height);
    cairo_line_to(cr, x + width, y);
    cairo_close_path(cr);
}

void QZEllipse(cairo_t* cr, double cx, double cy, double rx, double ry)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void QZEllipseHole(cairo_t* cr, double cx, double cy, double rx, double ry)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, 0, 0, 1, 2 * M_PI, 0);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void QZPolygon(cairo_t* cr, std::initializer_list<double> coordinates)
{
    const double* p = coordinates.begin();
    cairo_move_to(cr, p[0], p[1]);
    for (size_t i = 2; i + 1 < coordinates.size(); i += 2) cairo_line_to(cr, p[i], p[i + 1]);
    cairo_close_path(cr);
}

// A bar from (x1, y1) to (x2, y2) of the given width, as a closed outline.
void QZBar(cairo_t* cr, double x1, double y1, double x2, double y2, double width)
{
    double dx = x2 - x1, dy = y2 - y1, length = std::hypot(dx, dy);
    double nx = -dy / length * width / 2, ny = dx / length * width / 2;
    cairo_move_to(cr, x1 + nx, y1 + ny);
    cairo_line_to(cr, x1 - nx, y1 - ny);
    cairo_line_to(cr, x2 - nx, y2 - ny);
    cairo_line_to(cr, x2 + nx, y2 + ny);
    cairo_close_path(cr);
}

void QZStar(cairo_t* cr, double cx, double cy, double outer, double inner, int points)
{
    for (int i = 0; i < 2 * points; ++i) {
        double angle = -M_PI / 2 + i * M_PI / points;
        double r = i % 2 ? inner : outer;
        if (i == 0) cairo_move_to(cr, cx + r * std::cos(angle), cy + r * std::sin(angle));
        else cairo_line_to(cr, cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
    cairo_close_path(cr);
}

// A ring of the given radius and width, open over the angles from gapStart to gapEnd, with an
// arrow head at the gap's start.
void QZCircularArrow(cairo_t* cr, double cx, double cy, double radius, double width, double gapStart, double gapEnd)
{
    double ro = radius + width / 2, ri = radius - width / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, ro, gapEnd, gapStart + 2 * M_PI);
    cairo_arc_negative(cr, cx, cy, ri, gapStart + 2 * M_PI, gapEnd);
    cairo_close_path(cr);
    double ax = cx + radius * std::cos(gapStart), ay = cy + radius * std::sin(gapStart);
    double tx = -std::sin(gapStart), ty = std::cos(gapStart);  // along the ring, into the gap
    double nx = std::cos(gapStart), ny = std::sin(gapStart);
    double head = width * 1.6;
    cairo_move_to(cr, ax + nx * head, ay + ny * head);
    cairo_line_to(cr, ax + tx * head * 1.3, ay + ty * head * 1.3);
    cairo_line_to(cr, ax - nx * head, ay - ny * head);
    cairo_close_path(cr);
}

void QZBlurSurface(cairo_surface_t* surface, int radius)
{
    cairo_surface_flush(surface);
    int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    uint8_t* data = cairo_image_surface_get_data(surface);
    std::vector<int> line;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y)
            for (int channel = 0; channel < 4; ++channel) boxPass(data + y * stride + channel, width, 4, radius, line);
        for (int x = 0; x < width; ++x)
            for (int channel = 0; channel < 4; ++channel) boxPass(data + x * 4 + channel, height, stride, radius, line);
    }
    cairo_surface_mark_dirty(surface);
}

}  // namespace customizer::masks
