#include "QZMaskCatalogue.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "QZMaskGlyphs.h"
#include "QZMaskPainter.h"

namespace customizer::masks {
namespace {

using L = QZMaskLayer;
using W = QZMaskWriter;

// Pixels per 1x point of the masks of each writer.
constexpr double kFourTimes = 8;
constexpr double kDouble = 2;

using Layers = std::initializer_list<std::pair<const char*, QZMaskLayer>>;
using Draw = std::function<void(cairo_t*)>;

class Catalogue {
public:
    // A mask drawn in points by `draw`.
    void add(const std::string& name, double width, double height, double unit, W writer, Draw draw)
    {
        entries_.push_back({name, int(std::lround(width * unit)), int(std::lround(height * unit)), writer, [=](cairo_t* cr) {
                                cairo_save(cr);
                                cairo_scale(cr, unit, unit);
                                draw(cr);
                                cairo_restore(cr);
                            }});
    }

    // The layers of one form, each named prefix + layer + suffix.
    void family(const std::string& prefix, const std::string& suffix, Layers layers, double width, double height,
                double unit, W writer, const QZMaskForm& form, QZMaskStyle style)
    {
        for (const auto& [layerName, layer] : layers) {
            QZMaskLayer l = layer;
            entries_.push_back({prefix + layerName + suffix, int(std::lround(width * unit)), int(std::lround(height * unit)),
                                writer, [=](cairo_t* cr) { QZPaintMaskLayer(cr, form, l, style, unit); }});
        }
    }

    // The plain masks at 1x and their twins at twice the size.
    void twins(const std::string& prefix, const std::string& retinaPrefix, const std::string& retinaSuffix, Layers layers,
               double width, double height, W writer, const QZMaskForm& form, QZMaskStyle style)
    {
        family(prefix, "", layers, width, height, 1, writer, form, style);
        family(retinaPrefix, retinaSuffix, layers, width, height, 2, writer, form, style);
    }

