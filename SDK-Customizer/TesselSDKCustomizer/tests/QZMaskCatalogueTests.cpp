// The mask catalogue and the resource folder the build draws from it, and every generator swept
// over the generated masks.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "Export/QZImageGroups.h"
#include "Model/QZPropertyList.h"
#include "QZGeneratorCases.h"
#include "QZMaskCatalogue.h"
#include "QZMaskGlyphs.h"
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
    EXPECT_EQ(files, catalogued);
    NSResourceFolderImageProvider folder(TESSEL_CUSTOMIZER_RESOURCES_DIR);
    for (const auto& [name, entry] : masks) {
        NSImagePtr image = folder.imageNamed(name + ".png");
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->size(), CGSizeMake(entry.width, entry.height)) << name;
    }
    EXPECT_TRUE(fs::exists(fs::path(TESSEL_CUSTOMIZER_RESOURCES_DIR) / "CustomizationIconList.plist"));
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
