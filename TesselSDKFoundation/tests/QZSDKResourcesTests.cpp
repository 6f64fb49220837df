#include <gtest/gtest.h>

#include "CoreGraphics/CGContext.h"
#include "Foundation/NSCache.h"
#include "Foundation/NSLogCapture.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/tests/QZResourceFixture.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"

namespace {

class QZSDKResourcesTest : public QZResourceFixture {
protected:
    void SetUp() override
    {
        QZResourceFixture::SetUp();
        write("en.lproj/Localizable.strings", "\"Cancel\" = \"Cancel (en)\";\n\"Crop\" = \"Crop (en)\";\n");
        write("pt.lproj/Localizable.strings", "/* Portuguese */\n\"Cancel\" = \"Cancelar\";\n");
        writePlist("QZCustomizationDictionary.plist",
                   Value::dictionary({{"editor", Value::dictionary({{"non-inheritable",
                                                                     Value::dictionary({{"disableLocalization", ""},
                                                                                        {"knob", ""}})}})}}));
    }
};

TEST_F(QZSDKResourcesTest, StringsComeFromTheTableOfTheFirstPreferredLanguage)
{
    struct Row {
        std::vector<std::string> languages;
        const char* key;
        const char* text;
    } rows[] = {
        {{"pt-BR"}, "Cancel", "Cancelar"},     // the language part of a region
        {{"pt"}, "Cancel", "Cancelar"},
        {{"pt_PT"}, "Cancel", "Cancelar"},     // canonicalised first
        {{"ja"}, "Cancel", "Cancel (en)"},     // no table of its own: the development table
        {{"en-GB"}, "Crop", "Crop (en)"},
        {{"pt-BR"}, "Crop", "Crop"},           // a key missing from the table comes back unchanged
        {{"en"}, "Blemish", "Blemish"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.languages.front());
        PlatformSettings::setPreferredLanguages(row.languages);
        EXPECT_EQ(QZLocalizedString(row.key), row.text);
    }
    EXPECT_EQ(QZPathForLocalizedResource("Localizable", "strings", "pt-BR"), (bundle() / "pt.lproj/Localizable.strings").string());
    EXPECT_EQ(QZPathForLocalizedResource("Localizable", "strings", "not a language"),
              (bundle() / "en.lproj/Localizable.strings").string());
    EXPECT_EQ(QZPathForLocalizedResource("Missing", "strings", "pt"), std::nullopt);
}

TEST_F(QZSDKResourcesTest, DisabledLocalisationReturnsTheKeyWithoutReadingATable)
{
    PlatformSettings::setPreferredLanguages({"pt-BR"});
    QZPhotoEditorCustomization::disableLocalization(true);
    EXPECT_TRUE(QZLocalization::isLocalizationDisabled());
    EXPECT_EQ(QZLocalizedString("Cancel"), "Cancel");
    EXPECT_TRUE(QZLocalizedStringCache()->objectForKey("pt-BR").isNil());
    QZPhotoEditorCustomization::disableLocalization(false);
    EXPECT_EQ(QZLocalizedString("Cancel"), "Cancelar");
    EXPECT_FALSE(QZLocalizedStringCache()->objectForKey("pt-BR").isNil());
}

TEST_F(QZSDKResourcesTest, TablesAreCachedPerLanguageButNotWhenUnreadable)
{
    PlatformSettings::setPreferredLanguages({"pt"});
    write("pt.lproj/Localizable.strings", "\"Cancel\" = \"Cancelar\"");  // no closing ";"
    EXPECT_EQ(QZLocalizedString("Cancel"), "Cancel");
    EXPECT_TRUE(QZLocalizedStringCache()->objectForKey("pt").isNil());
    write("pt.lproj/Localizable.strings", "\"Cancel\" = \"Cancelar\";");
    EXPECT_EQ(QZLocalizedString("Cancel"), "Cancelar");
    // Cached: a changed file is not read again until the cache drops the table.
    write("pt.lproj/Localizable.strings", "\"Cancel\" = \"Voltar\";");
    EXPECT_EQ(QZLocalizedString("Cancel"), "Cancelar");
    NSCache::simulateMemoryPressure();
    EXPECT_EQ(QZLocalizedString("Cancel"), "Voltar");
}

TEST_F(QZSDKResourcesTest, BundleImagesAreCachedByNameUntilUnloaded)
{
    PlatformSettings::setScreenScale(2);
    writePNG(bundle() / "dot.png", 2, 2);
    writePNG(bundle() / "dot@2x.png", 4, 4);
    writePNG(bundle() / "icons/dot.png", 6, 6);
    write("broken.png", "not a PNG");

    auto first = QZSDKResources::imageNamed("dot.png");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->scale(), 2);  // the screen-scale variant
    EXPECT_EQ(first->size().width, 2);
    EXPECT_EQ(QZSDKResources::imageNamed("dot.png"), first);
    EXPECT_EQ(QZSDKResources::cachedImageForKey("dot.png"), first);