    std::vector<QZMaskEntry> take() { return std::move(entries_); }

private:
    std::vector<QZMaskEntry> entries_;
};

void fillRect(cairo_t* cr, double x, double y, double width, double height, double alpha = 1)
{
    cairo_rectangle(cr, x, y, width, height);
    cairo_set_source_rgba(cr, 0.5, 0.5, 0.5, alpha);
    cairo_fill(cr);
}

// A band fading from `alpha` at (x0, y0) to nothing at (x1, y1), over the rectangle.
void fade(cairo_t* cr, double x, double y, double width, double height, double x0, double y0, double x1, double y1,
          double alpha)
{
    cairo_pattern_t* pattern = cairo_pattern_create_linear(x0, y0, x1, y1);
    cairo_pattern_add_color_stop_rgba(pattern, 0, 0.5, 0.5, 0.5, alpha);
    cairo_pattern_add_color_stop_rgba(pattern, 1, 0.5, 0.5, 0.5, 0);
    cairo_rectangle(cr, x, y, width, height);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

// An inner shadow along the edges of a w x h rectangle: depth and strength per edge.
void innerShadow(cairo_t* cr, double w, double h, double top, double sides, double bottom)
{
    if (top > 0) fade(cr, 0, 0, w, top, 0, 0, 0, top, 0.8);
    if (bottom > 0) fade(cr, 0, h - bottom, w, bottom, 0, h, 0, h - bottom, 0.5);
    if (sides > 0) {
        fade(cr, 0, 0, sides, h, 0, 0, sides, 0, 0.6);
        fade(cr, w - sides, 0, sides, h, w, 0, w - sides, 0, 0.6);
    }
}

void hexagon(cairo_t* cr, double cx, double cy, double r)
{
    for (int i = 0; i < 6; ++i) {
        double angle = M_PI / 6 + i * M_PI / 3;
        if (i == 0) cairo_move_to(cr, cx + r * std::cos(angle), cy + r * std::sin(angle));
        else cairo_line_to(cr, cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
    cairo_close_path(cr);
}

// The noise texture: opaque grey levels from a fixed-seed generator, so every build draws the
// same texture.
void drawNoise(cairo_t* cr)
{
    cairo_surface_t* target = cairo_get_target(cr);
    cairo_surface_flush(target);
    int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
    int stride = cairo_image_surface_get_stride(target);
    unsigned char* data = cairo_image_surface_get_data(target);
    uint32_t state = 0x7e55e1u;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            state = state * 69069u + 1u;
            uint32_t level = state >> 24;
            row[x] = 0xff000000u | level << 16 | level << 8 | level;
        }
    }
    cairo_surface_mark_dirty(target);
}

const Layers kButtonLayers = {{"core", L::Core}, {"pressed", L::Pressed}, {"shadow", L::Shadow}, {"stroke", L::Stroke}};
const Layers kFramedLayers = {{"core", L::Core}, {"shadow", L::Shadow}, {"stroke", L::Stroke}};

void addBarsButtonsAndSliders(Catalogue& c)
{
    c.family("button_", "", kButtonLayers, 30, 30, kFourTimes, W::FourTimes,
             [](cairo_t* cr) { QZRoundedRect(cr, 1, 1, 28, 27, 5); }, framed(1));
    c.twins("back_", "retina_back_", "", kFramedLayers, 40, 30, W::OneImageEach,
            [](cairo_t* cr) { QZPolygon(cr, {1.5, 15, 13, 2, 38.5, 2, 38.5, 28, 13, 28}); }, framed(1));

    // Slider track pieces: left cap, right cap, stretchable body, centre mark.
    struct Piece {
        const char* suffix;
        double width;
        double left, right;  // x of the band's ends (beyond the image where the band runs on)
        bool roundLeft, roundRight, mark;
    };
    for (Piece p : {Piece{"_l", 16, 2, 26, true, false, false}, Piece{"_r", 16, -10, 14, false, true, false},
                    Piece{"", 8, -10, 18, false, false, false}, Piece{"_c", 16, -10, 26, false, false, true}}) {
        auto band = [p](double inset, double radius) {
            return [=](cairo_t* cr) {
                double rl = p.roundLeft ? radius : 0, rr = p.roundRight ? radius : 0;
                QZRoundedRectCorners(cr, p.left + inset, 7 + inset, p.right - p.left - 2 * inset, 10 - 2 * inset, rl, rr, rr, rl);
                if (p.mark && inset == 0) QZEllipse(cr, p.width / 2, 12, 5.5, 5.5);
            };
        };
        c.family("outer_", p.suffix, {{"core", L::Core}, {"shadow", L::Shadow}, {"stroke", L::Stroke}}, p.width, 24,
                 kFourTimes, W::FourTimes, band(0, 5), framed(1));
        c.family("inner_", p.suffix, {{"core", L::Core}, {"shadow", L::Shadow}, {"stroke", L::Stroke}}, p.width, 24,
                 kFourTimes, W::FourTimes, band(2.25, 2.75), framed(0.75));
    }

    // Slider fills, rounded at the end away from the centre.
    c.family("goo_", "_l", {{"core", L::Core}, {"stroke", L::Stroke}, {"shadow", L::Shadow}, {"glow", L::Glow}}, 60, 24,
             kFourTimes, W::FourTimes, [](cairo_t* cr) { QZRoundedRectCorners(cr, 3, 7, 67, 10, 5, 0, 0, 5); }, framed(1));
    c.family("goo_", "_r", {{"core", L::Core}, {"stroke", L::Stroke}, {"shadow", L::Shadow}, {"glow", L::Glow}}, 60, 24,
             kFourTimes, W::FourTimes, [](cairo_t* cr) { QZRoundedRectCorners(cr, -10, 7, 67, 10, 0, 5, 5, 0); }, framed(1));

    // Segmented buttons: right, centre, left, single.
    const Layers radioLayers = {{"core", L::Core},
                                {"shadow", L::Shadow},
                                {"stroke", L::Stroke},
                                {"drop_shadow", L::DropShadow},
                                {"pressed", L::Pressed},
                                {"pressed_glow", L::PressedGlow},
                                {"drop_shadow_pressed", L::DropShadowPressed}};
    c.family("radio_", "_r", radioLayers, 40, 30, kFourTimes, W::FourTimes,
             [](cairo_t* cr) { QZRoundedRectCorners(cr, -10, 2, 49, 24, 0, 5, 5, 0); }, framed(1));
    c.family("radio_", "", radioLayers, 20, 30, kFourTimes, W::FourTimes,
             [](cairo_t* cr) { QZRoundedRect(cr, -10, 2, 40, 24, 0); }, framed(1));
    c.family("radio_", "_l", radioLayers, 40, 30, kFourTimes, W::FourTimes,
             [](cairo_t* cr) { QZRoundedRectCorners(cr, 1, 2, 49, 24, 5, 0, 0, 5); }, framed(1));
    c.family("radio_", "_s", radioLayers, 50, 30, kFourTimes, W::FourTimes,
             [](cairo_t* cr) { QZRoundedRect(cr, 1, 2, 48, 24, 5); }, framed(1));

    // Knobs: a bezel ring around the handle, a stroke around the bezel.
    struct Knob {
        const char* prefix;
        double side, cy, stroke, bezel, core;
    };
    for (Knob k : {Knob{"knob_", 30, 14, 13, 12, 8}, Knob{"knob_small_", 28, 13, 12, 11, 7.5}}) {
        double cx = k.side / 2;
        auto disc = [=](double r) { return [=](cairo_t* cr) { QZEllipse(cr, cx, k.cy, r, r); }; };
        std::string prefix = k.prefix;
        c.family(prefix, "", {{"stroke", L::Stroke}, {"drop_shadow", L::DropShadow}}, k.side, k.side, kFourTimes,
                 W::FourTimes, disc(k.stroke), framed(1));
        c.family(prefix, "", {{"bezel", L::Whole}}, k.side, k.side, kFourTimes, W::FourTimes, disc(k.bezel), framed(1));
        c.family(prefix, "", {{"core", L::Whole}}, k.side, k.side, kFourTimes, W::FourTimes, disc(k.core), framed(1));
    }
    const Layers arrowLayers = {{"_arrow_core", L::Whole}, {"_arrow_drop_shadow", L::DropShadow}, {"_arrow_shadow", L::Shadow}};
    c.family("orientation", "", arrowLayers, 28, 28, kFourTimes, W::FourTimes,
             [](cairo_t* cr) { QZCircularArrow(cr, 14, 13, 4, 1.8, -M_PI / 2, -M_PI / 6); }, glyph(0.6));
    c.family("size", "", arrowLayers, 28, 28, kFourTimes, W::FourTimes,
             [](cairo_t* cr) {
                 QZBar(cr, 11.5, 15.5, 16.5, 10.5, 1.6);
                 QZPolygon(cr, {8.5, 18.5, 9, 13, 14, 18});
                 QZPolygon(cr, {19.5, 7.5, 19, 13, 14, 8});
             },
             glyph(0.6));
}

void addIcons(Catalogue& c, const std::vector<std::string>& iconListNames)
{
    std::vector<std::string> names = iconListNames;
    names.insert(names.end(), QZFixedIconNames().begin(), QZFixedIconNames().end());
    for (const std::string& name : names) {
        std::string key = QZGlyphKeyForIconName(name);
        QZMaskForm form = [key](cairo_t* cr) {
            // A name without a pictogram of its own still gets masks, a plain disc.
            if (!QZTraceGlyph(cr, key)) QZEllipse(cr, 15, 15, 9, 9);
        };
        c.family(name, "",
                 {{"_core", L::Core}, {"_shadow", L::Shadow}, {"_stroke", L::Stroke}, {"_glow", L::Glow},
                  {"_drop_shadow", L::DropShadow}},
                 30, 30, kFourTimes, W::FourTimes, form, glyph(1));
    }
}

void addConveyor(Catalogue& c)
{
    for (auto [prefix, height] : {std::pair{"conveyor_", 48.0}, std::pair{"conveyor_half_", 24.0}}) {
        double w = 54, h = height;
        std::string p = prefix;
        c.add(p + "core", w, h, kDouble, W::DoubleResolution, [=](cairo_t* cr) { fillRect(cr, 0, 0, w, h); });
        c.add(p + "inset_shadow", w, h, kDouble, W::DoubleResolution, [=](cairo_t* cr) { innerShadow(cr, w, h, 4, 0, 0); });
        c.add(p + "shadow", w, h, kDouble, W::DoubleResolution, [=](cairo_t* cr) { fillRect(cr, w - 1, 0, 1, h); });
        c.add(p + "pressed_shadow", w, h, kDouble, W::DoubleResolution, [=](cairo_t* cr) { innerShadow(cr, w, h, 6, 6, 4); });
    }
    // The overlays mark the selected cell: a band along the strip's edge (both edges when split)
    // with a notch pointing at the cell in the centre pieces.
    struct Overlay {
        const char* style;
        double width;
        bool split, notch;
    };
    for (Overlay o : {Overlay{"single_center", 24, false, true}, Overlay{"single_stretch", 4, false, false},
                      Overlay{"split_center", 24, true, true}, Overlay{"split_stretch", 4, true, false}}) {
        double w = o.width, h = 48;
        QZMaskForm form = [=](cairo_t* cr) {
            QZRoundedRect(cr, -10, 0, w + 20, 5, 0);
            if (o.notch) QZPolygon(cr, {w / 2 - 6, 4.5, w / 2 + 6, 4.5, w / 2, 11});
            if (!o.split) return;
            QZRoundedRect(cr, -10, h - 5, w + 20, 5, 0);
            if (o.notch) QZPolygon(cr, {w / 2 + 6, h - 4.5, w / 2 - 6, h - 4.5, w / 2, h - 11});
        };
        std::string prefix = std::string(o.style) + "_";
        c.family(prefix, "", {{"core", L::Core}, {"drop_shadow", L::DropShadow}, {"stroke", L::Stroke}, {"shadow", L::Shadow}},
                 w, h, kFourTimes, W::FourTimes, form, framed(1));
        c.add(prefix + "darken", w, h, kFourTimes, W::FourTimes, [=](cairo_t* cr) { fillRect(cr, 0, 0, w, h); });
    }
}

void addSelectionStrip(Catalogue& c)
{
    c.family("color_chip_", "", kFramedLayers, 30, 30, kFourTimes, W::FourTimes,
             [](cairo_t* cr) { QZEllipse(cr, 15, 14.5, 12, 12); }, framed(1));
    // Drawn as an image behind the chip: its colours show.
    c.add("color_chip_gradient", 30, 30, kFourTimes, W::FourTimes, [](cairo_t* cr) {
        cairo_pattern_t* pattern = cairo_pattern_create_linear(0, 2.5, 0, 26.5);
        cairo_pattern_add_color_stop_rgb(pattern, 0, 1, 1, 1);
        cairo_pattern_add_color_stop_rgb(pattern, 1, 0.35, 0.35, 0.35);
        QZEllipse(cr, 15, 14.5, 12, 12);
        cairo_set_source(cr, pattern);
        cairo_fill(cr);
        cairo_pattern_destroy(pattern);
    });
    c.family("selected_", "", kFramedLayers, 40, 30, kFourTimes, W::FourTimes,
             [](cairo_t* cr) { QZRoundedRect(cr, 2, 4, 36, 21, 10.5); }, framed(1));
    for (const char* prefix : {"main_", "shelf_"}) {
        std::string p = prefix;
        c.add(p + "core", 20, 50, kFourTimes, W::FourTimes, [](cairo_t* cr) { fillRect(cr, 0, 0, 20, 50); });
        c.add(p + "stroke", 20, 50, kFourTimes, W::FourTimes, [](cairo_t* cr) {
            fillRect(cr, 0, 0, 20, 1);
            fillRect(cr, 0, 49, 20, 1);
        });
        c.add(p + "shadow", 20, 50, kFourTimes, W::FourTimes, [](cairo_t* cr) { fillRect(cr, 0, 1, 20, 1, 0.8); });
    }
    // Drawn as an image over the shelf: a shade deepening towards the bottom.
    c.add("shelf_gradient", 20, 50, kFourTimes, W::FourTimes, [](cairo_t* cr) {
        cairo_pattern_t* pattern = cairo_pattern_create_linear(0, 0, 0, 50);
        cairo_pattern_add_color_stop_rgba(pattern, 0, 0, 0, 0, 0);
        cairo_pattern_add_color_stop_rgba(pattern, 1, 0, 0, 0, 0.35);
        cairo_rectangle(cr, 0, 0, 20, 50);
        cairo_set_source(cr, pattern);
        cairo_fill(cr);
        cairo_pattern_destroy(pattern);
    });
    c.family("meme_field_", "",
             {{"core", L::Core}, {"stroke", L::Stroke}, {"drop_shadow", L::DropShadowPressed}, {"inset_shadow", L::Pressed}},
             60, 36, kFourTimes, W::FourTimes, [](cairo_t* cr) { QZRoundedRect(cr, 2, 2, 56, 31, 8); }, framed(1));
}

void addToolSelectionCells(Catalogue& c)
{
    const double w = 54, h = 54;
    auto cell = [&](const char* name, Draw draw) { c.add(name, w, h, kFourTimes, W::FourTimes, std::move(draw)); };
    cell("normal_black", [=](cairo_t* cr) { fillRect(cr, w - 1, 0, 1, h); });
    cell("normal_white", [=](cairo_t* cr) { fillRect(cr, 0, 0, 1, h); });
    cell("adjacent_black", [=](cairo_t* cr) { fillRect(cr, w - 2, 0, 2, h); });
    cell("adjacent_white", [=](cairo_t* cr) { fillRect(cr, 0, 0, 1, h, 0.5); });
    cell("pressed_black", [=](cairo_t* cr) {
        fillRect(cr, 0, 0, 1, h);
        fillRect(cr, w - 1, 0, 1, h);
    });
    cell("pressed_white", [=](cairo_t* cr) { fillRect(cr, 1, h - 1, w - 2, 1); });
    cell("inset", [=](cairo_t* cr) { innerShadow(cr, w, h, 6, 4, 0); });

    c.family("title_", "", {{"core", L::Core}, {"drop_shadow", L::DropShadow}, {"shadow", L::Shadow}, {"stroke", L::Stroke}},
             24, 54, kFourTimes, W::FourTimes, [](cairo_t* cr) { QZPolygon(cr, {2, 2, 15, 2, 22, 26.5, 15, 51, 2, 51}); },
             framed(1));
    c.add("feedback_divider_core", 2, 40, kDouble, W::DoubleResolution, [](cairo_t* cr) { fillRect(cr, 0, 0, 1, 40); });
    c.add("feedback_divider_shadow", 2, 40, kDouble, W::DoubleResolution, [](cairo_t* cr) { fillRect(cr, 1, 0, 1, 40); });

    const double mw = 64, mh = 44;
    auto merged = [&](const char* name, Draw draw) { c.add(name, mw, mh, kFourTimes, W::FourTimes, std::move(draw)); };
    merged("adj_stroke", [=](cairo_t* cr) {
        fillRect(cr, 0, 0, mw, 1);
        fillRect(cr, 0, mh - 1, mw, 1);
    });
    merged("adj_shadow", [=](cairo_t* cr) { fillRect(cr, 0, 1, mw, 1, 0.9); });
    merged("adj_shadow_left", [=](cairo_t* cr) { fillRect(cr, 0, 1, 1, mh - 2); });
    merged("adj_stroke_right", [=](cairo_t* cr) { fillRect(cr, mw - 1, 0, 1, mh); });
    merged("adj_selected_stroke", [=](cairo_t* cr) {
        fillRect(cr, 0, 0, mw, 1);
        fillRect(cr, 0, mh - 1, mw, 1);
    });
    merged("adj_selected_inner", [=](cairo_t* cr) { innerShadow(cr, mw, mh, 8, 4, 0); });
}

void addRestoreCallout(Catalogue& c)
{
    struct Piece {
        const char* type;
        double width;
        Draw form;
    };
    const Piece pieces[] = {
        {"l", 50, [](cairo_t* cr) {
             QZRoundedRect(cr, 10, 2, 38, 38, 6);
             QZPolygon(cr, {2, 21, 10.5, 13, 10.5, 29});
         }},
        {"r", 50, [](cairo_t* cr) {
             QZRoundedRect(cr, 2, 2, 38, 38, 6);
             QZPolygon(cr, {39.5, 13, 48, 21, 39.5, 29});
         }},
        {"b-l", 24, [](cairo_t* cr) { QZRoundedRectCorners(cr, 2, 2, 32, 32, 6, 0, 0, 6); }},
        {"b-r", 24, [](cairo_t* cr) { QZRoundedRectCorners(cr, -10, 2, 32, 32, 0, 6, 6, 0); }},
        {"b-c", 30, [](cairo_t* cr) {
             QZRoundedRect(cr, -10, 2, 50, 32, 0);
             QZPolygon(cr, {9, 33, 21, 33, 15, 41});
         }},
        {"t-c", 30, [](cairo_t* cr) {
             QZRoundedRect(cr, -10, 10, 50, 32, 0);
             QZPolygon(cr, {15, 3, 21, 11, 9, 11});
         }},
    };
    for (const Piece& piece : pieces) {
        std::string prefix = std::string("restore-") + piece.type + "-";
        c.twins(prefix, prefix, "-retina",
                {{"core", L::Core}, {"drop-shadow", L::DropShadow}, {"shadow", L::Shadow}, {"stroke", L::Stroke}},
                piece.width, 44, W::Pair, piece.form, framed(1));
    }
}

void addCameraAndGallery(Catalogue& c)
{
    const Layers cameraLayers = {{"_core", L::Core}, {"_shadow", L::Shadow}, {"_stroke", L::Stroke},
                                 {"_drop_shadow", L::DropShadow}, {"_rim", L::Rim}, {"_pressed", L::Pressed}};
    c.family("camera", "", cameraLayers, 80, 80, 4, W::NotExported, [](cairo_t* cr) { QZEllipse(cr, 40, 39, 30, 30); },
             framed(1.5));
    c.family("camera_oval", "", cameraLayers, 96, 64, 4, W::NotExported,
             [](cairo_t* cr) { QZEllipse(cr, 48, 31.5, 40, 24); }, framed(1.5));
    // The rim of the camera's cancel button: its width over the button core's sets the button's
    // size inside it (40 / 30 here).
    c.add("cancel_rim", 40, 40, kFourTimes, W::NotExported, [](cairo_t* cr) {
        QZRoundedRect(cr, 1, 1, 38, 38, 8);
        cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
        cairo_fill(cr);
    });
    for (auto [name, side] : {std::pair{"5", 60.0}, std::pair{"4", 50.0}}) {
        std::string n = name;
        double s = side;
        c.twins("thumb-rim-" + n, "thumb-rim-" + n, "-retina", {{"", L::Stroke}}, s, s, W::NotExported,
                [s](cairo_t* cr) { QZRoundedRect(cr, 1, 1, s - 2, s - 2, 6); }, framed(4));
        QZMaskForm photo = [s](cairo_t* cr) { QZRoundedRect(cr, 5, 5, s - 10, s - 10, 4); };
        c.twins("swap-stroke-" + n, "swap-stroke-" + n, "-retina", {{"", L::Stroke}}, s, s, W::NotExported, photo, framed(1));
        c.twins("swap-inset-" + n, "swap-inset-" + n, "-retina", {{"", L::Pressed}}, s, s, W::NotExported, photo, framed(1));
    }
    c.family("check", "", {{"_core", L::Whole}, {"_drop_shadow", L::DropShadow}}, 30, 30, kFourTimes, W::NotExported,
             [](cairo_t* cr) { QZPolygon(cr, {6, 15, 10, 11, 13, 14.5, 21, 6, 25, 10, 13, 23}); }, glyph(1));
    c.family("logo", "", {{"_core", L::Whole}, {"_drop_shadow", L::DropShadow}}, 80, 30, kFourTimes, W::NotExported,
             [](cairo_t* cr) {
                 for (double cx : {22.0, 40.0, 58.0}) hexagon(cr, cx, 14, 8.5);
             },
             glyph(1));

    struct Cell {
        const char* type;
        Draw form;
    };
    const Cell cells[] = {
        {"top", [](cairo_t* cr) { QZRoundedRectCorners(cr, 1, 1, 58, 52, 6, 6, 0, 0); }},
        {"middle", [](cairo_t* cr) { QZRoundedRect(cr, 1, -10, 58, 64, 0); }},
        {"bottom", [](cairo_t* cr) { QZRoundedRectCorners(cr, 1, -10, 58, 52, 0, 0, 6, 6); }},
        {"both", [](cairo_t* cr) { QZRoundedRect(cr, 1, 1, 58, 41, 6); }},
    };
    for (const Cell& cell : cells) {
        std::string prefix = std::string("gallery-") + cell.type + "-";
        c.twins(prefix, prefix, "-retina",
                {{"core", L::Core}, {"pressed", L::Pressed}, {"shadow", L::Shadow}, {"stroke", L::Stroke},
                 {"drop-shadow", L::DropShadow}},
                60, 44, W::NotExported, cell.form, framed(1));
    }
    const Layers markLayers = {{"_core", L::Whole}, {"_drop_shadow", L::DropShadow}, {"_shadow", L::Shadow}};
    c.family("gallery_arrow", "", markLayers, 12, 18, kFourTimes, W::NotExported,
             [](cairo_t* cr) { QZPolygon(cr, {3, 3, 6, 3, 10, 9, 6, 15, 3, 15, 7, 9}); }, glyph(0.75));
    c.family("gallery_camera_icon", "", markLayers, 30, 24, kFourTimes, W::NotExported,
             [](cairo_t* cr) {
                 cairo_save(cr);
                 cairo_translate(cr, 0, -3);
                 QZTraceGlyph(cr, "camera_icon");
                 cairo_restore(cr);
             },
             glyph(1));
    c.family("sort_l_", "", kButtonLayers, 40, 30, kFourTimes, W::NotExported,
             [](cairo_t* cr) { QZRoundedRectCorners(cr, 1, 2, 49, 25, 5, 0, 0, 5); }, framed(1));
    c.family("sort_r_", "", kButtonLayers, 40, 30, kFourTimes, W::NotExported,
             [](cairo_t* cr) { QZRoundedRectCorners(cr, -10, 2, 49, 25, 0, 5, 5, 0); }, framed(1));
    c.family("grid", "", {{"_core", L::Whole}, {"_shadow", L::DropShadow}}, 20, 20, kFourTimes, W::NotExported,
             [](cairo_t* cr) {
                 for (double y : {4.0, 11.0})
                     for (double x : {4.0, 11.0}) QZRoundedRect(cr, x, y, 5, 5, 1);
             },
             glyph(0.75));
    c.family("list", "", {{"_core", L::Whole}, {"_shadow", L::DropShadow}}, 20, 20, kFourTimes, W::NotExported,
             [](cairo_t* cr) {
                 for (double y : {4.5, 9.0, 13.5}) {
                     QZRoundedRect(cr, 4, y, 2.5, 2.5, 0.5);
                     QZRoundedRect(cr, 8, y, 8, 2.5, 0.5);
                 }
             },
             glyph(0.75));
}

// The powered-by logo of the tool strip (100 x 20 points): the mark, three hexagons, and a word
// bar, black or white; the pressed ("active") image is fully opaque, the normal one less so.
void addLogos(Catalogue& c)
{
    for (bool black : {true, false}) {
        for (bool active : {false, true}) {
            double level = black ? 0 : 1, alpha = active ? 1 : 0.75;
            std::string name = std::string("logo_") + (black ? "black" : "white") + (active ? "_active" : "");
            c.add(name, 100, 20, kDouble, W::DoubleResolution, [=](cairo_t* cr) {
                for (double cx : {9.0, 19.0, 29.0}) hexagon(cr, cx, 10, 5);
                QZRoundedRect(cr, 38, 5, 58, 4, 2);
                QZRoundedRect(cr, 38, 12, 40, 3, 1.5);
                cairo_set_source_rgba(cr, level, level, level, alpha);
                cairo_fill(cr);
            });
        }
    }
}

}  // namespace

const char* QZMaskWriterName(QZMaskWriter writer)
{
    switch (writer) {
    case W::FourTimes: return "four-times";
    case W::DoubleResolution: return "double-resolution";
    case W::Pair: return "pair";
    case W::OneImageEach: return "one image each";
    case W::NotScaled: return "not scaled";
    case W::NotExported: return "not exported";
    }
    return "?";
}

const std::vector<std::string>& QZFixedIconNames()
{
    static const std::vector<std::string> names = {"plus",     "minus",   "camera_icon", "camera_icon_oval", "enhance",
                                                   "effects",  "stickers", "frames",     "orientation"};
    return names;
}

std::string QZGlyphKeyForIconName(const std::string& iconName)
{
    const std::string toolPrefix = "tool-";
    return iconName.compare(0, toolPrefix.size(), toolPrefix) == 0 ? iconName.substr(toolPrefix.size()) : iconName;
}

std::vector<QZMaskEntry> QZMaskCatalogue(const std::vector<std::string>& iconListNames)
{
    Catalogue c;
    addBarsButtonsAndSliders(c);
    addIcons(c, iconListNames);
    addConveyor(c);
    addSelectionStrip(c);
    addToolSelectionCells(c);
    addRestoreCallout(c);
    addCameraAndGallery(c);
    addLogos(c);
    c.add("uniform_noise_strong250x250", 250, 250, 1, W::NotScaled, drawNoise);
    return c.take();
}

}  // namespace customizer::masks
