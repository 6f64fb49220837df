// The shipped TesselSDKResources.bundle, as the build makes it.

#include <gtest/gtest.h>

#include <filesystem>

#include "Foundation/NSBundle.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/PlatformSettings.h"
#include "UIKit/UIDevice.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIImage.h"

namespace {

class QZResourceBundleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformSettings::setMainBundlePath(std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
        PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPad);
        ASSERT_TRUE(QZSDKResources::resourceBundle()) << TESSEL_SDK_RESOURCES_BUNDLE_DIR;
    }
    void TearDown() override
    {
        QZSDKResources::unloadResources();
        PlatformSettings::reset();
    }
};

TEST_F(QZResourceBundleTest, PassesTheExportCheck)
{
    auto error = NSError::errorWithDescription("stale", 1, "stale");
    QZPhotoEditorCustomization::checkForResourceBundleError(&error);
    EXPECT_FALSE(error) << error->localizedDescription();
}

TEST_F(QZResourceBundleTest, EveryRegisteredKeyValidatesAndKeepsItsRegistration)
{
    NSLogCapture log;
    auto store = QZPhotoEditorCustomization::options();
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
    ASSERT_EQ(store->instanceOptions().size(), 16u);
    for (const auto& [keyPath, option] : store->instanceOptions()) {
        SCOPED_TRACE(keyPath);
        EXPECT_TRUE(store->validateKeyPath(keyPath));
        // Listed at its own place, so removing a value never drops the option and its default.
        EXPECT_FALSE(store->shouldDeleteValueAtKeyPath(keyPath));
        // Each default is one its own validator accepts (on a pad, which allows orientation lists).
        EXPECT_TRUE(option->validateValue(option->defaultValue()));
    }
    EXPECT_EQ(QZPhotoEditorCustomization::optionValueForKey("editor.tool.crop.presets"),
              QZSDKResources::plugins()["crop"]["settings"]["presets"]);
    // The root screen copies its canvas colour in, but no option takes it.
    QZPhotoEditorCustomization::setOptionValue("#202020", "editor.canvasColor");
    EXPECT_EQ(store->instanceOptions().size(), 16u);
    EXPECT_GT(QZPhotoEditorCustomization::optionValueForKey("editor.tool.crop.presets").count(), 0u);
}

TEST_F(QZResourceBundleTest, TheToolTableDescribesTheSixteenTools)
{
    Value toolOrder = QZPhotoEditorCustomization::optionValueForKey("editor.toolOrder");
    ASSERT_EQ(toolOrder.count(), 16u);
    Value plugins = QZSDKResources::plugins();
    EXPECT_EQ(plugins.count(), 16u);
    for (const Value& key : *toolOrder.asArray()) {
        SCOPED_TRACE(key.stringValue());
        Value entry = plugins[key.stringValue()];
        ASSERT_TRUE(entry.isDictionary());
        for (const char* field : {"class", "key", "title", "icon"}) EXPECT_TRUE(entry[field].isString()) << field;
        EXPECT_TRUE(entry["settings"].isDictionary());
        EXPECT_EQ(entry["key"], key);
    }
    for (const char* tool : {"draw", "text"}) {
        Value colors = plugins[tool]["settings"]["colors"];
        ASSERT_TRUE(colors.isArray()) << tool;
        EXPECT_GT(colors.count(), 1u);
    }
}

TEST_F(QZResourceBundleTest, EveryLocalisationTranslatesTheTitlesAndTheHomeScreensTexts)
{
    auto bundle = QZSDKResources::resourceBundle();
    ASSERT_EQ(bundle->developmentLocalization(), "en");
    std::vector<std::string> keys = {"Cancel", "Back", "Exit", "Done", "Save", "Next", "Send",
                                     // the home screen's buttons, panels and alerts
                                     "Restore Original", "Retake Photo", "Leave the App?", "Send Feedback",
                                     "Visit the Developer Site", "Powered by Tessel", "Set up Mail",
                                     "Tessel is the world's leading photo editing platform. Developers: learn how "
                                     "to add it to your app in minutes."};
    Value plugins = QZSDKResources::plugins();
    for (const auto& [tool, entry] : *plugins.asDictionary()) keys.push_back(entry["title"].stringValue());
    ASSERT_GE(bundle->localizations().size(), 2u);
    for (const std::string& language : bundle->localizations()) {
        SCOPED_TRACE(language);
        auto path = QZPathForLocalizedResource("Localizable", "strings", language);
        ASSERT_TRUE(path);
        std::shared_ptr<NSError> error;
        Value table = Value::fromPropertyListFile(*path, &error);
        ASSERT_TRUE(table.isDictionary()) << (error ? error->localizedDescription() : "");
        for (const std::string& key : keys) EXPECT_TRUE(table[key].isString()) << key;
    }
    PlatformSettings::setPreferredLanguages({"pt-BR"});
    EXPECT_EQ(QZLocalizedString("Cancel"), "Cancelar");
}

TEST_F(QZResourceBundleTest, ColourKeysInUseResolve)
{
    NSLogCapture log;
    for (const char* key : {"editor.textColor", "editor.textShadowColor", "editor.highlightedTextColor",
                            "editor.navigationBarTextColor", "editor.navigationBarTextShadowColor",
                            "editor.applyButtonDefaultTextColor", "editor.cancelButtonDefaultTextColor"})
        EXPECT_TRUE(QZPhotoEditorCustomization::colorOptionValueForKey(key)) << key;
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
}

TEST_F(QZResourceBundleTest, IconsAreRenderedAtOneAndTwoTimes)
{
    struct Row {
        float scale;
        size_t pixels;
    } rows[] = {{1, 24}, {2, 48}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.scale);
        PlatformSettings::setScreenScale(row.scale);
        QZSDKResources::unloadResources();
        auto knob = QZSDKResources::imageNamed("smallKnob.png");
        ASSERT_TRUE(knob);
        EXPECT_EQ(knob->scale(), row.scale);
        EXPECT_EQ(CGImageGetWidth(knob->CGImage()), row.pixels);
        EXPECT_EQ(knob->size().width, 24);
    }
}

}  // namespace
