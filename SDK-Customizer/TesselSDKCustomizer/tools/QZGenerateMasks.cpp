// QZGenerateMasks RESOURCE_FOLDER ICON_LIST
// Draws every mask and drawn image of the catalogue into the resource folder as "<name>.png".
// Deterministic: the same build draws the same files. Each file is written beside its final name
// and renamed into place, so a failed run leaves no half-written file. Exit 0 on success, 1 when
// the work fails, 2 for a malformed command line.

#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "Model/QZPropertyList.h"
#include "QZMaskCatalogue.h"

using namespace customizer::masks;

namespace {

bool writeMask(const QZMaskEntry& entry, const std::filesystem::path& folder, std::string* error)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, entry.width, entry.height);
    cairo_t* cr = cairo_create(surface);
    entry.draw(cr);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    std::filesystem::path final = folder / (entry.name + ".png");
    std::filesystem::path partial = folder / (entry.name + ".png.partial");
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_write_to_png(surface, partial.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        *error = final.string() + ": " + cairo_status_to_string(status);
        return false;
    }
    std::error_code renameError;
    std::filesystem::rename(partial, final, renameError);
    if (renameError) {
        *error = final.string() + ": " + renameError.message();
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s RESOURCE_FOLDER ICON_LIST\n", argv[0]);
        return 2;
    }
    std::filesystem::path folder = argv[1];
    std::string error;
    auto iconNames = customizer::QZReadStringList(argv[2], &error);
    if (!iconNames) {
        std::fprintf(stderr, "QZGenerateMasks: %s\n", error.c_str());
        return 1;
    }
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    if (folderError) {
        std::fprintf(stderr, "QZGenerateMasks: %s: %s\n", folder.c_str(), folderError.message().c_str());
        return 1;
    }
    std::vector<QZMaskEntry> entries = QZMaskCatalogue(*iconNames);
    std::set<std::string> names;
    for (const QZMaskEntry& entry : entries) {
        if (!names.insert(entry.name).second) {
            std::fprintf(stderr, "QZGenerateMasks: the catalogue names \"%s\" twice\n", entry.name.c_str());
            return 1;
        }
    }
    for (const QZMaskEntry& entry : entries) {
        if (!writeMask(entry, folder, &error)) {
            std::fprintf(stderr, "QZGenerateMasks: %s\n", error.c_str());
            return 1;
        }
    }
    std::printf("QZGenerateMasks: %zu images in %s\n", entries.size(), folder.c_str());
    return 0;
}
