#pragma once
// Drawing of the customizer's grey masks. A mask family is one outline (a form) from which every
// layer of a generator is derived: the body, a stroke ring, an inner highlight at the top, an
// inner shadow, a drop shadow, a glow. Forms are traced in points with y down (as the picture is
// viewed, top row first); the painter scales points to the mask's pixels. Only the alpha of a
// mask matters; the grey is there for people looking at the files.

#include <cairo.h>

#include <functional>
#include <initializer_list>

namespace customizer::masks {

// Appends closed subpaths (non-zero winding; holes run the other way) to the current path.
using QZMaskForm = std::function<void(cairo_t*)>;

enum class QZMaskLayer {
    Whole,              // the form itself
    Core,               // the body
    Stroke,             // a ring of one thickness around the body
    Shadow,             // a highlight along the inside of the body's top edge
    Pressed,            // a soft shadow falling from the body's top edge inwards
    PressedGlow,        // a highlight along the inside of the body's bottom edge
    DropShadow,         // the body, grown and moved down, soft
    DropShadowPressed,  // a thin line below the body
    Glow,               // the body grown and blurred
    Rim,                // the body grown by three thicknesses
};

// The thickness t of strokes and shadows, in points, and where the body lies relative to the
// form: framed families (buttons) keep their stroke inside the form (body = -t), glyphs (icons)
// draw their stroke outside it (body = 0).
struct QZMaskStyle {
    double thickness = 1;
    double body = -1;
};

inline QZMaskStyle framed(double thickness) { return {thickness, -thickness}; }
inline QZMaskStyle glyph(double thickness) { return {thickness, 0}; }

// Paints the layer into the context's target (a fresh, transparent ARGB32 surface) at `unit`
// pixels per point.
void QZPaintMaskLayer(cairo_t* cr, const QZMaskForm& form, QZMaskLayer layer, QZMaskStyle style, double unit);

// Shapes for forms, in points.
void QZRoundedRect(cairo_t* cr, double x, double y, double width, double height, double radius);
// Corner radii from the top-left, clockwise as viewed.
void QZRoundedRectCorners(cairo_t* cr, double x, double y, double width, double height, double topLeft, double topRight,
                          double bottomRight, double bottomLeft);
void QZRectHole(cairo_t* cr, double x, double y, double width, double height);
void QZEllipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void QZEllipseHole(cairo_t* cr, double cx, double cy, double rx, double ry);
// A polygon of (x, y) pairs; clockwise as viewed to add, anticlockwise to cut a hole.
void QZPolygon(cairo_t* cr, std::initializer_list<double> coordinates);
// A bar of the given width from (x1, y1) to (x2, y2).
void QZBar(cairo_t* cr, double x1, double y1, double x2, double y2, double width);
void QZStar(cairo_t* cr, double cx, double cy, double outer, double inner, int points);
// A ring of the given radius and width, open from the angle gapStart to gapEnd (radians,
// clockwise as viewed from the right), with an arrow head at gapStart pointing into the gap.
void QZCircularArrow(cairo_t* cr, double cx, double cy, double radius, double width, double gapStart, double gapEnd);

// A box blur (three passes) of every channel of an ARGB32 surface, radius in pixels.
void QZBlurSurface(cairo_surface_t* surface, int radius);

}  // namespace customizer::masks
