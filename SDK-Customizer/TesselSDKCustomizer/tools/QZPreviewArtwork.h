#pragma once
// The fixed pictures of the panels' previews, our own artwork: the editor's status bar, a
// placeholder photo on the canvas, and the shadows the bars cast on the canvas. The mask
// generator draws them into the resource folder beside the masks, the JPEG ones through libjpeg.

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

namespace customizer::masks {

struct QZPreviewArtwork {
    std::string fileName;  // with its extension: ".jpg" pictures are opaque, ".png" ones not
    int width;
    int height;
    std::function<void(cairo_t*)> draw;  // onto a transparent ARGB32 surface of that size
};

// "statusBar.jpg", "placeholder.jpg", "top_nav_shadow.png", "bottom_nav_shadow.png".
const std::vector<QZPreviewArtwork>& QZPreviewArtworks();

}  // namespace customizer::masks
