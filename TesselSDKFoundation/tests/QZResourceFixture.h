#pragma once
// Test support: a main bundle in a fresh temporary directory holding a small
// TesselSDKResources.bundle that each test fills, with the sandbox root beside it. Resources are
// unloaded and the platform settings restored afterwards.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CoreGraphics/CGImage.h"
#include "Foundation/PlatformSettings.h"
#include "Foundation/Value.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIImage.h"

class QZResourceFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = std::filesystem::temp_directory_path() /
                ("QZResourceFixture." + std::to_string(getpid()) + "." +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(bundle());
        std::filesystem::create_directories(sandbox());
        writePlist("Info.plist", Value::dictionary({{"CFBundleIdentifier", "com.tessel.TesselSDKResources"},
                                                    {"CFBundleDevelopmentRegion", "en"}}));
        PlatformSettings::setMainBundlePath(mainBundle().string());
        PlatformSettings::setSandboxRoot(sandbox().string());
    }
    void TearDown() override
    {
        QZSDKResources::unloadResources();
        PlatformSettings::reset();
        std::filesystem::remove_all(root_);
    }

    std::filesystem::path mainBundle() const { return root_ / "Host"; }
    std::filesystem::path bundle() const { return mainBundle() / "TesselSDKResources.bundle"; }
    std::filesystem::path sandbox() const { return root_ / "Sandbox"; }

    // Paths are relative to the resource bundle.
    void write(const std::string& relative, const std::string& contents) const { writeAt(bundle() / relative, contents); }
    void writePlist(const std::string& relative, const Value& plist) const
    {
        std::filesystem::create_directories((bundle() / relative).parent_path());
        ASSERT_TRUE(plist.writePropertyListToFile((bundle() / relative).string(), NSPropertyListFormat::XML));
    }
    static void writeAt(const std::filesystem::path& path, const std::string& contents)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }
    // A PNG of one colour.
    static void writePNG(const std::filesystem::path& path, size_t width, size_t height, uint8_t red = 255)
    {
        std::vector<uint8_t> pixels(width * height * 4);
        for (size_t i = 0; i < pixels.size(); i += 4) pixels[i] = red, pixels[i + 3] = 255;
        CGImageRef image = CGImageCreateWithRGBABytes(width, height, width * 4, pixels.data());
        auto png = UIImagePNGRepresentation(UIImage::imageWithCGImage(image));
        CGImageRelease(image);
        ASSERT_TRUE(png);
        writeAt(path, std::string(png->begin(), png->end()));
    }

    std::filesystem::path root_;
};
