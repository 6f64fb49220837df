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

TEST(ViewGalleryTest, WritesOnePictureOfEachBaseViewAndWidgetAtTheScreenScale)
{
    fs::path out = fs::temp_directory_path() / "view_gallery_test" / "nested";
    fs::remove_all(out.parent_path());
    Outcome r = run(out.string());
    ASSERT_EQ(r.status, 0) << r.output;
    // Backdrops 160 points high, 160 or (the strips and bars) 320 wide, at scale 2.
    struct Picture {
        const char* name;
        unsigned width;
    };
    const Picture pictures[] = {
        {"QZView", 320}, {"QZOverlayView", 320}, {"QZContainerView", 320}, {"QZHUDView", 320},
        {"QZProgressHUDView", 320}, {"QZHorizontalTableView", 640}, {"QZFeedbackCell", 320}, {"QZSlider", 640},
        {"QZSegmentedControl", 640}, {"QZConveyorView", 640}, {"QZConveyorOverlayView", 640},
        {"QZPageControl", 640}, {"QZPagingView", 640}, {"QZScrollBarView", 640}, {"QZTransformableView", 320},
    };
    for (const Picture& picture : pictures) {
        fs::path file = out / (std::string(picture.name) + ".png");
        ASSERT_TRUE(fs::exists(file)) << file;
        std::ifstream in(file, std::ios::binary);
        char header[24] = {};
        in.read(header, sizeof header);
        EXPECT_EQ(std::string(header + 1, 3), "PNG");
        auto word = [&](int at) {
            return unsigned((unsigned char)header[at]) << 24 | unsigned((unsigned char)header[at + 1]) << 16 |
                   unsigned((unsigned char)header[at + 2]) << 8 | unsigned((unsigned char)header[at + 3]);
        };
        EXPECT_EQ(word(16), picture.width) << picture.name;
        EXPECT_EQ(word(20), 320u) << picture.name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), std::size(pictures));
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
