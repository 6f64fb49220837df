// The bundle export: the file set and its sizes, the property lists, compression and progress,
// and exports that fail.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "Export/NSImageSaveToFile.h"
#include "Export/QZBundleFormat.h"
#include "Export/QZImageSaver.h"
#include "Export/QZImageWriters.h"
#include "Generators/QZMemeFieldImages.h"
#include "Model/QZCustomizationDefaults.h"
#include "Model/QZPropertyList.h"
#include "Render/NSLog.h"
#include "Render/QZColorHelpers.h"
#include "support/QZExpectedBundleFiles.h"
#include "support/QZTestFolders.h"
#include "support/QZTestImages.h"

namespace customizer::testing {
namespace {

namespace fs = std::filesystem;

NSColorPtr rgba(double r, double g, double b, double a = 1)
{
    return NSColor::colorWithCalibratedRed(r, g, b, a);
}

const std::vector<std::string> kIcons = {"tool-enhance"};
const std::vector<std::string> kChips = {"0xffff0000"};

OverallAppearance defaultTheme()
{
    std::string error;
    auto defaults =
        QZCustomizationDefaults::readFromFile(TESSEL_CUSTOMIZER_RESOURCES_DIR "/CustomizationDefaults.plist", &error);
    EXPECT_TRUE(defaults) << error;
    return defaults ? defaults->appearance() : OverallAppearance();
}

class Recorder : public QZImageSaverDelegate {
public:
    void imageSaverFinishedSavingImageGroup(QZImageSaver&, int64_t saved, int64_t total) override
    {
        events.push_back("group " + std::to_string(saved) + "/" + std::to_string(total));
    }
    void imageSaverFinishedSavingAllImages(QZImageSaver&) override { events.push_back("saved"); }
    void imageSaverFinishedCrushingImage(QZImageSaver&, int64_t crushed, int64_t total) override
    {
        events.push_back("crush " + std::to_string(crushed) + "/" + std::to_string(total));
    }
    void imageSaverFinishedCrushingAllImages(QZImageSaver&) override { events.push_back("crushed"); }

