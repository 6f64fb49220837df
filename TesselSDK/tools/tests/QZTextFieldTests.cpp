// The Core Text field through the keyboard and by touch: what it tells its delegate, where its
// cursor goes and stands, how it measures, and which character a tap lands on.
#include "QZTextToolTestSupport.h"

#include "UIKit/UIGraphics.h"

namespace {

using Heard = std::vector<std::string>;

bool blinking(const QZTextField& field)
{
    return field.cursorView()->layer()->animationForKey("opacity") != nullptr;
}

TEST_F(QZTextToolTest, TypingTellsTheDelegateAndHoldsTheCursorSteadyForHalfASecond)
{
    auto f = field(CGRectMake(10, 100, 300, 100), QZTextFieldCenterAlign);
    EXPECT_EQ(f->cursorView()->alpha(), 0) << "no cursor before editing";
    ASSERT_TRUE(f->becomeFirstResponder());
    EXPECT_TRUE(f->isFirstResponder());
    EXPECT_TRUE(UIKeyboard::sharedKeyboard()->isVisible());
    EXPECT_TRUE(blinking(*f));

    ASSERT_TRUE(driver_.typeText("abc"));
    EXPECT_EQ(f->text(), "abc");
    EXPECT_EQ(f->accessibilityLabel(), "abc");
    EXPECT_EQ(f->currentOffset(), 3);
    EXPECT_EQ(log_->heard, (Heard{"begin", "change", "change", "change"}));
    EXPECT_FALSE(blinking(*f));
    EXPECT_EQ(f->cursorView()->alpha(), 1) << "steady while typing";
    driver_.advance(0.4);
    EXPECT_FALSE(blinking(*f)) << "each key restarts the half second";
    driver_.advance(0.15);
    EXPECT_TRUE(blinking(*f));

    ASSERT_TRUE(driver_.pressBackspace());
    EXPECT_EQ(f->currentOffset(), 2);
    ASSERT_TRUE(f->textView()->resignFirstResponder());
    EXPECT_EQ(log_->heard.back(), "end");
    EXPECT_FALSE(blinking(*f));
    EXPECT_EQ(f->cursorView()->alpha(), 0) << "off once editing ends";
    driver_.advance(0.6);
    EXPECT_FALSE(blinking(*f)) << "the pending blink was cancelled";
}

// A field showing a text its hidden view does not hold (a placeholder): the first key's offset
// arithmetic goes negative, and the cursor goes to the end of what was typed.
TEST_F(QZTextToolTest, TheFirstKeyOverAShownTextPutsTheCursorAfterIt)
{
    auto f = field(CGRectMake(10, 100, 300, 100), QZTextFieldCenterAlign);
    f->setText("Enter text here");
    f->setCurrentOffset(0);
    ASSERT_TRUE(f->becomeFirstResponder());
    ASSERT_TRUE(driver_.typeText("H"));
    EXPECT_EQ(f->text(), "H");
    EXPECT_EQ(f->currentOffset(), 1);
}

TEST_F(QZTextToolTest, TheTextMeasuresItsLinesWithRoomForATrailingLineFeed)
{
    auto f = field(CGRectMake(10, 100, 300, 100), QZTextFieldCenterAlign);
    f->setText("");
    EXPECT_EQ(f->textSize().width, 0);
    EXPECT_EQ(f->textSize().height, 0);
    f->setText("ab");
    const CGSize ab = f->textSize();
    CFMutableAttributedStringRef string = f->attributedStringWithString("ab");
    CTLineRef line = CTLineCreateWithAttributedString(string);
    CFRelease(string);
    EXPECT_NEAR(ab.width, CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr) + 20, 0.5);
    CFRelease(line);
    f->setText("ab\n");
    EXPECT_EQ(f->textSize().width, ab.width);
    EXPECT_EQ(f->textSize().height, ab.height + f->fontSize());
    f->setText("ab\ncd");
    EXPECT_GT(f->textSize().height, ab.height * 1.8f);
}

