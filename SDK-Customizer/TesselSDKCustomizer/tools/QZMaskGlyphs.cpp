#include "QZMaskGlyphs.h"

#include <cmath>
#include <functional>
#include <map>

#include "QZMaskPainter.h"

namespace customizer::masks {
namespace {

void camera(cairo_t* cr, double x, double y, double width, double height, bool oval)
{
    if (oval) QZEllipse(cr, x + width / 2, y + height / 2, width / 2, height / 2);
    else {
        QZRoundedRect(cr, x, y + height * 0.18, width, height * 0.82, 2.5);
        QZRoundedRect(cr, x + width * 0.3, y, width * 0.4, height * 0.3, 1.5);
    }
    double cx = x + width / 2, cy = y + height * (oval ? 0.5 : 0.59), r = std::min(width, height) * 0.26;
    QZEllipseHole(cr, cx, cy, r, r);
    QZEllipse(cr, cx, cy, r * 0.55, r * 0.55);
}

const std::map<std::string, std::function<void(cairo_t*)>>& glyphs()
{
    static const std::map<std::string, std::function<void(cairo_t*)>> table = {
        {"enhance", [](cairo_t* cr) {
             QZBar(cr, 7, 24, 18, 13, 3.5);
             QZStar(cr, 20.5, 9.5, 5.5, 2.3, 4);
         }},
        {"effects", [](cairo_t* cr) {
             QZEllipse(cr, 12, 12, 5.5, 5.5);
             QZEllipse(cr, 18, 12, 5.5, 5.5);
             QZEllipse(cr, 15, 18, 5.5, 5.5);
         }},
        {"frames", [](cairo_t* cr) {
             QZRoundedRect(cr, 6, 6, 18, 18, 1.5);
             QZRectHole(cr, 10, 10, 10, 10);
         }},
        {"stickers", [](cairo_t* cr) { QZStar(cr, 15, 15.5, 10, 4.3, 5); }},
        {"focus", [](cairo_t* cr) {
             QZEllipse(cr, 15, 15, 9.5, 9.5);
             QZEllipseHole(cr, 15, 15, 6.5, 6.5);
             QZEllipse(cr, 15, 15, 3, 3);
         }},
        {"orientation", [](cairo_t* cr) { QZCircularArrow(cr, 15, 15.5, 7.5, 3.2, -M_PI / 2, -M_PI / 6); }},
        {"crop", [](cairo_t* cr) {
             QZPolygon(cr, {9, 5, 12, 5, 12, 18, 25, 18, 25, 21, 9, 21});
             QZPolygon(cr, {5, 9, 21, 9, 21, 25, 18, 25, 18, 12, 5, 12});
         }},
        {"adjustments", [](cairo_t* cr) {
             for (double y : {9.0, 15.0, 21.0}) QZRoundedRect(cr, 6, y - 1.25, 18, 2.5, 1.25);
             QZEllipse(cr, 11, 9, 3, 3);
             QZEllipse(cr, 19, 15, 3, 3);
             QZEllipse(cr, 13, 21, 3, 3);
         }},
        {"sharpness", [](cairo_t* cr) {
             QZPolygon(cr, {15, 5, 25, 24, 5, 24});
             QZPolygon(cr, {15, 12, 10.5, 21, 19.5, 21});
         }},
        {"splash", [](cairo_t* cr) {
             cairo_move_to(cr, 15, 4.5);
             cairo_curve_to(cr, 19, 11, 23, 14, 23, 18.5);
             cairo_curve_to(cr, 23, 23, 19.5, 26, 15, 26);
             cairo_curve_to(cr, 10.5, 26, 7, 23, 7, 18.5);
             cairo_curve_to(cr, 7, 14, 11, 11, 15, 4.5);
             cairo_close_path(cr);
         }},
        {"draw", [](cairo_t* cr) {
             QZBar(cr, 21.5, 6.5, 10, 18, 5);
             QZPolygon(cr, {8.2, 16.2, 11.8, 19.8, 6, 24});
         }},
        {"text", [](cairo_t* cr) {
             QZRoundedRect(cr, 6, 6, 18, 4, 1);
             QZRoundedRect(cr, 13, 6, 4, 18, 1);
         }},
        {"redeye", [](cairo_t* cr) {
             cairo_move_to(cr, 4, 15);
             cairo_curve_to(cr, 9, 7, 21, 7, 26, 15);
             cairo_curve_to(cr, 21, 23, 9, 23, 4, 15);
             cairo_close_path(cr);
             QZEllipseHole(cr, 15, 15, 5, 5);
             QZEllipse(cr, 15, 15, 2.5, 2.5);
         }},
        {"whiten", [](cairo_t* cr) {
             cairo_move_to(cr, 8, 6);
             cairo_curve_to(cr, 11, 5, 13, 7, 15, 7);
             cairo_curve_to(cr, 17, 7, 19, 5, 22, 6);
             cairo_curve_to(cr, 25, 8, 24, 14, 22, 17);
             cairo_line_to(cr, 20, 25);
             cairo_line_to(cr, 17.5, 25);
             cairo_line_to(cr, 15, 18);
             cairo_line_to(cr, 12.5, 25);
             cairo_line_to(cr, 10, 25);
             cairo_line_to(cr, 8, 17);
             cairo_curve_to(cr, 6, 14, 5, 8, 8, 6);
             cairo_close_path(cr);
         }},
        {"blemish", [](cairo_t* cr) {
             QZBar(cr, 8, 22, 22, 8, 7);
             QZEllipseHole(cr, 15, 15, 1.6, 1.6);
         }},
        {"meme", [](cairo_t* cr) {
             QZRoundedRect(cr, 5, 6, 20, 14, 4);
             QZPolygon(cr, {9, 18, 15, 18, 8, 25});
         }},
        {"plus", [](cairo_t* cr) {
             QZRoundedRect(cr, 6, 13, 18, 4, 1);
             QZRoundedRect(cr, 13, 6, 4, 18, 1);
         }},
        {"minus", [](cairo_t* cr) { QZRoundedRect(cr, 6, 13, 18, 4, 1); }},
        {"camera_icon", [](cairo_t* cr) { camera(cr, 5, 7, 20, 16, false); }},
        {"camera_icon_oval", [](cairo_t* cr) { camera(cr, 4, 8, 22, 14, true); }},
    };
    return table;
}

}  // namespace

bool QZTraceGlyph(cairo_t* cr, const std::string& key)
{
    auto found = glyphs().find(key);
    if (found == glyphs().end()) return false;
    found->second(cr);
    return true;
}

}  // namespace customizer::masks
