// The search for the editor's resource folder in a project tree, and where an export goes.

#include <gtest/gtest.h>

#include <filesystem>

#include "App/QZResourceFolderSearch.h"
#include "support/QZTestFolders.h"

namespace fs = std::filesystem;

namespace customizer {
namespace {

using testing::QZTemporaryFolder;

struct SearchCase {
    const char* name;
    std::vector<const char*> folders;  // below the project's folder
    const char* expected;              // relative path found, or null
    int errorCode;
};

class QZResourceFolderSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(QZResourceFolderSearchTest, FindsExactlyOneFolderByPlainSuffix)
{
    const SearchCase& c = GetParam();
    QZTemporaryFolder root;
    fs::create_directories(root.path() / "App.xcodeproj");
    for (const char* folder : c.folders) fs::create_directories(root.path() / folder);

    QZCustomizerError error;
    const std::optional<std::string> found = pathForResourceBundleInXcodeProjectDir(root / "App.xcodeproj", &error);
    if (c.expected) {
        ASSERT_TRUE(found) << error.description;
        EXPECT_EQ(*found, (root.path() / c.expected).string());
        EXPECT_TRUE(isAcceptableExportChoice(root / "App.xcodeproj", nullptr));
    } else {
        EXPECT_FALSE(found);
        EXPECT_EQ(error.domain, "TesselSDKCustomizer");
        EXPECT_EQ(error.code, c.errorCode);
        EXPECT_NE(error.description.find("TesselSDKResources.bundle"), std::string::npos);
        EXPECT_FALSE(isAcceptableExportChoice(root / "App.xcodeproj", nullptr));
    }
}

INSTANTIATE_TEST_SUITE_P(Trees, QZResourceFolderSearchTest,
    ::testing::Values(
        SearchCase{"none", {"Sources", "TesselSDK/ResourcesOld"}, nullptr, 1},
        SearchCase{"flat", {"Vendor/TesselSDK/Resources/TesselSDKResources.bundle"}, "Vendor/TesselSDK/Resources", 0},
        SearchCase{"nested", {"TesselSDK/TesselPhotoEditor/Resources"}, "TesselSDK/TesselPhotoEditor/Resources", 0},
        SearchCase{"suffixOnly", {"MyTesselSDK/Resources"}, "MyTesselSDK/Resources", 0},
        SearchCase{"two", {"A/TesselSDK/Resources", "B/TesselSDK/TesselPhotoEditor/Resources"}, nullptr, 2}),
    [](const ::testing::TestParamInfo<SearchCase>& param) { return std::string(param.param.name); });

TEST(QZResourceFolderSearch, LinksAreNeverFollowed)
{
    QZTemporaryFolder root;
    fs::create_directories(root.path() / "App.xcodeproj");
    fs::create_directories(root.path() / "Vendor/TesselSDK/Resources");
    // A loop back to the project, and a link through which the folder would be found twice.
    fs::create_directory_symlink(root.path(), root.path() / "Vendor/loop");
    fs::create_directories(root.path() / "Links");
    fs::create_directory_symlink(root.path() / "Vendor/TesselSDK", root.path() / "Links/TesselSDK");

    QZCustomizerError error;
    const auto found = pathForResourceBundleInXcodeProjectDir(root / "App.xcodeproj", &error);
    ASSERT_TRUE(found) << error.description;
    EXPECT_EQ(*found, (root.path() / "Vendor/TesselSDK/Resources").string());
}

TEST(QZResourceFolderSearch, ABundleChosenExportsIntoItsParentEvenWithAnotherFolderBelow)
{
    QZTemporaryFolder root;
    const fs::path bundle = root.path() / "TesselSDK/Resources/TesselSDKResources.bundle";
    fs::create_directories(bundle);
    fs::create_directories(root.path() / "TesselSDK/Resources/Deeper/TesselSDK/Resources");

    EXPECT_TRUE(isAcceptableExportChoice(bundle.string() + "/", nullptr));
    EXPECT_EQ(exportFolderForChosenItem(bundle.string() + "/"), (root.path() / "TesselSDK/Resources").string());

    // A project beside one resource folder exports into that folder.
    fs::create_directories(root.path() / "Other/App.xcodeproj");
    fs::create_directories(root.path() / "Other/TesselSDK/Resources");
    EXPECT_EQ(exportFolderForChosenItem(root / "Other/App.xcodeproj"), (root.path() / "Other/TesselSDK/Resources").string());
}

}  // namespace
}  // namespace customizer
