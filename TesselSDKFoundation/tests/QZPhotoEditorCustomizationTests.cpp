#include <gtest/gtest.h>

#include <filesystem>

#include "Foundation/NSLogCapture.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/tests/QZResourceFixture.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UIImage.h"

namespace {

Value names(std::initializer_list<const char*> list)
{
    Value dictionary = Value::dictionary();
    for (const char* name : list) dictionary.setObject("", name);
    return dictionary;
}

const std::initializer_list<const char*> kToolKeys = {"enhance", "effects",     "frames",    "stickers", "focus",  "orientation",
                                                       "crop",    "adjustments", "sharpness", "splash",   "draw",   "text",
                                                       "redeye",  "whiten",      "blemish",   "meme"};

Value toolKeys()
{
    Value keys = Value::array();
    for (const char* key : kToolKeys) keys.addObject(key);
    return keys;
}

// A key tree with the registered keys, "tint" inheritable from "editor" down, and "grid"
// valid below "tool" only.
Value fixtureKeyTree()
{
    Value crop = Value::dictionary(
        {{"non-inheritable", names({"cellWidth", "presets", "enableInvert", "enableOriginal", "enableCustom"})}});
    Value text = Value::dictionary({{"non-inheritable", names({"fontName"})}});
    Value tool = Value::dictionary(
        {{"non-inheritable", names({"grid"})},
         {"subkeys", Value::dictionary({{"crop", crop}, {"text", text}, {"draw", Value::dictionary()}})}});
    Value editor = Value::dictionary(
        {{"non-inheritable",
          names({"disableLocalization", "leftNavigationBarButtonTitle", "rightNavigationBarButtonTitle", "supportedOrientations",
                 "toolOrder", "purgesGPUMemory", "statusBarColor", "statusBarStyle", "useTDVStagingEnvironment", "usingIOS6SDK"})},
         {"inheritable", names({"tint"})},
         {"subkeys", Value::dictionary({{"tool", tool}})}});
    return Value::dictionary({{"editor", editor}});
}

Value preset(Value width, Value height) { return Value::dictionary({{"width", width}, {"height", height}}); }

Value fixturePresets() { return Value::array({preset(1, 1), preset(4, 3)}); }

class QZPhotoEditorCustomizationTest : public QZResourceFixture {
protected:
    void SetUp() override
    {
        QZResourceFixture::SetUp();
        writePlist("QZCustomizationDictionary.plist", fixtureKeyTree());
        Value plugins = Value::dictionary();
        for (const char* key : kToolKeys) plugins.setObject(Value::dictionary({{"key", key}}), key);
        plugins.setObject(Value::dictionary({{"settings", Value::dictionary({{"presets", fixturePresets()}})}}), "crop");
        writePlist("TesselSDKPlugins.plist", Value::dictionary({{"plugins", plugins}, {"packs", Value::dictionary()}}));
        PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPad);
    }
};

using Customization = QZPhotoEditorCustomization;

