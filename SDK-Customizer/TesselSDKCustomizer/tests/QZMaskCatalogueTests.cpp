// The mask catalogue and the resource folder the build draws from it, and every generator swept
// over the generated masks.

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

// libjpeg needs FILE and size_t declared first.
#include <jpeglib.h>

#include "Export/QZImageGroups.h"
#include "Model/QZPropertyList.h"
#include "QZGeneratorCases.h"
#include "QZMaskCatalogue.h"
#include "QZMaskGlyphs.h"
#include "QZPreviewArtwork.h"
#include "Render/NSImageProvider.h"
#include "support/QZProbeMasks.h"
#include "support/QZTestImages.h"

namespace customizer::testing {
namespace {

namespace fs = std::filesystem;
using namespace customizer::masks;

std::vector<std::string> iconList()
{
    std::string error;
    auto names = QZReadStringList(TESSEL_CUSTOMIZER_SOURCE_DIR "/Resources/CustomizationIconList.plist", &error);
    EXPECT_TRUE(names) << error;
    return names ? *names : std::vector<std::string>{};
}

std::map<std::string, QZMaskEntry> catalogue()
{
    std::map<std::string, QZMaskEntry> byName;
    for (QZMaskEntry& entry : QZMaskCatalogue(iconList())) {
        std::string name = entry.name;
        EXPECT_TRUE(byName.emplace(name, std::move(entry)).second) << name << " twice";
    }
    return byName;
}

TEST(QZMaskCatalogue, SizesSuitTheirWritersAndTwinsAreTwiceTheirPlainMasks)
{
    auto masks = catalogue();
    int twins = 0;
    for (const auto& [name, entry] : masks) {
        int multiple = entry.writer == QZMaskWriter::FourTimes ? 8 : entry.writer == QZMaskWriter::DoubleResolution ? 2 : 1;
        EXPECT_TRUE(entry.width % multiple == 0 && entry.height % multiple == 0) << name;
        std::string plain;
        if (name.size() > 7 && name.compare(name.size() - 7, 7, "-retina") == 0) plain = name.substr(0, name.size() - 7);
        if (name.compare(0, 7, "retina_") == 0) plain = name.substr(7);
        if (plain.empty()) continue;
        ++twins;
        auto twin = masks.find(plain);
        ASSERT_NE(twin, masks.end()) << name << " has no plain twin";
        EXPECT_EQ(entry.width, 2 * twin->second.width) << name;
        EXPECT_EQ(entry.height, 2 * twin->second.height) << name;
    }
    EXPECT_EQ(twins, 3 + 48 / 2 + 12 / 2 + 40 / 2);  // back button, restore callout, gallery rims and overlays, gallery cells
    const QZMaskEntry& noise = masks.at("uniform_noise_strong250x250");
    EXPECT_EQ(noise.width, 250);
    EXPECT_EQ(noise.height, 250);
}

// The editor stretches these images between cap insets: at 1x each must be wider than its caps.
TEST(QZMaskCatalogue, OneTimesSizesFitTheEditorsCapInsets)
{
    auto masks = catalogue();
    auto oneTimesWidth = [&](const std::string& name) {
        const QZMaskEntry& e = masks.at(name);
        return e.writer == QZMaskWriter::FourTimes ? e.width / 8 : e.writer == QZMaskWriter::DoubleResolution ? e.width / 2 : e.width;
    };
    struct Fit {
        const char* mask;
        int atLeast;
    } fits[] = {
        {"radio_stroke_l", 30}, {"radio_stroke_r", 30}, {"radio_stroke", 15}, {"radio_stroke_s", 45},
        {"goo_glow_l", 47},     {"goo_glow_r", 47},     {"adj_selected_inner", 61}, {"button_core", 21},
        {"back_stroke", 25},    {"conveyor_core", 15},  {"conveyor_half_core", 15}, {"meme_field_core", 53},
        {"restore-r-core", 35}, {"restore-l-core", 35},
    };
    for (const Fit& fit : fits) EXPECT_GE(oneTimesWidth(fit.mask), fit.atLeast) << fit.mask;
    // The previews assume a 30-point button; small knobs fit the editor's 36-point knob view.
    EXPECT_EQ(oneTimesWidth("button_core"), 30);
    for (const char* knob : {"knob_small_bezel"}) {
        EXPECT_LE(oneTimesWidth(knob), 36);
        EXPECT_LE(masks.at(knob).height / 8, 36);
    }
    EXPECT_GT(masks.at("restore-r-core").height, 40);  // caps 20 above and below
}

TEST(QZMaskCatalogue, IconListNamesTheEditorsToolIconsAndEachHasAPictogram)
{
    std::vector<std::string> names = iconList();
    // The editor's tool table names its icons "tool-<key>.png".
    std::ifstream plugins(TESSEL_SDK_PLUGINS_PLIST);
    std::stringstream text;
    text << plugins.rdbuf();
    std::set<std::string> toolIcons;
    std::string xml = text.str();
    for (size_t at = xml.find("<string>tool-"); at != std::string::npos; at = xml.find("<string>tool-", at + 1)) {
        size_t end = xml.find(".png</string>", at);
        ASSERT_NE(end, std::string::npos);
        toolIcons.insert(xml.substr(at + 8, end - at - 8));
    }
    EXPECT_EQ(toolIcons.size(), 16u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), toolIcons);
    EXPECT_EQ(names.size(), 16u);

