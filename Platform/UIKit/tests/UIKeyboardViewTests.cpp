// The keyboard's own keys, played with touches as a person plays them: what each key types into
// the focused text, shift and the digits page, and the key drawn pressed under the finger.
#include "UIKeyInputTestSupport.h"

#include "CoreGraphics/CGImage.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIKeyboardView.h"

namespace {

// Where a key lies on a phone's 320 x 216 panel at the window's bottom (y 352): ten 32-point
// units across, four 54-point rows.
struct KeyAt {
    const char* name;
    int row;
    CGFloat unit;  // the key's middle, in units from the row's left
};

const KeyAt kKeys[] = {
    {"q", 0, 0.5f},  {"t", 0, 4.5f},     {"p", 0, 9.5f},      {"1", 0, 0.5f},     {"4", 0, 3.5f},
    {"2", 0, 1.5f},  {"a", 1, 1.0f},     {"g", 1, 5.0f},      {"h", 1, 6.0f},     {"-", 1, 0.5f},
    {"z", 2, 2.0f},  {"shift", 2, 0.65f}, {"backspace", 2, 9.35f}, {".", 2, 2.2f}, {"!", 2, 6.4f},
    {"123", 3, 1.25f}, {"ABC", 3, 1.25f}, {"space", 3, 5.0f}, {"return", 3, 8.75f},
};

CGPoint keyPoint(const std::string& name)
{
    for (const KeyAt& key : kKeys)
        if (name == key.name) return CGPointMake(key.unit * 32, 352 + key.row * 54 + 27);
    ADD_FAILURE() << "no key " << name;
    return CGPointZero;
}

class KeyboardKeysTest : public KeyInputTest {
protected:
    void SetUp() override
    {
        KeyInputTest::SetUp();
        view = textView("t");
        view->setAutocapitalizationType(UITextAutocapitalizationTypeNone);
        ASSERT_TRUE(view->becomeFirstResponder());
        driver.advance(0.3);  // the slide up
        panel = std::dynamic_pointer_cast<UIKeyboardView>(UIKeyboard::sharedKeyboard()->panelView());
        ASSERT_NE(panel, nullptr);
        ASSERT_EQ(rectText(panel->frame()), "(0, 352, 320, 216)");
    }
    void tapKeys(const std::vector<std::string>& keys)
    {
        for (const std::string& key : keys) {
            driver.tap(keyPoint(key));
            driver.advance(0.05);
        }
    }
    // The panel's colour a few points inside the key's top left corner (clear of its caption).
    uint8_t keyFace(const std::string& key)
    {
        driver.turn();  // the panel redraws on the run loop's turn
        const CGPoint p = panel->convertPointFromView(keyPoint(key), nullptr);
        auto snapshot = UIViewSnapshot(*panel);
        CGImageRef image = snapshot->CGImage();
        const CGFloat scale = CGFloat(CGImageGetWidth(image)) / panel->bounds().size.width;
        const size_t x = size_t((std::floor(p.x / 32) * 32 + 6) * scale);
        const size_t y = size_t((std::floor(p.y / 54) * 54 + 6) * scale);
        return CGImageGetBytes(image)[y * CGImageGetBytesPerRow(image) + x * 4];
    }

    std::shared_ptr<UITextView> view;
    std::shared_ptr<UIKeyboardView> panel;
};

TEST_F(KeyboardKeysTest, TappedKeysTypeIntoTheFocusedText)
{
    struct Case {
        const char* name;
        std::vector<std::string> keys;
        const char* text;
    };
    const Case cases[] = {
        {"letters", {"q", "t", "p"}, "qtp"},
        {"shift holds for one letter", {"shift", "g", "h"}, "Gh"},
        {"shift pressed twice is off", {"shift", "shift", "a"}, "a"},
        {"space, return and backspace", {"a", "space", "z", "backspace", "return", "h"}, "a \nh"},
        {"the digits page and back", {"123", "1", "2", "-", ".", "!", "ABC", "a"}, "12-.!a"},
        {"backspace on the digits page", {"123", "4", "4", "backspace", "ABC"}, "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->setText("");
        tapKeys(c.keys);
        EXPECT_EQ(view->text(), c.text);
        EXPECT_FALSE(panel->isShifted());
        EXPECT_FALSE(panel->showsDigits());
    }
}

TEST_F(KeyboardKeysTest, TheKeysFollowTheTextsCapitalisationAsTheHardwareKeysDo)
{
    view->setAutocapitalizationType(UITextAutocapitalizationTypeSentences);
    tapKeys({"h", "a", "123", ".", "ABC", "space", "t"});
    EXPECT_EQ(view->text(), "Ha. T");
    ASSERT_TRUE(driver.typeText(" g"));
    EXPECT_EQ(view->text(), "Ha. T g") << "the hardware keys still type";
}

TEST_F(KeyboardKeysTest, TheKeyUnderTheFingerIsDrawnPressedAndTypesOnTheLift)
{
    const uint8_t letter = keyFace("g");
    driver.touchDown(1, keyPoint("g"));
    EXPECT_EQ(panel->pressedKey(), "g");
    EXPECT_LT(keyFace("g"), letter - 40) << "a pressed letter darkens";
    EXPECT_EQ(view->text(), "") << "nothing typed before the lift";

    // Sliding onto the next key moves the press; the lift types that one.
    driver.touchMove(1, keyPoint("h"));
    EXPECT_EQ(panel->pressedKey(), "h");
    EXPECT_EQ(keyFace("g"), letter);
    driver.touchUp(1, keyPoint("h"));
    EXPECT_EQ(panel->pressedKey(), "");
    EXPECT_EQ(view->text(), "h");
    EXPECT_EQ(keyFace("h"), letter);

    // A press off the keys (the margin beside the middle row) types nothing.
    driver.tap(CGPointMake(5, 352 + 54 + 27));
    EXPECT_EQ(view->text(), "h");

    // Shift engaged is drawn light like a letter until the next letter.
    const uint8_t function = keyFace("shift");
    EXPECT_LT(function, letter - 40);
    tapKeys({"shift"});
    EXPECT_EQ(keyFace("shift"), letter);
    tapKeys({"a"});
    EXPECT_EQ(keyFace("shift"), function);
    EXPECT_EQ(view->text(), "hA");
}

}  // namespace
