#pragma once
// The catalogue of every mask and drawn image the generators ask for by name: its file name, its
// size in pixels, which writer of the bundle exporter scales the images drawn from it, and how it
// is drawn. The mask generator draws them all; the tests check the generators against it.
//
// Sizes are chosen at 1x, where the editor stretches each image between cap insets, and made at
// the writer's factor: a four-times mask is 8 times its 1x size, a double-resolution one twice, a
// pair's plain mask is its 1x size and its "-retina" twin twice that.

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

namespace customizer::masks {

enum class QZMaskWriter {
    FourTimes,         // written at 1/4 and 1/8 of the mask size
    DoubleResolution,  // written at 1 and 1/2
    Pair,              // plain mask for the 1x file, "-retina" twin for the @2x file
    OneImageEach,      // drawn per scale from plain or "retina_" masks, written as drawn
    NotScaled,         // drawn at its own size in points (the noise texture)
    NotExported,       // camera, quick-launch and gallery images
};

struct QZMaskEntry {
    std::string name;  // the file name without ".png"
    int width;
    int height;
    QZMaskWriter writer;
    std::function<void(cairo_t*)> draw;  // onto a transparent ARGB32 surface of that size
};

const char* QZMaskWriterName(QZMaskWriter writer);

// The icon masks are made for every name of the icon list and for the fixed names below.
std::vector<QZMaskEntry> QZMaskCatalogue(const std::vector<std::string>& iconListNames);

// "plus", "minus", "camera_icon", "camera_icon_oval" and the panel previews' "enhance",
// "effects", "stickers", "frames", "orientation".
const std::vector<std::string>& QZFixedIconNames();
// The pictogram key of an icon name: a tool icon "tool-crop" draws the pictogram "crop".
std::string QZGlyphKeyForIconName(const std::string& iconName);

}  // namespace customizer::masks
