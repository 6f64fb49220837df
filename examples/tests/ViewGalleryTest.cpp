#include "ViewGallery.h"

#include "Foundation/PlatformSettings.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string output;
};

Outcome run(const std::string& arguments)
{
    std::string command = std::string(VIEW_GALLERY_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(ViewGalleryTest, WritesOnePictureOfEachBaseViewAtTheScreenScale)
{
    fs::path out = fs::temp_directory_path() / "view_gallery_test" / "nested";
    fs::remove_all(out.parent_path());
    Outcome r = run(out.string());
    ASSERT_EQ(r.status, 0) << r.output;
    for (const char* name : {"QZView", "QZOverlayView", "QZContainerView", "QZHUDView", "QZProgressHUDView"}) {
        fs::path file = out / (std::string(name) + ".png");
        ASSERT_TRUE(fs::exists(file)) << file;
        std::ifstream in(file, std::ios::binary);
        char header[24] = {};
        in.read(header, sizeof header);
        EXPECT_EQ(std::string(header + 1, 3), "PNG");
        // 160 points at scale 2.
        unsigned width = (unsigned char)header[16] << 24 | (unsigned char)header[17] << 16 |
                         (unsigned char)header[18] << 8 | (unsigned char)header[19];
        EXPECT_EQ(width, 320u) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 5);
    fs::remove_all(out.parent_path());
}

TEST(ViewGalleryTest, MissingOrUncreatableFolderIsACommandLineError)
{
    Outcome none = run("");
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.output.find("usage: view_gallery OUTDIR"), std::string::npos);

    // Below a plain file no folder can be made, even as root.
    fs::path file = fs::temp_directory_path() / "view_gallery_blocker";
    std::ofstream(file) << "not a folder";
    Outcome blocked = run((file / "out").string());
    EXPECT_EQ(blocked.status, 2);
    EXPECT_NE(blocked.output.find("cannot create the folder"), std::string::npos) << blocked.output;
    fs::remove(file);
}

}  // namespace
