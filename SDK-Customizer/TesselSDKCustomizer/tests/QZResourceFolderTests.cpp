// The resource-folder image provider behind NSImage::imageNamed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Render/NSImageProvider.h"
#include "Render/NSLog.h"
#include "support/QZProbeMasks.h"
#include "support/QZTestImages.h"

namespace customizer::testing {
namespace {

namespace fs = std::filesystem;

class QZResourceFolder : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() / ("customizer-resources-" + std::to_string(getpid()));
    void SetUp() override
    {
        fs::create_directories(folder);
        ASSERT_TRUE(makeImage(6, 4, [](int, int) { return kRed; })->CGImage()->writePNG((folder / "mask.png").string()));
        ASSERT_TRUE(makeImage(2, 2, [](int, int) { return kBlue; })->CGImage()->writePNG((folder / "plain.jpg").string()));
    }
    void TearDown() override { fs::remove_all(folder); }
};

TEST_F(QZResourceFolder, FindsPngFilesByNameAndKeepsThem)
{
    auto folderProvider = std::make_shared<NSResourceFolderImageProvider>(folder.string());
    auto spy = std::make_shared<QZLoaderSpy>(folderProvider);
    ScopedImageProvider provider(spy);
    NSLogCapture log;
    NSImagePtr mask = NSImage::imageNamed("mask");
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->size(), CGSizeMake(6, 4));
    EXPECT_TRUE(colorNear(pixelAt(mask, 3, 2), kRed));
    EXPECT_EQ(NSImage::imageNamed("mask.png"), mask);
    EXPECT_NE(NSImage::imageNamed("plain.jpg"), nullptr);  // a name with an extension is taken as it is
    EXPECT_EQ(NSImage::imageNamed("absent"), nullptr);
    EXPECT_EQ(spy->requests(), (std::vector<std::string>{"mask.png", "mask.png", "plain.jpg", "absent.png"}));
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(QZResourceFolder, UnreadableFilesAndNamesOutsideTheFolderGiveNilWithALogLine)
{
    std::ofstream(folder / "broken.png") << "not a picture";
    fs::create_directories(folder / "inner");
    makeImage(2, 2, [](int, int) { return kRed; })->CGImage()->writePNG((folder / "inner" / "deep.png").string());
    NSResourceFolderImageProvider provider(folder.string());
    for (const char* name : {"broken.png", "inner/deep.png", "../mask.png"}) {
        NSLogCapture log;
        EXPECT_EQ(provider.imageNamed(name), nullptr) << name;
        EXPECT_EQ(log.lines().size(), 1u) << name;
    }
}

TEST_F(QZResourceFolder, FolderComesFromTheEnvironmentOrSitsBesideTheProgram)
{
    setenv("TESSEL_CUSTOMIZER_RESOURCES", folder.c_str(), 1);
    EXPECT_EQ(NSResourceFolderImageProvider::defaultFolder(), folder.string());
    unsetenv("TESSEL_CUSTOMIZER_RESOURCES");
    EXPECT_EQ(NSResourceFolderImageProvider::defaultFolder(), (fs::read_symlink("/proc/self/exe").parent_path() / "Resources").string());
}

std::string numbered(int i)
{
    char name[16];
    std::snprintf(name, sizeof name, "m%d.png", i);
    return name;
}

TEST_F(QZResourceFolder, ThreadsLoadingTogetherShareOneImagePerName)
{
    for (int i = 0; i < 16; ++i) fs::copy_file(folder / "mask.png", folder / numbered(i));
    NSResourceFolderImageProvider provider(folder.string());
    std::vector<std::vector<NSImagePtr>> seen(8);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 16; ++i) seen[t].push_back(provider.imageNamed(numbered((i + t) % 16)));
        });
    for (std::thread& thread : threads) thread.join();
    for (int i = 0; i < 16; ++i) {
        NSImagePtr first = provider.imageNamed(numbered(i));
        ASSERT_NE(first, nullptr);
        for (int t = 0; t < 8; ++t) EXPECT_EQ(seen[t][(i - t + 16) % 16], first) << t << " " << i;
    }
}

}  // namespace
}  // namespace customizer::testing
