// tessel-customizer-export, run as built, and its bundle read with the editor's own readers.
// This suite links the editor's library only, none of the customizer's: what it checks is the
// contract between the two.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <set>

#include "Foundation/NSError.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/PlatformSettings.h"
#include "Foundation/Value.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "support/QZExpectedBundleFiles.h"
#include "support/QZTestFolders.h"

extern char** environ;

namespace customizer::testing {
namespace {

namespace fs = std::filesystem;

const char* const kColourAttributes[] = {
    "accentGradientTopColor",
    "accentGradientBottomColor",
    "canvasColor",
    "bottomBarColor",
    "bottomBarInnerStrokeColor",
    "bottomBarOuterStrokeColor",
    "navBarColor",
    "navBarInnerStrokeColor",
    "navBarOuterStrokeColor",
    "applyButtonGradientTopColor",
    "applyButtonGradientBottomColor",
    "applyButtonStrokeColor",
    "applyButtonInnerShadowColor",
    "cancelButtonColor",
    "cancelButtonStrokeColor",
    "cancelButtonInnerShadowColor",
    "defaultIconStrokeColor",
    "defaultIconInnerShadowColor",
    "defaultIconDropShadowColor",
    "defaultIconGradientTopColor",
    "defaultIconGradientBottomColor",
    "highlightedIconStrokeColor",
    "highlightedIconInnerShadowColor",
    "highlightedIconGlowColor",
    "highlightedIconGradientTopColor",
    "highlightedIconGradientBottomColor",
    "handleColor",
    "handleBezelGradientTopColor",
    "handleBezelGradientBottomColor",
    "handleStrokeColor",
    "handleShadowColor",
    "textColor",
    "highlightedTextColor",
    "navigationBarTextColor",
    "cancelButtonDefaultTextColor",
    "cancelButtonHighlightedTextColor",
    "applyButtonDefaultTextColor",
    "applyButtonHighlightedTextColor",
    "textShadowColor",
    "navigationBarTextShadowColor",
    "cancelButtonDefaultTextShadowColor",
    "applyButtonDefaultTextShadowColor",
    "galleryListCore",
    "galleryListInnerStroke",
    "galleryListOuterStroke",
    "galleryListArrowCore",
    "galleryListArrowInnerStroke",
    "galleryListArrowOuterStroke",
    "cameraIconGradientTopColor",
    "cameraIconGradientBottomColor",
    "cameraIconInnerStrokeColor",
    "cameraIconOuterStrokeColor",
    "galleryAlbumNameTextColor",
    "galleryAlbumNameTextShadowColor",
};

struct CommandRun {
    int status = -1;  // exit status; -1 when it did not exit
    std::string out, err;
};

// Runs the exporter with the arguments, its output in files of the folder.
CommandRun exportCommand(const std::vector<std::string>& arguments, const QZTemporaryFolder& scratch)
{
    std::vector<std::string> words = {TESSEL_CUSTOMIZER_EXPORT};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::string out = scratch / "stdout", err = scratch / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child;
    int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    CommandRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return run;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.out = readFile(out).value_or("");
    run.err = readFile(err).value_or("");
    return run;
}

std::vector<std::string> shippedList(const char* name)
{
    std::vector<std::string> strings;
    Value list = Value::fromPropertyListFile(std::string(TESSEL_CUSTOMIZER_SOURCE_DIR "/Resources/") + name);
    EXPECT_TRUE(list.isArray()) << name;
    if (const Value::Array* array = list.asArray())
        for (const Value& item : *array) strings.push_back(item.stringValue());
    return strings;
}

class QZExportCommandTest : public ::testing::Test {
protected:
    // The editor reads the bundle in DIR, as a host application carrying it would.
    void readAsTheEditor(const std::string& folder, float scale = 2)
    {
        PlatformSettings::setMainBundlePath(folder);
        PlatformSettings::setScreenScale(scale);
        QZSDKResources::unloadResources();
        ASSERT_TRUE(QZSDKResources::resourceBundle()) << folder;
    }
    void TearDown() override
    {
        QZSDKResources::unloadResources();
        PlatformSettings::reset();
    }