    // A directory-qualified key is its own entry.
    auto inDirectory = QZSDKResources::imageNamed("dot.png", "icons");
    ASSERT_TRUE(inDirectory);
    EXPECT_NE(inDirectory, first);
    EXPECT_EQ(inDirectory->size().width, 6);
    EXPECT_EQ(QZSDKResources::cachedImageForKey("icons/dot.png"), inDirectory);
    EXPECT_EQ(QZSDKResources::imageNamed("dot.png"), first);

    // A file that does not load is not cached: once it is mended it loads.
    EXPECT_FALSE(QZSDKResources::imageNamed("broken.png"));
    EXPECT_FALSE(QZSDKResources::cachedImageForKey("broken.png"));
    writePNG(bundle() / "broken.png", 1, 1);
    EXPECT_TRUE(QZSDKResources::imageNamed("broken.png"));
    EXPECT_FALSE(QZSDKResources::imageNamed("absent.png"));

    QZSDKResources::unloadResources();
    auto reloaded = QZSDKResources::imageNamed("dot.png");
    ASSERT_TRUE(reloaded);
    EXPECT_NE(reloaded, first);
}

TEST_F(QZSDKResourcesTest, DrawnImagesAreDrawnOncePerNameAndSize)
{
    PlatformSettings::setScreenScale(2);
    int draws = 0;
    size_t pixelWidth = 0, pixelHeight = 0;
    auto draw = [&] {
        ++draws;
        CGContextRef context = UIGraphicsGetCurrentContext();
        pixelWidth = CGBitmapContextGetWidth(context);
        pixelHeight = CGBitmapContextGetHeight(context);
    };
    auto small = QZSDKResources::cachedImageForKey("badge", CGSizeMake(10, 4), draw);
    ASSERT_TRUE(small);
    EXPECT_EQ(pixelWidth, 20u);
    EXPECT_EQ(pixelHeight, 8u);
    EXPECT_EQ(small->scale(), 2);
    EXPECT_EQ(QZSDKResources::cachedImageForKey("badge", CGSizeMake(10, 4), draw), small);
    EXPECT_EQ(draws, 1);
    EXPECT_EQ(QZSDKResources::cachedImageForKey("drawCache-badge-{10, 4}"), small);

    auto large = QZSDKResources::cachedImageForKey("badge", CGSizeMake(12, 4), draw);
    ASSERT_TRUE(large);
    EXPECT_NE(large, small);
    EXPECT_EQ(draws, 2);
    EXPECT_EQ(large->size().width, 12);

    // Without a block the image is transparent, and still cached.
    auto blank = QZSDKResources::cachedImageForKey("blank", CGSizeMake(1, 1), nullptr);
    ASSERT_TRUE(blank);
    EXPECT_EQ(QZSDKResources::cachedImageForKey("blank", CGSizeMake(1, 1), nullptr), blank);
}