TEST_F(QZPhotoEditorCustomizationTest, RegisteredOptionsReadDefaultsStoredValuesAndDefaultsForRefusedValues)
{
    auto red = Value(UIColor::redColor());
    struct Row {
        const char* key;
        Value defaultValue;
        std::function<void()> typedSetter;  // stores `stored`
        Value stored;
        Value refused;
    } rows[] = {
        {"editor.disableLocalization", false, [] { Customization::disableLocalization(true); }, true, "YES"},
        {"editor.leftNavigationBarButtonTitle", "Cancel", [] { Customization::setLeftNavigationBarButtonTitle("Back"); },
         "Back", "done"},
        {"editor.rightNavigationBarButtonTitle", "Done", [] { Customization::setRightNavigationBarButtonTitle("Send"); },
         "Send", "Cancel"},
        {"editor.supportedOrientations", Value::array({1}),
         [] { Customization::setSupportedIpadOrientations(Value::array({3, 4})); }, Value::array({3, 4}),
         Value::array({1, 5})},
        {"editor.toolOrder", toolKeys(), [] { Customization::setToolOrder(Value::array({"crop", "text"})); },
         Value::array({"crop", "text"}), Value::array({"crop", "blur"})},
        {"editor.purgesGPUMemory", false, [] { Customization::purgeGPUMemoryWhenPossible(true); }, true, "1"},
        {"editor.statusBarColor", Value(UIColor::blackColor()),
         [red] { Customization::setStatusBarBackgroundColor(red.object<UIColor>()); }, red, "#FF0000"},
        {"editor.statusBarStyle", 1, [] { Customization::setStatusBarStyle(0); }, 0, "0"},
        {"editor.useTDVStagingEnvironment", false, [] { Customization::useTDVStagingEnvironment(true); }, true, "YES"},
        {"editor.usingIOS6SDK", false, [] { Customization::setUsingIOS6SDK(true); }, true, Value::array()},
        {"editor.tool.text.fontName", "ArialMT", [] { Customization::setOptionValue("Helvetica", "editor.tool.text.fontName"); },
         "Helvetica", 12},
        {"editor.tool.crop.cellWidth", 60.0f, [] { Customization::setCropToolCellWidth(100); }, 100.0f, 150.0f},
        {"editor.tool.crop.presets", fixturePresets(),
         [] { Customization::setCropToolPresets(Value::array({preset(16, 9)})); }, Value::array({preset(16, 9)}),
         Value::array({preset("16", 9)})},
        {"editor.tool.crop.enableInvert", true, [] { Customization::setCropToolInvertEnabled(false); }, false, "NO"},
        {"editor.tool.crop.enableOriginal", true, [] { Customization::setCropToolOriginalEnabled(false); }, false, "NO"},
        {"editor.tool.crop.enableCustom", true, [] { Customization::setCropToolCustomEnabled(false); }, false, "NO"},
    };
    ASSERT_EQ(std::size(rows), 16u);
    NSLogCapture log;
    ASSERT_EQ(Customization::options()->instanceOptions().size(), 16u);
    for (Row& row : rows) {
        SCOPED_TRACE(row.key);
        ASSERT_TRUE(Customization::options()->instanceOptions().count(row.key));
        if (row.defaultValue.isObject()) {
            auto color = Customization::optionValueForKey(row.key).object<UIColor>();
            ASSERT_TRUE(color);
            EXPECT_TRUE(color->isEqual(*UIColor::blackColor()));
        } else {
            EXPECT_EQ(Customization::optionValueForKey(row.key), row.defaultValue);
        }
        row.typedSetter();
        EXPECT_EQ(Customization::optionValueForKey(row.key), row.stored);
        Customization::setOptionValue(row.refused, row.key);
        if (!row.defaultValue.isObject()) EXPECT_EQ(Customization::optionValueForKey(row.key), row.defaultValue);
        else EXPECT_TRUE(Customization::optionValueForKey(row.key).object<UIColor>()->isEqual(*UIColor::blackColor()));
    }
    // A refused value is never reported.
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
}

TEST_F(QZPhotoEditorCustomizationTest, OrientationsOnAPhoneAlwaysReadTheDefault)
{
    PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPhone);
    Customization::setSupportedIpadOrientations(Value::array({1, 2, 3, 4}));
    EXPECT_EQ(Customization::optionValueForKey("editor.supportedOrientations"), Value::array({1}));
    PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPad);
    EXPECT_EQ(Customization::optionValueForKey("editor.supportedOrientations"), Value::array({1, 2, 3, 4}));
}

TEST_F(QZPhotoEditorCustomizationTest, KeyPathsValidateAgainstTheTree)
{
    auto store = Customization::make(fixtureKeyTree());
    struct Row {
        const char* keyPath;
        bool valid;
    } rows[] = {
        {"editor.toolOrder", true},
        {"editor.tool.crop.cellWidth", true},
        {"editor.tool.crop.cellWidth-narrow", true},
        {"editor.tint", true},
        {"editor.tool.crop.tint", true},   // inheritable names stay for the rest of the path
        {"editor.tool.grid", true},
        {"editor.tool.crop.grid", false},  // non-inheritable names are replaced at each entry
        {"editor.tool.toolOrder", false},
        {"editor.tool.crop.blur", false},
        {"editor.nowhere.tint", false},
        {"editor.tint.tool.crop.cellWidth", true},  // a passed name does not move down the tree
        {"tool.crop.cellWidth", false},
        {"", false},
    };
    for (const Row& row : rows) EXPECT_EQ(store->validateKeyPath(row.keyPath), row.valid) << row.keyPath;
}