    std::vector<std::string> events;
};

std::vector<std::string> savingEvents()
{
    std::vector<std::string> events;
    for (int i = 1; i <= 26; ++i) events.push_back("group " + std::to_string(i) + "/26");
    events.push_back("saved");
    return events;
}

std::string script(const QZTemporaryFolder& folder, const std::string& name, const std::string& body)
{
    std::string path = folder / name;
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

class QZBundleExportTest : public ::testing::Test {
protected:
    QZBundleExportTest() : provider_(std::make_shared<NSResourceFolderImageProvider>(TESSEL_CUSTOMIZER_RESOURCES_DIR))
    {
    }

    QZImageSaver saver(const OverallAppearance& theme) { return QZImageSaver(theme, QZExportLists{kIcons, kChips}); }
    fs::path bundle() const { return folder_.path() / "export" / kQZBundleFolderName; }
    std::string exportFolder() const { return folder_ / "export"; }

    ScopedImageProvider provider_;
    QZTemporaryFolder folder_;
};

TEST(QZBundleFormat, ColorsListEveryAttributeWithFallbacksResolved)
{
    OverallAppearance theme;
    theme.setValue(QZAttribute::bottomBarColor, rgba(1.0, 0.5, 0, 0.25));
    theme.setValue(QZAttribute::useNoise, true);
    QZTemporaryFolder folder;
    writeFile(folder / "Colors.plist", QZColorsPropertyList(theme));
    std::string error;
    QZPlist colors = QZReadPropertyListFile(folder / "Colors.plist", &error);
    ASSERT_TRUE(colors) << error;
    ASSERT_EQ(plist_get_node_type(colors.get()), PLIST_DICT);
    EXPECT_EQ(plist_dict_get_size(colors.get()), 56u);

    auto expectColour = [&](const char* key, const char* hex, double alpha) {
        plist_t entry = plist_dict_get_item(colors.get(), key);
        ASSERT_TRUE(entry && plist_get_node_type(entry) == PLIST_DICT) << key;
        EXPECT_EQ(QZPlistString(plist_dict_get_item(entry, "hex")), hex) << key;
        plist_t alphaNode = plist_dict_get_item(entry, "alpha");
        ASSERT_EQ(plist_get_node_type(alphaNode), PLIST_REAL) << key;
        EXPECT_EQ(QZPlistNumber(alphaNode), alpha) << key;
    };
    expectColour("bottomBarColor", "#ff8000", 0.25);
    expectColour("navBarColor", "#ff8000", 0.25);        // through its fallback
    expectColour("cancelButtonColor", "#ff8000", 0.25);  // two steps
    QZHexAndAlpha canvas = *QZHexAndAlphaDictWithNSColor(theme.canvasColor());
    expectColour("canvasColor", canvas.hex.c_str(), 0.25);
    EXPECT_NE(canvas.hex, "#ff8000");

    auto expectFlag = [&](const char* key, bool value) {
        plist_t entry = plist_dict_get_item(colors.get(), key);
        ASSERT_TRUE(entry && plist_get_node_type(entry) == PLIST_BOOLEAN) << key;
        uint8_t flag = 2;
        plist_get_bool_val(entry, &flag);
        EXPECT_EQ(flag, value) << key;
    };
    expectFlag("useNoise", true);
    expectFlag("usesBlackTesselLogo", false);  // unset
    expectFlag("textColor", false);            // unset, no fallback
    expectFlag("accentGradientTopColor", false);
}

TEST_F(QZBundleExportTest, WritesExactlyTheBundlesFilesAtBothScalesKeepingOtherFiles)
{
    fs::create_directories(bundle());
    writeFile(bundle() / "unrelated.txt", "kept");
    writeFile(bundle() / "apply.png", "an earlier apply button");
    OverallAppearance theme = defaultTheme();
    QZImageSaver exporter = saver(theme);
    Recorder recorder;
    exporter.setDelegate(&recorder);
    QZExportResult result = exporter.saveImages(exportFolder(), false);
    ASSERT_TRUE(result.succeeded()) << result.error;
    EXPECT_EQ(result.status, UncompressedStatus);
    EXPECT_EQ(recorder.events, savingEvents());

    // Only the bundle in the export folder: the staging folder is gone.
    EXPECT_EQ(entriesOf(exportFolder()), std::set<std::string>{kQZBundleFolderName});
    std::set<std::string> expected = expectedBundleFiles(kIcons, kChips);
    EXPECT_EQ(expected.size(), 130u + 4 + 2 + 2);
    expected.insert("unrelated.txt");
    EXPECT_EQ(entriesOf(bundle()), expected);
    EXPECT_EQ(readFile(bundle() / "unrelated.txt"), "kept");
    EXPECT_EQ(readFile(bundle() / "Status.plist"), QZStatusPropertyList(UncompressedStatus));
    EXPECT_EQ(readFile(bundle() / "Colors.plist"), QZColorsPropertyList(theme));

    for (const std::string& base : expectedImageBases(kIcons, kChips)) {
        auto normal = pngSize(bundle() / (base + ".png")), retina = pngSize(bundle() / (base + "@2x.png"));
        ASSERT_TRUE(normal && retina) << base;
        EXPECT_GT(normal->first, 0u);
        EXPECT_EQ(retina->first, 2 * normal->first) << base;
        EXPECT_EQ(retina->second, 2 * normal->second) << base;
    }
    struct Size {
        const char* base;
        uint32_t width, height;
    } procedural[] = {{"toolBar", 100, 100}, {"navBar", 44, 44}, {"homeBarBackground", 125, 125}, {"canvas", 100, 100}};
    for (const Size& s : procedural)
        EXPECT_EQ(pngSize(bundle() / (std::string(s.base) + ".png")), std::pair(s.width, s.height)) << s.base;

    // The meme field is the masked one of the later group, not the drawn one.
    NSImagePtr memeField =
        stretchableMemeFieldImageWithColors(theme.bottomBarColor(), theme.bottomBarOuterStrokeColor());
    NSImagePtr expectedRetina =
        QZ_imageResize(memeField, CGSizeMake(memeField->size().width / 4, memeField->size().height / 4));
    CGImageRef written = CGImage::imageWithContentsOfPNGFile(bundle() / "memeField@2x.png");
    ASSERT_TRUE(written && expectedRetina);
    ASSERT_EQ(written->width(), expectedRetina->CGImage()->width());
    ASSERT_EQ(written->height(), expectedRetina->CGImage()->height());
    for (int y = 0; y < written->height(); ++y)
        for (int x = 0; x < written->width(); ++x)
            ASSERT_TRUE(colorNear(written->colorAt(x, y), expectedRetina->CGImage()->colorAt(x, y), 1.5 / 255))
                << x << ", " << y;
}

TEST_F(QZBundleExportTest, CompressionRunsOncePerImageOutsideTheIcons)
{
    QZTemporaryFolder tools;
    std::string log = tools / "runs.log";
    QZImageSaver exporter = saver(defaultTheme());
    exporter.setCompressor(
        QZPNGCompressor(script(tools, "record", "printf '%s %s\\n' \"$#\" \"$1\" >> '" + log + "'")));
    Recorder recorder;
    exporter.setDelegate(&recorder);
    QZExportResult result = exporter.saveImages(exportFolder(), true);
    ASSERT_TRUE(result.succeeded()) << result.error;
    EXPECT_EQ(result.status, CompletedStatus);
    EXPECT_EQ(result.compressionNotice, "");
    EXPECT_EQ(readFile(bundle() / "Status.plist"), QZStatusPropertyList(CompletedStatus));

    std::set<std::string> compressed;
    std::istringstream runs(*readFile(log));
    for (std::string line; std::getline(runs, line);) {
        ASSERT_EQ(line.rfind("1 ", 0), 0u) << "one argument: " << line;
        fs::path file = line.substr(2);
        EXPECT_TRUE(compressed.insert(file.filename().string()).second) << file;
        EXPECT_EQ(file.parent_path().filename(), "images") << file;
    }
    std::set<std::string> expected;
    for (const std::string& base : expectedImageBases({}, kChips)) {
        expected.insert(base + ".png");
        expected.insert(base + "@2x.png");
    }
    EXPECT_EQ(compressed, expected);
    EXPECT_EQ(exporter.totalImagesToCrush(), int64_t(expected.size()));

    std::vector<std::string> events = savingEvents();
    for (size_t i = 1; i <= expected.size(); ++i)
        events.push_back("crush " + std::to_string(i) + "/" + std::to_string(expected.size()));
    events.push_back("crushed");
    EXPECT_EQ(recorder.events, events);
}

// A compressor that fails, is missing, hangs or damages its file leaves every image as it was
// and a notice naming the program and the reason.
TEST(QZPNGCompressor, AFailedRunLeavesTheImagesIntactAndSaysWhy)
{
    QZTemporaryFolder tools;
    struct Row {
        std::string program;
        std::chrono::milliseconds limit;
        const char* reason;  // empty: succeeds
    } rows[] = {
        {script(tools, "fails", "echo refusing >&2; exit 3"), std::chrono::seconds(60), "exited with status 3"},
        {tools / "missing", std::chrono::seconds(60), "cannot be started: No such file or directory"},
        {script(tools, "hangs", "sleep 30"), std::chrono::milliseconds(300), "ran longer than 0.3 s and was stopped"},
        {script(tools, "damages", ": > \"$1\""), std::chrono::seconds(60), "no PNG of the same size"},
        {script(tools, "forks", "sleep 30 & exit 0"), std::chrono::seconds(20), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.program);
        QZTemporaryFolder images;
        for (const char* name : {"a.png", "b@2x.png"})
            ASSERT_TRUE(
                makeImage(4, 2, [](int x, int) { return x % 2 ? kRed : kBlue; })->CGImage()->writePNG(images / name));
        writeFile(images / "notes.txt", "not an image");
        std::map<std::string, std::string> before = snapshot(images.path());
        QZImageSaver exporter(OverallAppearance(), QZExportLists{});
        exporter.setCompressor(QZPNGCompressor(row.program, row.limit));
        NSLogCapture log;
        auto start = std::chrono::steady_clock::now();
        std::optional<std::string> notice = exporter.crushPngs(images.path());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
        EXPECT_EQ(exporter.totalImagesToCrush(), 2);
        if (*row.reason == '\0') {
            EXPECT_EQ(notice, std::nullopt);
            EXPECT_EQ(exporter.imagesCrushed(), 2);
        } else {
            ASSERT_TRUE(notice);
            EXPECT_NE(notice->find(row.program), std::string::npos) << *notice;
            EXPECT_NE(notice->find(row.reason), std::string::npos) << *notice;
            EXPECT_TRUE(log.contains(*notice));
            EXPECT_EQ(exporter.imagesCrushed(), 0);
        }
        EXPECT_EQ(snapshot(images.path()), before);
        EXPECT_TRUE(log.contains("(\n    \"a.png\",\n    \"b@2x.png\"\n)"));
    }
}

// An image that cannot be made fails the export with the file named, and the export folder
// keeps the earlier bundle byte for byte (a folder the export made is gone again).
TEST_F(QZBundleExportTest, AFailingExportLeavesTheEarlierBundleAsItWas)
{
    QZTemporaryFolder resources;
    for (const auto& entry : fs::directory_iterator(TESSEL_CUSTOMIZER_RESOURCES_DIR))
        if (entry.path().filename() != "meme_field_core.png")
            fs::copy(entry.path(), resources.path() / entry.path().filename());
    ScopedImageProvider withoutOneMask(std::make_shared<NSResourceFolderImageProvider>(resources.path().string()));

    fs::create_directories(bundle());
    writeFile(bundle() / "Status.plist", QZStatusPropertyList(CompletedStatus));
    writeFile(bundle() / "memeField.png", "an earlier meme field");
    std::map<std::string, std::string> before = snapshot(exportFolder());

    NSLogCapture log;
    QZExportResult result = saver(defaultTheme()).saveImages(exportFolder(), false);
    EXPECT_FALSE(result.succeeded());
    EXPECT_NE(result.error.find("memeField@2x.png: Invalid Image"), std::string::npos) << result.error;
    EXPECT_TRUE(log.contains("Invalid Image"));
    EXPECT_EQ(snapshot(exportFolder()), before);

    std::string fresh = folder_ / "made/by/the/export";
    EXPECT_FALSE(saver(defaultTheme()).saveImages(fresh, false).succeeded());
    EXPECT_FALSE(fs::exists(folder_ / "made"));
}

TEST_F(QZBundleExportTest, AFailureWhileMovingInLeavesTheBundleUnfinished)
{
    // A folder where an image goes: the rename into the bundle fails.
    fs::create_directories(bundle() / "apply.png" / "inside");
    QZExportResult result = saver(defaultTheme()).saveImages(exportFolder(), false);
    EXPECT_FALSE(result.succeeded());
    EXPECT_NE(result.error.find("apply.png"), std::string::npos) << result.error;
    EXPECT_EQ(readFile(bundle() / "Status.plist"), QZStatusPropertyList(BeganStatus));
    EXPECT_EQ(entriesOf(exportFolder()), std::set<std::string>{kQZBundleFolderName});

    writeFile(folder_ / "plain", "a file");
    result = saver(defaultTheme()).saveImages(folder_ / "plain/export", false);
    EXPECT_NE(result.error.find("Not a directory"), std::string::npos) << result.error;
}

TEST(QZImageWriters, ShrinkingAveragesInsteadOfPickingPixels)
{
    QZTemporaryFolder folder;
    NSImagePtr checkerboard = makeImage(64, 64, [](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; });
    std::string error;
    ASSERT_TRUE(saveImageWithNameAndPath(checkerboard, "board", folder.path().string(), &error)) << error;
    for (auto [file, side] : {std::pair{"board@2x.png", 16}, std::pair{"board.png", 8}}) {
        CGImageRef image = CGImage::imageWithContentsOfPNGFile(folder / file);
        ASSERT_TRUE(image) << file;
        ASSERT_EQ(image->width(), side);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                ASSERT_TRUE(colorNear(image->colorAt(x, y), CGColor{0.5, 0.5, 0.5, 1}, 0.06))
                    << file << " " << x << ", " << y;
    }

    NSLogCapture log;
    EXPECT_FALSE(saveImageWithNameAndPath(nullptr, "none", folder.path().string(), &error));
    EXPECT_EQ(error, folder / "none@2x.png: Invalid Image");
    EXPECT_TRUE(log.contains("Invalid Image"));
    EXPECT_FALSE(fs::exists(folder / "none@2x.png"));
}

}  // namespace
}  // namespace customizer::testing
