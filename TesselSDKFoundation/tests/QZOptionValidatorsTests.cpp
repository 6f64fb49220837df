#include <gtest/gtest.h>

#include "CoreGraphics/CGImage.h"
#include "Foundation/PlatformSettings.h"
#include "UIKit/UIDevice.h"
#include "TesselSDKFoundation/QZOptionValidators.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"

namespace {

Value color(std::shared_ptr<UIColor> c) { return Value(std::move(c)); }

Value patternColor()
{
    const uint8_t pixel[] = {255, 0, 0, 255};
    CGImageRef image = CGImageCreateWithRGBABytes(1, 1, 4, pixel);
    auto pattern = UIColor::colorWithPatternImage(UIImage::imageWithCGImage(image));
    CGImageRelease(image);
    return color(pattern);
}

Value preset(Value width, Value height) { return Value::dictionary({{"width", width}, {"height", height}}); }

class QZOptionValidators : public ::testing::Test {
protected:
    void SetUp() override { PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPad); }
    void TearDown() override { PlatformSettings::reset(); }
};

TEST_F(QZOptionValidators, AcceptAndRefuseAsTheirRulesSay)
{
    Value titles = Value::array({"Done", "Save", "Next", "Send"});
    Value tools = Value::array({"crop", "text", "draw"});
    Value red = color(UIColor::redColor()), grey = color(UIColor::whiteColor());
    struct Row {
        const char* what;
        validatorBlock validator;
        Value value;
        bool accepted;
    } rows[] = {
        {"title in the list", stringValueValidator(titles), "Save", true},
        {"title differing in case", stringValueValidator(titles), "done", false},
        {"title as a number", stringValueValidator(titles), 1, false},
        {"RGB colour", rgbColorValidator(), red, true},
        {"grey colour", rgbColorValidator(), grey, true},
        {"pattern colour", rgbColorValidator(), patternColor(), false},
        {"colour as a string", rgbColorValidator(), "#FF0000", false},
        {"orientations on a pad", supportedOrientationsValidator(), Value::array({1, 2, 3, 4}), true},
        {"one orientation", supportedOrientationsValidator(), Value::array({3}), true},
        {"no orientation", supportedOrientationsValidator(), Value::array(), false},
        {"five orientations", supportedOrientationsValidator(), Value::array({1, 2, 3, 4, 1}), false},
        {"orientation 5", supportedOrientationsValidator(), Value::array({1, 5}), false},
        {"orientation 0", supportedOrientationsValidator(), Value::array({0}), false},
        {"orientation as text", supportedOrientationsValidator(), Value::array({"1"}), false},
        {"tool order", toolOrderValidator(tools), Value::array({"text", "crop"}), true},
        {"empty tool order", toolOrderValidator(tools), Value::array(), false},
        {"unknown tool among known", toolOrderValidator(tools), Value::array({"crop", "blur", "text"}), false},
        {"tool order not an array", toolOrderValidator(tools), "crop", false},
        {"preset without name", singleCropPresetValidator(), preset(4, 3), true},
        {"preset with name", singleCropPresetValidator(),
         Value::dictionary({{"name", "Square"}, {"width", 1}, {"height", 1}}), true},
        {"preset with numeric name", singleCropPresetValidator(),
         Value::dictionary({{"name", 7}, {"width", 1}, {"height", 1}}), false},
        {"preset without height", singleCropPresetValidator(), Value::dictionary({{"width", 1}}), false},
        {"preset with negative width", singleCropPresetValidator(), preset(-1, 3), false},
        {"empty preset list", cropPresetsValidator(), Value::array(), true},
        {"presets all valid", cropPresetsValidator(), Value::array({preset(4, 3), preset(0, 0)}), true},
        {"preset width as a string", cropPresetsValidator(), Value::array({preset(4, 3), preset("16", 9)}), false},
        {"cell width 20", cellWidthValidator(), 20, true},
        {"cell width 120", cellWidthValidator(), 120.0, true},
        {"cell width 19.9", cellWidthValidator(), 19.9, false},
        {"cell width 120.5", cellWidthValidator(), 120.5, false},
        {"cell width as text", cellWidthValidator(), "50", false},
        {"colour choice", colorChoiceValidator(), Value::array({red, grey}), true},
        {"empty colour choice", colorChoiceValidator(), Value::array(), false},
        {"colour choice with a pattern", colorChoiceValidator(), Value::array({red, patternColor()}), false},
        {"text colours of equal length", textColorValidator(),
         Value::dictionary({{"fillColors", Value::array({red, grey})}, {"borderColors", Value::array({grey, red})}}), true},
        {"text colours of unequal length", textColorValidator(),
         Value::dictionary({{"fillColors", Value::array({red, grey})}, {"borderColors", Value::array({grey})}}), false},
        {"text colours without borders", textColorValidator(), Value::dictionary({{"fillColors", Value::array({red})}}), false},
        {"brush sizes 5 and 80", brushSizeValidator(), Value::array({5, 80}), true},
        {"brush size 4.9", brushSizeValidator(), Value::array({10, 4.9}), false},
        {"brush size 80.1", brushSizeValidator(), Value::array({80.1}), false},
        {"no brush sizes", brushSizeValidator(), Value::array(), false},
        {"index 3", positiveIndexValidator(), 3, true},
        {"index 0", positiveIndexValidator(), 0, true},
        {"index 3.0 as a real", positiveIndexValidator(), 3.0, true},
        {"index 3.5", positiveIndexValidator(), 3.5, false},
        {"index -1", positiveIndexValidator(), -1, false},
        {"index as text", positiveIndexValidator(), "3", false},
    };
    for (const Row& row : rows) EXPECT_EQ(row.validator(row.value), row.accepted) << row.what;
}

TEST_F(QZOptionValidators, OrientationsAreRefusedOnThePhoneIdiom)
{
    validatorBlock validator = supportedOrientationsValidator();
    PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPhone);
    for (const Value& value : {Value::array({1}), Value::array({1, 2, 3, 4}), Value::array({2, 4})})
        EXPECT_FALSE(validator(value));
    // The idiom is read when a value is checked, not when the block is made.
    PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPad);
    EXPECT_TRUE(validator(Value::array({2, 4})));
}

}  // namespace
