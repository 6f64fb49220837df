// QZGenerateMasks RESOURCE_FOLDER ICON_LIST
// Draws every mask and drawn image of the catalogue into the resource folder as "<name>.png",
// and the panels' preview pictures under their own names (JPEG or PNG).
// Deterministic: the same build draws the same files. Each file is written beside its final name
// and renamed into place, so a failed run leaves no half-written file. Exit 0 on success, 1 when
// the work fails, 2 for a malformed command line.

#include <cairo.h>

#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

// libjpeg needs FILE and size_t declared first.
#include <jpeglib.h>
#include <filesystem>
#include <set>
#include <string>

#include "Model/QZPropertyList.h"
#include "QZMaskCatalogue.h"
#include "QZPreviewArtwork.h"

using namespace customizer::masks;

namespace {

// Straight RGB rows from the opaque ARGB32 surface, through libjpeg. A libjpeg error jumps back
// here instead of ending the program.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

bool writeJpeg(cairo_surface_t* surface, const std::filesystem::path& path, std::string* error)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = std::strerror(errno);
        return false;
    }
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* pixels = cairo_image_surface_get_data(surface);
    std::vector<JSAMPLE> row(size_t(width) * 3);
    jpeg_compress_struct jpeg{};
    JpegError failure{};
    jpeg.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = [](j_common_ptr info) {
        auto* f = reinterpret_cast<JpegError*>(info->err);
        f->manager.format_message(info, f->message);
        std::longjmp(f->jump, 1);
    };
    if (setjmp(failure.jump)) {
        jpeg_destroy_compress(&jpeg);
        std::fclose(file);
        *error = failure.message;
        return false;
    }
    jpeg_create_compress(&jpeg);
    jpeg_stdio_dest(&jpeg, file);
    jpeg.image_width = JDIMENSION(width);
    jpeg.image_height = JDIMENSION(height);
    jpeg.input_components = 3;
    jpeg.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, 92, TRUE);
    jpeg_start_compress(&jpeg, TRUE);
    for (int y = 0; y < height; ++y) {
        const auto* argb = reinterpret_cast<const uint32_t*>(pixels + size_t(y) * size_t(stride));
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3] = JSAMPLE((argb[x] >> 16) & 0xff);
            row[size_t(x) * 3 + 1] = JSAMPLE((argb[x] >> 8) & 0xff);
            row[size_t(x) * 3 + 2] = JSAMPLE(argb[x] & 0xff);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&jpeg, rows, 1);
    }
    jpeg_finish_compress(&jpeg);
    jpeg_destroy_compress(&jpeg);
    if (std::fclose(file) != 0) {
        *error = std::strerror(errno);
        return false;
    }
    return true;
}

// Draws one image and writes it beside its final name, then renames it into place.
bool writeImage(const std::string& fileName, int width, int height, const std::function<void(cairo_t*)>& draw,
                const std::filesystem::path& folder, std::string* error)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    draw(cr);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    std::filesystem::path final = folder / fileName;
    std::filesystem::path partial = folder / (fileName + ".partial");
    bool written = status == CAIRO_STATUS_SUCCESS;
    if (!written) {
        *error = cairo_status_to_string(status);
    } else if (final.extension() == ".jpg") {
        written = writeJpeg(surface, partial, error);
    } else {
        status = cairo_surface_write_to_png(surface, partial.c_str());
        written = status == CAIRO_STATUS_SUCCESS;
        if (!written) *error = cairo_status_to_string(status);
    }
    cairo_surface_destroy(surface);
    if (!written) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        *error = final.string() + ": " + *error;
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
        if (!writeImage(entry.name + ".png", entry.width, entry.height, entry.draw, folder, &error)) {
            std::fprintf(stderr, "QZGenerateMasks: %s\n", error.c_str());
            return 1;
        }
    }
    for (const QZPreviewArtwork& artwork : QZPreviewArtworks()) {
        if (!writeImage(artwork.fileName, artwork.width, artwork.height, artwork.draw, folder, &error)) {
            std::fprintf(stderr, "QZGenerateMasks: %s\n", error.c_str());
            return 1;
        }
    }
    std::printf("QZGenerateMasks: %zu images and %zu preview pictures in %s\n", entries.size(),
                QZPreviewArtworks().size(), folder.c_str());
    return 0;
}