    names.insert(names.end(), QZFixedIconNames().begin(), QZFixedIconNames().end());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    for (const std::string& name : names) EXPECT_TRUE(QZTraceGlyph(cr, QZGlyphKeyForIconName(name))) << name;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

TEST(QZMaskCatalogue, TheBuiltResourceFolderHoldsExactlyTheCatalogue)
{
    auto masks = catalogue();
    std::set<std::string> files;
    for (const auto& item : fs::directory_iterator(TESSEL_CUSTOMIZER_RESOURCES_DIR))
        if (item.path().extension() == ".png") files.insert(item.path().stem().string());
    std::set<std::string> catalogued;
    for (const auto& [name, entry] : masks) catalogued.insert(name);
    for (const QZPreviewArtwork& artwork : QZPreviewArtworks())
        if (fs::path(artwork.fileName).extension() == ".png") catalogued.insert(fs::path(artwork.fileName).stem());
    EXPECT_EQ(files, catalogued);
    NSResourceFolderImageProvider folder(TESSEL_CUSTOMIZER_RESOURCES_DIR);
    for (const auto& [name, entry] : masks) {
        NSImagePtr image = folder.imageNamed(name + ".png");
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->size(), CGSizeMake(entry.width, entry.height)) << name;
    }
    EXPECT_TRUE(fs::exists(fs::path(TESSEL_CUSTOMIZER_RESOURCES_DIR) / "CustomizationIconList.plist"));
}

struct DecodedJpeg {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    CGColor centre{};
};

// The whole file through libjpeg, as a viewer would read it; a corrupt file answers !ok.
DecodedJpeg decodeJpeg(const fs::path& path)
{
    DecodedJpeg decoded;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return decoded;
    struct Failure {
        jpeg_error_mgr manager;
        std::jmp_buf jump;
    } failure{};
    jpeg_decompress_struct jpeg{};
    jpeg.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = [](j_common_ptr info) {
        std::longjmp(reinterpret_cast<Failure*>(info->err)->jump, 1);
    };
    failure.manager.emit_message = [](j_common_ptr info, int level) {
        if (level < 0) std::longjmp(reinterpret_cast<Failure*>(info->err)->jump, 1);  // a warning is a fault here
    };
    std::vector<JSAMPLE> row;
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&jpeg);
        std::fclose(file);
        return DecodedJpeg{};
    }
    jpeg_create_decompress(&jpeg);
    jpeg_stdio_src(&jpeg, file);
    jpeg_read_header(&jpeg, TRUE);
    jpeg_start_decompress(&jpeg);
    decoded.width = int(jpeg.output_width);
    decoded.height = int(jpeg.output_height);
    decoded.components = jpeg.output_components;
    row.resize(size_t(jpeg.output_width) * size_t(jpeg.output_components));
    while (jpeg.output_scanline < jpeg.output_height) {
        JSAMPROW rows[] = {row.data()};
        const bool centreRow = int(jpeg.output_scanline) == decoded.height / 2;
        jpeg_read_scanlines(&jpeg, rows, 1);
        if (centreRow && decoded.components == 3) {
            const JSAMPLE* p = &row[size_t(decoded.width / 2) * 3];
            decoded.centre = {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, 1};
        }
    }
    jpeg_finish_decompress(&jpeg);
    jpeg_destroy_decompress(&jpeg);
    std::fclose(file);
    decoded.ok = true;
    return decoded;
}