// NUL, escape, a carriage return: no key types them, so whatever sends them to the hidden view
// (the keyboard, a host's text event) the text keeps only the rest, with the caret after it.
TEST_F(QZTextToolTest, ControlCharactersFromAnySourceNeverReachTheText)
{
    auto f = field(CGRectMake(10, 100, 300, 100), QZTextFieldCenterAlign);
    ASSERT_TRUE(f->becomeFirstResponder());
    ASSERT_TRUE(driver_.typeText("ab"));
    f->textView()->insertText(std::string("c\0d\x1b\re\tf", 9));
    EXPECT_EQ(f->text(), "abcde\tf");
    EXPECT_EQ(f->currentOffset(), 7);
    f->textView()->insertText(std::string("\0", 1));
    f->textView()->insertText("\x7f\xc2\x85\xc2\xa9\x01");
    EXPECT_EQ(f->text(), "abcde\tf\xc2\xa9") << "DEL and C1 go, the copyright sign stays";
    ASSERT_TRUE(driver_.pressReturn());
    EXPECT_EQ(f->text(), "abcde\tf\xc2\xa9\n") << "the return key's line feed stays";
}

// Taps on "hello\nworld" (centred, scale 1) land on the characters under the finger.
TEST_F(QZTextToolTest, ATapWhileEditingPlacesTheCursorAtTheTouchedCharacter)
{
    auto f = field(CGRectMake(10, 100, 300, 100), QZTextFieldCenterAlign);
    ASSERT_TRUE(f->becomeFirstResponder());
    ASSERT_TRUE(driver_.typeText("hello"));
    ASSERT_TRUE(driver_.pressReturn());
    ASSERT_TRUE(driver_.typeText("world"));
    struct Case {
        CGPoint at;  // in the field
        NSInteger offset;
    };
    // The first line's glyphs run from about y 20 to 50, the second's from 55 to 85.
    const Case cases[] = {{{2, 72}, 6}, {{298, 72}, 11}, {{298, 38}, 5}, {{2, 38}, 0}, {{150, 99}, 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x << ", " << c.at.y);
        f->setCurrentOffset(3);
        driver_.tap(UITestDriver::windowPoint(*f, c.at));
        EXPECT_EQ(f->currentOffset(), c.offset);
        EXPECT_EQ(f->textView()->selectedRange(), NSMakeRange(NSUInteger(c.offset), 0)) << "the hidden caret follows";
    }
    // A character in the middle of the second line.
    const CGPoint middle = UITestDriver::windowPoint(*f, CGPointMake(150, 72));
    driver_.tap(middle);
    EXPECT_GT(f->currentOffset(), 6);
    EXPECT_LT(f->currentOffset(), 11);
}

TEST_F(QZTextToolTest, ATapWithoutEditingOnlyRaisesTheKeyboardAndAnEmptyTextIgnoresTaps)
{
    auto f = field(CGRectMake(10, 100, 300, 100), QZTextFieldCenterAlign);
    ASSERT_TRUE(f->becomeFirstResponder());
    ASSERT_TRUE(driver_.typeText("hello"));
    ASSERT_TRUE(f->textView()->resignFirstResponder());
    driver_.advance(0.3);
    driver_.tap(UITestDriver::windowPoint(*f, CGPointMake(2, 50)));
    EXPECT_TRUE(f->isFirstResponder());
    EXPECT_EQ(f->currentOffset(), 5) << "the cursor stays where it was";

    f->clearText();
    f->setCurrentOffset(0);
    driver_.tap(UITestDriver::windowPoint(*f, CGPointMake(280, 50)));
    EXPECT_EQ(f->currentOffset(), 0);
    EXPECT_EQ(f->textPostionForLocation(CGPointMake(280, 50)), 0) << "no line: the text's length";
}