// A key tree from a content pack with the wrong kind at a key validates nothing below that key,
// and a very deep one is walked without trouble; neither crashes, and reads below answer nil.
TEST_F(QZPhotoEditorCustomizationTest, ABrokenKeyTreeValidatesNothingBelowTheBreak)
{
    NSLogCapture log;
    Value subkeysAnArray = fixtureKeyTree();
    Value editor = subkeysAnArray["editor"];
    editor.setObject(Value::array({"tool"}), "subkeys");
    subkeysAnArray.setObject(editor, "editor");
    Value namesAString = fixtureKeyTree();
    editor = namesAString["editor"];
    editor.setObject("toolOrder", "non-inheritable");
    namesAString.setObject(editor, "editor");
    Value deep = Value::dictionary({{"non-inheritable", names({"leaf"})}});
    std::string deepPath = "leaf";
    for (int i = 0; i < 600; ++i) {
        deep = Value::dictionary({{"subkeys", Value::dictionary({{"n", deep}})}});
        deepPath = "n." + deepPath;
    }
    deep = Value::dictionary({{"editor", deep}});
    struct Row {
        const char* name;
        Value tree;
        std::string keyPath;
        bool valid;
    } rows[] = {
        {"editor a string", Value::dictionary({{"editor", "text"}}), "editor.toolOrder", false},
        {"tree an array", Value::array({"editor"}), "editor.toolOrder", false},
        {"subkeys an array", subkeysAnArray, "editor.tool.grid", false},
        {"subkeys an array, above the break", subkeysAnArray, "editor.toolOrder", true},
        {"names a string", namesAString, "editor.toolOrder", false},
        {"600 levels deep", deep, "editor." + deepPath, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto store = Customization::make(row.tree);
        EXPECT_EQ(store->validateKeyPath(row.keyPath), row.valid);
        if (!row.valid) {
            EXPECT_TRUE(store->instanceOptionValueForKey(row.keyPath).isNil());
        }
    }
}

TEST_F(QZPhotoEditorCustomizationTest, ToolKeysInheritLessSpecificValuesAndRemovalRestoresInheritance)
{
    auto store = Customization::make(fixtureKeyTree());
    store->addOption("editor.tint", "grey");
    store->addOption("editor.tool.draw.tint", "drawDefault");

    // With no value anywhere the most specific registered option answers with its default.
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.draw.tint"), Value("drawDefault"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.crop.tint"), Value("grey"));

    // Storing below "editor.tool.crop" copies the inherited option there.
    store->setOption("crop", "editor.tool.crop.tint");
    ASSERT_TRUE(store->instanceOptions().count("editor.tool.crop.tint"));
    EXPECT_NE(store->instanceOptions().at("editor.tool.crop.tint"), store->instanceOptions().at("editor.tint"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.crop.tint"), Value("crop"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tint"), Value("grey"));

    // A less specific option holding a value beats a more specific one holding only its default.
    store->setOption("all", "editor.tint");
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.draw.tint"), Value("all"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.crop.tint"), Value("crop"));

    // The copy validates like its original: the kind of "grey" is a string.
    store->setOption(7, "editor.tool.crop.tint");
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.crop.tint"), Value("grey"));

    // Removing the only value of a copied option drops it: the key inherits again.
    store->removeOptionValueAtKeyPath("editor.tool.crop.tint");
    EXPECT_FALSE(store->instanceOptions().count("editor.tool.crop.tint"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.crop.tint"), Value("all"));

    // An option the tree lists at its own place keeps its registration and reads its default.
    store->setOption(100.0f, "editor.tool.crop.cellWidth");
    store->removeOptionValueAtKeyPath("editor.tool.crop.cellWidth");
    ASSERT_TRUE(store->instanceOptions().count("editor.tool.crop.cellWidth"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.crop.cellWidth"), Value(60.0f));
    EXPECT_FALSE(store->shouldDeleteValueAtKeyPath("editor.tool.crop.cellWidth"));
    EXPECT_TRUE(store->shouldDeleteValueAtKeyPath("editor.tool.crop.tint"));
    EXPECT_TRUE(store->shouldDeleteValueAtKeyPath("editor.nowhere.tint"));

    // A name listed as inheritable at its own place keeps its registration too.
    store->removeOptionValueAtKeyPath("editor.tint");
    EXPECT_TRUE(store->instanceOptions().count("editor.tint"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.draw.tint"), Value("drawDefault"));
}

TEST_F(QZPhotoEditorCustomizationTest, InvalidKeyPathsStoreNothingAndModifiersKeepValuesApart)
{
    auto store = Customization::make(fixtureKeyTree());
    const size_t registered = store->instanceOptions().size();
    {
        NSLogCapture log;
        store->setOption(5, "editor.tool.crop.blur");
        EXPECT_EQ(store->instanceOptions().size(), registered);
        EXPECT_TRUE(log.lines().empty());  // storing nothing is not reported
        EXPECT_TRUE(store->instanceOptionValueForKey("editor.tool.crop.blur").isNil());
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_EQ(log.lines()[0], "-[QZPhotoEditorCustomization optionValueForKey:] invalid key, editor.tool.crop.blur");
    }
    {
        // A valid path whose leaf has no registered option on any level stores nothing either.
        NSLogCapture log;
        store->setOption("blue", "editor.tool.draw.tint");
        store->setOptionWithBlock([] { return Value("blue"); }, "editor.tool.draw.tint");
        EXPECT_EQ(store->instanceOptions().size(), registered);
        EXPECT_TRUE(store->instanceOptionValueForKey("editor.tool.draw.tint").isNil());
        EXPECT_TRUE(log.lines().empty());
    }
    {
        // An invalid default key is logged and registered anyway, but reads nil.
        NSLogCapture log;
        store->addOption("editor.tool.crop.blur", 3);
        EXPECT_TRUE(log.contains("-[QZPhotoEditorCustomization addOption:defaultValue:validate:] invalid default key, "
                                 "editor.tool.crop.blur"));
        EXPECT_TRUE(store->instanceOptions().count("editor.tool.crop.blur"));
        EXPECT_TRUE(store->instanceOptionValueForKey("editor.tool.crop.blur").isNil());
    }

    EXPECT_EQ(store->modifierForKey("editor.tool.text.fontName-bold"), "bold");
    EXPECT_EQ(store->modifierForKey("editor.tool.text.fontName"), "");
    EXPECT_EQ(store->modifierForKey("editor.tool.text.fontName-bold-x"), "");
    EXPECT_EQ(store->unModifiedKeyForKey("editor.tool.text.fontName-bold-x"), "editor.tool.text.fontName");

    store->setOption("Bold", "editor.tool.text.fontName-bold");
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.text.fontName-bold"), Value("Bold"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.text.fontName"), Value("ArialMT"));
    // Two "-": the empty modifier.
    store->setOption("Plain", "editor.tool.text.fontName-bold-x");
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.text.fontName"), Value("Plain"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.text.fontName-italic-x"), Value("Plain"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.text.fontName-bold"), Value("Bold"));
    // Removing one modifier's value leaves the other's.
    store->removeOptionValueAtKeyPath("editor.tool.text.fontName-bold");
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.text.fontName-bold"), Value("ArialMT"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.text.fontName"), Value("Plain"));

    // A modifier stored below a tool copies the inherited option for that modifier only.
    store->addOption("editor.tint", "grey");
    store->setOptionWithBlock([] { return Value("dark"); }, "editor.tool.crop.tint-dark");
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.crop.tint-dark"), Value("dark"));
    EXPECT_EQ(store->instanceOptionValueForKey("editor.tool.crop.tint"), Value("grey"));
}

TEST_F(QZPhotoEditorCustomizationTest, ValueBlocksRunAtEveryReadAndNilReadsTheDefault)
{
    int calls = 0;
    Value result = "Helvetica";
    Customization::setOptionValueWithBlock(
        [&] {
            ++calls;
            return result;
        },
        "editor.tool.text.fontName");
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(Customization::optionValueForKey("editor.tool.text.fontName"), Value("Helvetica"));
    result = "Courier";
    EXPECT_EQ(Customization::optionValueForKey("editor.tool.text.fontName"), Value("Courier"));
    EXPECT_EQ(calls, 2);
    result = Value();
    EXPECT_EQ(Customization::optionValueForKey("editor.tool.text.fontName"), Value("ArialMT"));
    EXPECT_EQ(calls, 3);
    // A plain value replaces the block in the same entry.
    Customization::setOptionValue("Times", "editor.tool.text.fontName");
    EXPECT_EQ(Customization::optionValueForKey("editor.tool.text.fontName"), Value("Times"));
    EXPECT_EQ(calls, 3);
}

TEST_F(QZPhotoEditorCustomizationTest, ImageOptionsLoadTheMainBundleImageAtEveryRead)
{
    Customization::options()->addOption("editor.tint", Value(), QZValueClass::objectsOf<UIImage>("UIImage"));
    writePNG(mainBundle() / "swatch.png", 3, 2);
    PlatformSettings::setScreenScale(1);
    Customization::setOptionWithImageNamed("swatch.png", "editor.tint");
    auto image = Customization::optionValueForKey("editor.tint").object<UIImage>();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size().width, 3);
    EXPECT_EQ(image->size().height, 2);
    Customization::setOptionWithImageNamed("missing.png", "editor.tint");
    EXPECT_TRUE(Customization::optionValueForKey("editor.tint").isNil());
}