// The panels' fixed pictures are in the folder at their sizes, the photos as whole RGB JPEG
// files that show what was drawn.
TEST(QZPreviewArtwork, TheBuiltResourceFolderHoldsEachPictureAtItsSize)
{
    const fs::path folder = TESSEL_CUSTOMIZER_RESOURCES_DIR;
    std::set<std::string> names;
    NSResourceFolderImageProvider pngs(folder.string());
    for (const QZPreviewArtwork& artwork : QZPreviewArtworks()) {
        names.insert(artwork.fileName);
        const fs::path path = folder / artwork.fileName;
        if (path.extension() == ".jpg") {
            const DecodedJpeg jpeg = decodeJpeg(path);
            ASSERT_TRUE(jpeg.ok) << path;
            EXPECT_EQ(jpeg.width, artwork.width) << path;
            EXPECT_EQ(jpeg.height, artwork.height) << path;
            EXPECT_EQ(jpeg.components, 3) << path;
            // The same picture drawn here, at its centre, within what JPEG loses.
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, artwork.width, artwork.height);
            cairo_t* cr = cairo_create(surface);
            artwork.draw(cr);
            cairo_destroy(cr);
            cairo_surface_flush(surface);
            const auto* pixels = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                                                   size_t(artwork.height / 2) *
                                                                       size_t(cairo_image_surface_get_stride(surface)));
            const uint32_t drawn = pixels[artwork.width / 2];
            cairo_surface_destroy(surface);
            EXPECT_TRUE(colorNear(
                jpeg.centre, {((drawn >> 16) & 0xff) / 255.0, ((drawn >> 8) & 0xff) / 255.0, (drawn & 0xff) / 255.0, 1},
                12.0 / 255))
                << path;
        } else {
            NSImagePtr image = pngs.imageNamed(artwork.fileName);
            ASSERT_NE(image, nullptr) << path;
            EXPECT_EQ(image->size(), CGSizeMake(artwork.width, artwork.height)) << path;
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"statusBar.jpg", "placeholder.jpg", "top_nav_shadow.png",
                                            "bottom_nav_shadow.png"}));

    // A cut-off JPEG is told apart: the check above can fail.
    const fs::path cut = fs::temp_directory_path() / "QZPreviewArtworkCut.jpg";
    fs::copy_file(folder / "placeholder.jpg", cut, fs::copy_options::overwrite_existing);
    fs::resize_file(cut, fs::file_size(cut) / 2);
    EXPECT_FALSE(decodeJpeg(cut).ok);
    fs::remove(cut);
}

// Every generator with every flag, state, style, type and suffix, against the generated masks.
TEST(QZGeneratorSweep, EveryGeneratorFindsItsMasksAndTakesTheSizeOfTheNamedOne)
{
    auto masks = catalogue();
    auto spy = std::make_shared<QZLoaderSpy>(std::make_shared<NSResourceFolderImageProvider>(TESSEL_CUSTOMIZER_RESOURCES_DIR));
    ScopedImageProvider provider(spy);
    QZPalette palette = QZPalette::standard();
    std::set<std::string> generators;
    for (const QZGeneratorCase& c : QZGeneratorCases(iconList())) {
        generators.insert(c.generator);
        std::vector<NSImagePtr> images = c.render(palette);
        ASSERT_EQ(images.size(), c.sizes.size()) << c.generator << " (" << c.variant << ")";
        for (size_t i = 0; i < images.size(); ++i) {
            ASSERT_NE(images[i], nullptr) << c.generator << " (" << c.variant << ")";
            const QZExpectedSize& expected = c.sizes[i];
            CGSize size = expected.fixed;
            if (!expected.mask.empty()) {
                auto mask = masks.find(expected.mask);
                ASSERT_NE(mask, masks.end()) << expected.mask;
                size = CGSizeMake(mask->second.width, mask->second.height);
            }
            EXPECT_EQ(images[i]->size(), size) << c.generator << " (" << c.variant << ") image " << i;
            EXPECT_TRUE(images[i]->isValid());
        }
    }
    EXPECT_EQ(spy->misses(), std::vector<std::string>{});
    // Every catalogued mask is asked for by some generator, or (the logos) by the exporter.
    std::set<std::string> requested;
    for (const std::string& name : spy->requests()) requested.insert(name.substr(0, name.size() - 4));
    for (bool black : {true, false})
        for (std::string logo : QZLogoImageNames(black)) requested.insert(logo.substr(0, logo.size() - 4));
    for (const auto& [name, entry] : masks) EXPECT_TRUE(requested.count(name)) << name << " is drawn but never used";
    EXPECT_EQ(generators.size(), 70u);  // the generator functions of the two families
}

}  // namespace
}  // namespace customizer::testing