// The cursor stands on the line that holds its offset (the later one at a boundary), at the
// character's edge; after a trailing line feed, on the new empty line at the centre.
TEST_F(QZTextToolTest, TheCursorStandsOnTheGlyphsOfItsLine)
{
    struct Case {
        const char* text;
        NSInteger offset;
        int line;  // the line of text it stands on; -1: the empty line after the last
        enum { Left, Right, Centre } edge;
    };
    const Case cases[] = {
        {"hello\nworld", 0, 0, Case::Left},   {"hello\nworld", 5, 0, Case::Right}, {"hello\nworld", 6, 1, Case::Left},
        {"hello\nworld", 11, 1, Case::Right}, {"ab\n", 2, 0, Case::Right},         {"ab\n", 3, -1, Case::Centre},
    };
    for (QZTextViewVerticalAlignment alignment :
         {QZTextFieldTopAlign, QZTextFieldCenterAlign, QZTextFieldBottomAlign}) {
        auto f = field(CGRectMake(10, 100, 300, 140), alignment);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "alignment " << alignment << ", " << c.text << " at " << c.offset);
            f->setText(c.text);
            f->setCurrentOffset(c.offset);
            f->setNeedsDisplay();
            const auto picture = UITestDriver::snapshot(*f);
            const CGRect cursor = f->cursorView()->cursorBounds();
            // The lines' ink, from the picture: split where a blank row falls between them.
            const InkBox all = inkOf(picture);
            ASSERT_FALSE(all.empty());
            std::vector<InkBox> lines;
            int top = all.top;
            for (int row = all.top; row <= all.bottom + 1; ++row) {
                const bool blank = row > all.bottom || inkOf(picture, CGRectMake(0, CGFloat(row), 300, 1)).empty();
                if (blank && top >= 0) {
                    lines.push_back(inkOf(picture, CGRectMake(0, CGFloat(top), 300, CGFloat(row - top))));
                    top = -1;
                } else if (!blank && top < 0) {
                    top = row;
                }
            }
            const CGFloat middle = CGRectGetMidY(cursor);
            if (c.line < 0) {
                EXPECT_GT(cursor.origin.y, lines.back().bottom - 4) << "below the last line";
                EXPECT_EQ(cursor.origin.x, 150);
                continue;
            }
            ASSERT_LT(std::size_t(c.line), lines.size());
            const InkBox& line = lines[std::size_t(c.line)];
            EXPECT_GE(middle, line.top) << "top of line " << line.top;
            EXPECT_LE(middle, line.bottom) << "bottom of line " << line.bottom;
            const CGFloat edge = c.edge == Case::Left ? CGFloat(line.left) : CGFloat(line.right + 1);
            EXPECT_NEAR(cursor.origin.x, edge, 4);
        }
        f->removeFromSuperview();
    }
}

TEST_F(QZTextToolTest, AnEmptyTextPutsTheCursorAtTheAlignmentsPlace)
{
    struct Case {
        QZTextViewVerticalAlignment alignment;
        CGFloat y;
    };
    // Bounds 300 x 100, fontSize 30: 4 from the top; half a font above the bottom edge (the
    // bottom, not the middle); 4 and a font above it.
    for (const Case& c :
         {Case{QZTextFieldTopAlign, 4}, Case{QZTextFieldCenterAlign, 85}, Case{QZTextFieldBottomAlign, 66}}) {
        auto f = field(CGRectMake(10, 100, 300, 100), c.alignment);
        f->setText("");
        UITestDriver::snapshot(*f);
        const CGRect cursor = f->cursorView()->cursorBounds();
        EXPECT_EQ(cursor.origin.x, 150);
        EXPECT_EQ(cursor.origin.y, c.y) << c.alignment;
        EXPECT_EQ(cursor.size.width, 4);
        EXPECT_EQ(cursor.size.height, 30);
        f->removeFromSuperview();
    }
}

// Baked into a bitmap at twice the scale, the text keeps its centre and doubles its ink.
TEST_F(QZTextToolTest, DrawingIntoARectangleScalesAboutItsCentre)
{
    auto f = field(CGRectMake(10, 100, 300, 100), QZTextFieldCenterAlign);
    f->setText("Tessel");
    auto bake = [&](CGFloat scale) {
        f->setScale(scale);
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(400, 200), false, 1);
        f->drawTextInRect(CGRectMake(100, 50, 200, 100));
        auto image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return inkOf(image);
    };
    const InkBox one = bake(1), two = bake(2);
    ASSERT_FALSE(one.empty());
    EXPECT_NEAR((two.right - two.left), 2 * (one.right - one.left), 3);
    EXPECT_NEAR((two.left + two.right) / 2.0, (one.left + one.right) / 2.0, 2);
    EXPECT_NEAR((two.top + two.bottom) / 2.0, (one.top + one.bottom) / 2.0, 3);
}

}  // namespace
