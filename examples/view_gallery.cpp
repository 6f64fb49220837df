// view_gallery: draws the editor's base views, heads-up panels and widgets, one PNG per class, each over
// one checkerboard backdrop so transparent views show through.
//
//   view_gallery OUTDIR
//
// Exit status: 0 written; 1 a picture could not be drawn or written; 2 no OUTDIR, or a folder
// that cannot be created.
#include "ViewGallery.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "view_gallery: expected one output folder\nusage: view_gallery OUTDIR\n");
        return 2;
    }
    std::string outdir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(outdir, ec);
    if (ec || !std::filesystem::is_directory(outdir)) {
        std::fprintf(stderr, "view_gallery: cannot create the folder %s%s%s\n", outdir.c_str(), ec ? ": " : "",
                     ec ? ec.message().c_str() : "");
        return 2;
    }
    std::string error;
    if (!view_gallery::writeGallery(outdir, &error)) {
        std::fprintf(stderr, "view_gallery: %s\n", error.c_str());
        return 1;
    }
    for (const auto& entry : view_gallery::entries())
        std::printf("%s/%s.png\n", outdir.c_str(), entry.className.c_str());
    return 0;
}