TEST_F(QZSDKResourcesTest, AnEmptyDrawSizeLeavesTheCallersImageContextAlone)
{
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(3, 3), false, 1);
    CGContextRef outer = UIGraphicsGetCurrentContext();
    ASSERT_TRUE(outer);
    bool drawn = false;
    EXPECT_FALSE(QZSDKResources::cachedImageForKey("empty", CGSizeMake(0, 5), [&] { drawn = true; }));
    EXPECT_FALSE(drawn);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    UIGraphicsEndImageContext();
}

TEST_F(QZSDKResourcesTest, ReplacementImagesComeFromTheirOptionWhenTheValueIsAnImage)
{
    PlatformSettings::setScreenScale(1);
    writePNG(bundle() / "knob.png", 2, 2);
    writePNG(mainBundle() / "hostKnob.png", 5, 5);
    // No validator: the option accepts any value, so a non-image can reach the replacement.
    QZPhotoEditorCustomization::options()->addOption("editor.knob", Value(), validatorBlock());
    QZSDKResources::registerReplacementForImageNamed("knob.png", "editor.knob");
    EXPECT_EQ(QZSDKResources::replacementImageDictionary()["knob.png"], Value("editor.knob"));

    // No value: the option reads nil, so the bundle image.
    NSLogCapture log;
    auto bundleImage = QZSDKResources::imageNamed("knob.png");
    ASSERT_TRUE(bundleImage);
    EXPECT_EQ(bundleImage->size().width, 2);

    QZPhotoEditorCustomization::setOptionWithImageNamed("hostKnob.png", "editor.knob");
    auto replaced = QZSDKResources::imageNamed("knob.png");
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->size().width, 5);
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();

    QZPhotoEditorCustomization::setOptionValue("hostKnob.png", "editor.knob");
    EXPECT_EQ(QZSDKResources::imageNamed("knob.png"), bundleImage);
    EXPECT_TRUE(log.contains("+[QZSDKResources imageNamed:] Replacement for image knob.png under editor.knob is not an "
                             "image; using the bundle image"));

    // The table outlives unloading.
    QZSDKResources::unloadResources();
    EXPECT_EQ(QZSDKResources::replacementImageDictionary()["knob.png"], Value("editor.knob"));
}

TEST_F(QZSDKResourcesTest, TheToolTableAndPacksComeFromThePluginsList)
{
    EXPECT_TRUE(QZSDKResources::plugins().isNil());
    writePlist("TesselSDKPlugins.plist",
               Value::dictionary({{"plugins", Value::dictionary({{"crop", Value::dictionary({{"key", "crop"}})}})},
                                  {"packs", Value::dictionary({{"effects", Value::array()}})}}));
    EXPECT_EQ(QZSDKResources::plugins()["crop"]["key"], Value("crop"));
    EXPECT_TRUE(QZSDKResources::packs()["effects"].isArray());
    EXPECT_EQ(QZSDKResources::imageCache()->name(), "TesselSDKImageCache");
    auto bundleObject = QZSDKResources::resourceBundle();
    ASSERT_TRUE(bundleObject);
    EXPECT_EQ(QZSDKResources::resourceBundle(), bundleObject);
    QZSDKResources::unloadResources();
    EXPECT_NE(QZSDKResources::resourceBundle(), bundleObject);
}

TEST_F(QZSDKResourcesTest, WithoutTheBundleLookupsGiveNilAndStringsTheirKeys)
{
    std::filesystem::remove_all(bundle());
    EXPECT_FALSE(QZSDKResources::resourceBundle());
    EXPECT_FALSE(QZSDKResources::imageNamed("dot.png"));
    EXPECT_TRUE(QZSDKResources::plugins().isNil());
    EXPECT_EQ(QZLocalizedString("Cancel"), "Cancel");
}

}  // namespace