    QZTemporaryFolder scratch_;
    QZScopedEnvironment compressor_{"TESSEL_CUSTOMIZER_COMPRESSOR", std::nullopt};
};

TEST_F(QZExportCommandTest, TheDefaultBundleSatisfiesTheEditor)
{
    std::string out = scratch_ / "out";
    CommandRun run = exportCommand({"--out", out}, scratch_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Completed\n");
    EXPECT_NE(run.err.find("26 / 26 Image Groups Saved\nSaving Completed.\n"), std::string::npos);
    EXPECT_NE(run.err.find("Compression Completed."), std::string::npos);

    fs::path bundle = fs::path(out) / "TesselSDKResources.bundle";
    std::vector<std::string> icons = shippedList("CustomizationIconList.plist");
    std::vector<std::string> chips = shippedList("CustomizationColors.plist");
    std::set<std::string> expected = expectedBundleFiles(icons, chips);
    EXPECT_EQ(expected.size(), 216u);
    EXPECT_EQ(entriesOf(bundle), expected);
    EXPECT_EQ(entriesOf(out), std::set<std::string>{"TesselSDKResources.bundle"});
    for (const std::string& base : expectedImageBases(icons, chips)) {
        auto normal = pngSize(bundle / (base + ".png")), retina = pngSize(bundle / (base + "@2x.png"));
        ASSERT_TRUE(normal && retina) << base;
        EXPECT_EQ(*retina, std::pair(2 * normal->first, 2 * normal->second)) << base;
    }

    readAsTheEditor(out);
    NSLogCapture log;
    for (const char* attribute : kColourAttributes)
        EXPECT_TRUE(QZPhotoEditorCustomization::colorOptionValueForKey(std::string("editor.") + attribute))
            << attribute;
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
    auto error = NSError::errorWithDescription("stale", 1, "stale");
    QZPhotoEditorCustomization::checkForResourceBundleError(&error);
    EXPECT_FALSE(error) << error->localizedDescription();
    for (const char* image : {"apply.png", "tool-crop.png", "smallKnob.png", "poweredByTessel.png", "0xffe5261f.png"}) {
        auto loaded = QZSDKResources::imageNamed(image);
        ASSERT_TRUE(loaded) << image;
        EXPECT_EQ(loaded->scale(), 2) << image;
        EXPECT_EQ(CGImageGetWidth(loaded->CGImage()), size_t(2 * loaded->size().width)) << image;
    }
}

TEST_F(QZExportCommandTest, WithoutWorkingCompressionTheBundleSaysUncompressed)
{
    std::string plain = scratch_ / "plain";
    CommandRun run = exportCommand({"--no-compress", "--out", plain}, scratch_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Uncompressed\n");
    EXPECT_EQ(run.err.find("Images Compressed"), std::string::npos);

    QZScopedEnvironment missing("TESSEL_CUSTOMIZER_COMPRESSOR", scratch_ / "no-such-compressor");
    std::string broken = scratch_ / "broken";
    run = exportCommand({"--out", broken}, scratch_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Uncompressed\n");
    EXPECT_NE(run.err.find(scratch_ / "no-such-compressor"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("cannot be started"), std::string::npos) << run.err;

    readAsTheEditor(broken);
    std::shared_ptr<NSError> error;
    QZPhotoEditorCustomization::checkForResourceBundleError(&error);
    ASSERT_TRUE(error);
    EXPECT_EQ(
        error->localizedDescription(),
        "Your resource bundle contains uncompressed PNGS. Please be sure to export from the TesselSDKCustomizer again "
        "with the \"Compress PNGs\" option checked before production.");
}

// A theme file is our SQLite schema, written here without the customizer's code.
TEST_F(QZExportCommandTest, AThemeFilesColourReachesColorsPlist)
{
    std::string theme = scratch_ / "orange.tslcst";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(theme.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db,
                     "PRAGMA application_id = 1414745155; PRAGMA user_version = 1;"
                     "CREATE TABLE attribute (name TEXT PRIMARY KEY NOT NULL, red REAL, green REAL, blue REAL, "
                     "alpha REAL, flag INTEGER);"
                     "INSERT INTO attribute (name, red, green, blue, alpha) VALUES ('textColor', 1, 0.5, 0, 0.75);"
                     "INSERT INTO attribute (name, flag) VALUES ('useNoise', 1);",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);

    std::string out = scratch_ / "out";
    CommandRun run = exportCommand({"--theme", theme, "--no-compress", "--out", out}, scratch_);
    ASSERT_EQ(run.status, 0) << run.err;
    Value colors = Value::fromPropertyListFile(out + "/TesselSDKResources.bundle/Colors.plist");
    EXPECT_EQ(colors["textColor"]["hex"], Value("#ff8000"));
    EXPECT_EQ(colors["textColor"]["alpha"], Value(0.75));
    EXPECT_EQ(colors["navigationBarTextColor"]["hex"], Value("#ff8000"));  // through its fallback
    EXPECT_EQ(colors["useNoise"], Value(true));
    EXPECT_EQ(colors["bottomBarColor"], Value(false));  // unset in the file

    readAsTheEditor(out);
    CGFloat r, g, b, a;
    ASSERT_TRUE(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor")->getRed(&r, &g, &b, &a));
    EXPECT_NEAR(r, 1, 1e-6);
    EXPECT_NEAR(g, 128 / 255.0, 1e-6);
    EXPECT_NEAR(b, 0, 1e-6);
    EXPECT_NEAR(a, 0.75, 1e-6);
}

TEST_F(QZExportCommandTest, MalformedCommandsAndUnreadableThemesLeaveNothingBehind)
{
    writeFile(scratch_ / "text.tslcst", "no theme in here");
    std::string out = scratch_ / "out";
    struct Row {
        std::vector<std::string> arguments;
        int status;
    } rows[] = {
        {{}, 2},
        {{"--out"}, 2},
        {{"--colour", "red", "--out", out}, 2},
        {{"--out", out, "extra"}, 2},
        {{"--out", out, "--out", out}, 2},
        {{"--theme", "--out", out}, 2},
        {{"--theme", scratch_ / "missing.tslcst", "--out", out}, 1},
        {{"--theme", scratch_ / "text.tslcst", "--out", out}, 1},
    };
    for (const Row& row : rows) {
        std::string line;
        for (const std::string& word : row.arguments) line += word + " ";
        SCOPED_TRACE(line);
        CommandRun run = exportCommand(row.arguments, scratch_);
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_EQ(run.out, "");
        // A usage error shows the usage; a theme that cannot be read is named.
        const char* shown = row.status == 2 ? "usage: tessel-customizer-export [--theme FILE] [--no-compress] --out DIR"
                                            : ".tslcst";
        EXPECT_NE(run.err.find(shown), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

// Resources without one mask that gives an image its size: the export fails, and the earlier
// bundle stays byte for byte.
TEST_F(QZExportCommandTest, AFailedExportLeavesTheEarlierBundle)
{
    std::string out = scratch_ / "out";
    ASSERT_EQ(exportCommand({"--no-compress", "--out", out}, scratch_).status, 0);
    std::map<std::string, std::string> before = snapshot(out);

    QZTemporaryFolder resources;
    fs::path built = fs::path(TESSEL_CUSTOMIZER_EXPORT).parent_path() / "Resources";
    for (const auto& entry : fs::directory_iterator(built))
        if (entry.path().filename() != "button_core.png")
            fs::copy(entry.path(), resources.path() / entry.path().filename());
    QZScopedEnvironment withoutOneMask("TESSEL_CUSTOMIZER_RESOURCES", resources.path().string());
    CommandRun run = exportCommand({"--no-compress", "--out", out}, scratch_);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("apply@2x.png: Invalid Image"), std::string::npos) << run.err;
    EXPECT_EQ(snapshot(out), before);
}

// OUT/TesselSDKResources.bundle a symbolic link to another folder: the export is refused, with the
// link named, and nothing is written on either side of it.
TEST_F(QZExportCommandTest, ABundleFolderThatIsALinkIsRefusedAndNothingWritten)
{
    const fs::path out = scratch_ / "out";
    const fs::path elsewhere = scratch_ / "elsewhere";
    fs::create_directories(out);
    fs::create_directories(elsewhere);
    writeFile(elsewhere / "kept.txt", "a file of the folder the link points to");
    fs::create_symlink(elsewhere, out / "TesselSDKResources.bundle");
    const std::map<std::string, std::string> outBefore = snapshot(out.string());
    const std::map<std::string, std::string> elsewhereBefore = snapshot(elsewhere.string());

    CommandRun run = exportCommand({"--no-compress", "--out", out.string()}, scratch_);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("TesselSDKResources.bundle is a symbolic link"), std::string::npos) << run.err;
    EXPECT_EQ(snapshot(elsewhere.string()), elsewhereBefore);
    EXPECT_EQ(snapshot(out.string()), outBefore);
    EXPECT_TRUE(fs::is_symlink(out / "TesselSDKResources.bundle"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(out)) ++entries;
    EXPECT_EQ(entries, 1u) << "no staging folder left behind";
}

}  // namespace
}  // namespace customizer::testing
