// QZContactSheets RESOURCE_FOLDER ICON_LIST OUTPUT_FOLDER
// Draws every generator's output on a fixed palette, at the scales the exporter writes, onto two
// contact sheets for people to look at (one for bars, buttons, sliders and knobs, one for icons,
// strips, camera and gallery images). Nothing compares them. Exit 0 on success, 1 when the work
// fails, 2 for a malformed command line.

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "QZGeneratorCases.h"
#include "Model/QZPropertyList.h"
#include "Render/NSImageProvider.h"

using namespace customizer;
using namespace customizer::masks;

namespace {

constexpr int kSheetWidth = 1800;
constexpr int kGap = 10;
constexpr int kLabelHeight = 14;

struct Tile {
    std::string label;
    std::vector<NSImagePtr> images;
    int width = 0;
    int height = 0;
};

void checkerboard(cairo_t* cr, double x, double y, double width, double height)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    for (int row = 0; row * 6 < height; ++row)
        for (int column = 0; column * 6 < width; ++column) {
            double level = (row + column) % 2 ? 0.62 : 0.78;
            cairo_set_source_rgb(cr, level, level, level);
            cairo_rectangle(cr, x + column * 6, y + row * 6, 6, 6);
            cairo_fill(cr);
        }
    cairo_restore(cr);
}

bool writeSheet(const std::vector<Tile>& tiles, const std::filesystem::path& path)
{
    // Rows of tiles, left to right.
    int x = kGap, y = kGap, rowHeight = 0;
    std::vector<std::pair<int, int>> places;
    for (const Tile& tile : tiles) {
        if (x + tile.width + kGap > kSheetWidth && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        x += tile.width + kGap;
        rowHeight = std::max(rowHeight, tile.height);
    }
    int height = y + rowHeight + kGap;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSheetWidth, height);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 9);
    for (size_t i = 0; i < tiles.size(); ++i) {
        const Tile& tile = tiles[i];
        auto [tx, ty] = places[i];
        cairo_save(cr);
        cairo_rectangle(cr, tx, ty, tile.width, kLabelHeight);
        cairo_clip(cr);
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        cairo_move_to(cr, tx, ty + 10);
        cairo_show_text(cr, tile.label.c_str());
        cairo_restore(cr);
        int ix = tx;
        for (const NSImagePtr& image : tile.images) {
            int w = int(image->size().width), h = int(image->size().height);
            checkerboard(cr, ix, ty + kLabelHeight, w, h);
            cairo_set_source_surface(cr, image->CGImage()->surface(), ix, ty + kLabelHeight);
            cairo_paint(cr);
            ix += w + 4;
        }
    }
    cairo_destroy(cr);
    std::filesystem::path partial = path.string() + ".partial";
    cairo_status_t status = cairo_surface_write_to_png(sheet, partial.c_str());
    cairo_surface_destroy(sheet);
    std::error_code error;
    if (status == CAIRO_STATUS_SUCCESS) std::filesystem::rename(partial, path, error);
    if (status != CAIRO_STATUS_SUCCESS || error) {
        std::filesystem::remove(partial, error);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RESOURCE_FOLDER ICON_LIST OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    NSImageProvider::setCurrent(std::make_shared<NSResourceFolderImageProvider>(argv[1]));
    std::string error;
    auto iconNames = customizer::QZReadStringList(argv[2], &error);
    if (!iconNames) {
        std::fprintf(stderr, "QZContactSheets: %s\n", error.c_str());
        return 1;
    }
    std::filesystem::path output = argv[3];
    std::error_code folderError;
    std::filesystem::create_directories(output, folderError);
    if (folderError) {
        std::fprintf(stderr, "QZContactSheets: %s: %s\n", output.c_str(), folderError.message().c_str());
        return 1;
    }

    QZPalette palette = QZPalette::standard();
    std::vector<Tile> sheets[2];
    for (const QZGeneratorCase& c : QZGeneratorCases(*iconNames)) {
        Tile tile;
        tile.label = c.generator + " (" + c.variant + ")";
        for (const NSImagePtr& image : c.render(palette)) {
            if (!image || !image->isValid()) continue;
            for (double scale : c.sheetScales) {
                CGSize size = CGSizeMake(std::max(1.0, std::round(image->size().width * scale)),
                                         std::max(1.0, std::round(image->size().height * scale)));
                tile.images.push_back(scale == 1 ? image : image->imageByStretchingToSize(size));
            }
        }
        int imagesWidth = 0;
        for (const NSImagePtr& image : tile.images) {
            imagesWidth += int(image->size().width) + 4;
            tile.height = std::max(tile.height, int(image->size().height) + kLabelHeight);
        }
        tile.width = std::clamp(imagesWidth, 150, kSheetWidth - 2 * kGap);
        sheets[int(c.sheet)].push_back(std::move(tile));
    }
    const char* names[2] = {"bars-buttons-sliders-knobs.png", "icons-strips-camera-gallery.png"};
    for (int i = 0; i < 2; ++i) {
        if (!writeSheet(sheets[i], output / names[i])) {
            std::fprintf(stderr, "QZContactSheets: %s cannot be written\n", (output / names[i]).c_str());
            return 1;
        }
    }
    std::printf("QZContactSheets: %s\n", output.c_str());
    // Cairo and fontconfig keep the labels' fonts for the life of the process; release them, so
    // the sanitizer build's leak check sees a clean exit.
    cairo_debug_reset_static_data();
    FcFini();
    return 0;
}