TEST_F(QZPhotoEditorCustomizationTest, ColoursComeFromTheColourTableWithEveryFaultLogged)
{
    writePlist("Colors.plist",
               Value::dictionary({{"red", Value::dictionary({{"hex", "#FF0000"}, {"alpha", 0.5}})},
                                  {"plain", "#00FF00"},
                                  {"wrongTypes", Value::dictionary({{"hex", 0xFF0000}, {"alpha", "1"}})},
                                  {"noAlpha", Value::dictionary({{"hex", "x0000FF"}})}}));
    const std::string method = "+[QZPhotoEditorCustomization colorOptionValueForKey:] ";
    const std::string wrongForm = method + "Invalid keypath for color option. Must be of the form editor.*";
    struct Row {
        const char* key;
        bool readsRed;
        std::vector<std::string> log;
    } rows[] = {
        {"editor.red", true, {}},
        {"theme.red", true, {wrongForm}},
        {"editor.red.more", true, {wrongForm}},
        {"red", false, {wrongForm}},
        {"editor.missing", false, {method + "Can't find option missing"}},
        {"editor.plain", false, {method + "Item for key path plain is not a dictionary"}},
        {"editor.wrongTypes", false,
         {method + "Item for key path wrongTypes does not have the expected hex and alpha entries. If they exist, they may "
                   "be of the wrong type"}},
        {"editor.noAlpha", false,
         {method + "Item for key path noAlpha does not have the expected hex and alpha entries. If they exist, they may be "
                   "of the wrong type"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        NSLogCapture log;
        auto color = Customization::colorOptionValueForKey(row.key);
        EXPECT_EQ(log.lines(), row.log);
        if (!row.readsRed) {
            EXPECT_FALSE(color);
            continue;
        }
        ASSERT_TRUE(color);
        CGFloat r, g, b, a;
        ASSERT_TRUE(color->getRed(&r, &g, &b, &a));
        EXPECT_EQ(r, 1);
        EXPECT_EQ(g, 0);
        EXPECT_EQ(b, 0);
        EXPECT_EQ(a, 0.5f);
    }
    // Read once per process: a changed table is not seen, even after the bundle is unloaded.
    writePlist("Colors.plist", Value::dictionary());
    QZSDKResources::unloadResources();
    EXPECT_TRUE(Customization::colorOptionValueForKey("editor.red"));
    // The store does not answer colour keys, nor the colour table store keys.
    EXPECT_TRUE(Customization::optionValueForKey("editor.red").isNil());
}

TEST_F(QZPhotoEditorCustomizationTest, ExportStatusGivesItsMessageOrNoError)
{
    const std::string modified = "It appears that you have manually modified the resource bundle. Please try exporting "
                                 "from the TesselSDKCustomizer again.";
    struct Row {
        Value status;  // nil: no Status.plist
        std::string message;  // empty: no error
    } rows[] = {
        {Value(), "Cannot determine the status of the Tessel Resource Bundle. Please try exporting from the "
                  "TesselSDKCustomizer again."},
        {"Unfinished", "Your export from the TesselSDKCustomizer did not complete. Please try exporting from the "
                       "TesselSDKCustomizer again."},
        {"Uncompressed", "Your resource bundle contains uncompressed PNGS. Please be sure to export from the "
                         "TesselSDKCustomizer again with the \"Compress PNGs\" option checked before production."},
        {"Completed", ""},
        {"completed", modified},
        {"", modified},
        {1, modified},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.status.description());
        std::filesystem::remove(bundle() / "Status.plist");
        if (!row.status.isNil()) writePlist("Status.plist", Value::dictionary({{"status", row.status}}));
        // The out-parameter is always written: a stale error from an earlier call goes.
        auto error = NSError::errorWithDescription("stale", 9, "stale");
        Customization::checkForResourceBundleError(&error);
        if (row.message.empty()) {
            EXPECT_FALSE(error);
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 1);
        EXPECT_EQ(error->domain(), kQZResourceBundleErrorDomain);
        EXPECT_EQ(error->localizedDescription(), row.message);
    }
    // Without an out-parameter the check still runs.
    Customization::checkForResourceBundleError(nullptr);
}

TEST_F(QZPhotoEditorCustomizationTest, WithoutTheBundleEveryReadIsNilAndTheCropPresetsAreLogged)
{
    std::filesystem::remove_all(bundle());
    NSLogCapture log;
    EXPECT_TRUE(Customization::optionValueForKey("editor.toolOrder").isNil());
    EXPECT_TRUE(log.contains("-[QZPhotoEditorCustomization(Defaults) fetchDefaultCropPresets] nil plugins!"));
    EXPECT_TRUE(log.contains("invalid default key, editor.tool.crop.cellWidth"));
    Customization::clearCustomization();
    EXPECT_TRUE(log.contains("+[QZPhotoEditorCustomization clearCustomization] should only be used in testing!!"));
}

}  // namespace
