// Typing into a text view through the keyboard: edits of the selection, what the delegate may
// refuse, what backspace takes, and the keyboard's capitalisation.
#include "UIKeyInputTestSupport.h"

#include "Foundation/NSStringUTF16.h"

namespace {

using Log = std::vector<std::string>;

TEST_F(KeyInputTest, KeysEditTheSelectionAsTheDelegateAllows)
{
    enum class Key { Type, Backspace, Return };
    struct Case {
        const char* name;
        const char* text;
        NSRange selection;
        Key key;
        const char* typed;
        std::optional<bool> allow;
        const char* result;
        NSUInteger caret;
        bool changed;
    };
    const Case cases[] = {
        {"insert over a selection", "hello", {1, 3}, Key::Type, "a", std::nullopt, "hao", 2, true},
        {"insert at the caret", "hello", {5, 0}, Key::Type, "!", true, "hello!", 6, true},
        {"refused insert", "abc", {1, 0}, Key::Type, "x", false, "abc", 1, false},
        {"return", "ab", {1, 0}, Key::Return, "", std::nullopt, "a\nb", 2, true},
        {"backspace at the start", "abc", {0, 0}, Key::Backspace, "", std::nullopt, "abc", 0, false},
        {"backspace of a selection", "hello", {1, 3}, Key::Backspace, "", std::nullopt, "ho", 1, true},
        {"backspace of an emoji, whole", "a\U0001F600", {3, 0}, Key::Backspace, "", std::nullopt, "a", 1, true},
        {"backspace of a flag, both halves",
         "x\U0001F1F5\U0001F1F9",
         {5, 0},
         Key::Backspace,
         "",
         std::nullopt,
         "x",
         1,
         true},
        {"backspace of a letter with its mark", "ce\u0301", {3, 0}, Key::Backspace, "", std::nullopt, "c", 1, true},
        {"refused backspace", "abc", {3, 0}, Key::Backspace, "", false, "abc", 3, false},
    };
    auto view = textView("t");
    view->setAutocapitalizationType(UITextAutocapitalizationTypeNone);
    ASSERT_TRUE(view->becomeFirstResponder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->setText(c.text);
        EXPECT_EQ(view->selectedRange(), NSMakeRange(NSStringUTF16Length(c.text), 0))
            << "setting moves the caret to the end";
        view->setSelectedRange(c.selection);
        delegateOf(*view)->allowChanges = c.allow;
        log.clear();
        switch (c.key) {
        case Key::Type: ASSERT_TRUE(driver.typeText(c.typed)); break;
        case Key::Backspace: ASSERT_TRUE(driver.pressBackspace()); break;
        case Key::Return: ASSERT_TRUE(driver.pressReturn()); break;
        }
        EXPECT_EQ(view->text(), c.result);
        EXPECT_EQ(view->selectedRange(), NSMakeRange(c.caret, 0));
        EXPECT_EQ(log, c.changed ? Log{"t change"} : Log{});
    }
    log.clear();
    view->setText("set");
    EXPECT_TRUE(log.empty()) << "setting the text is no edit";
}

// One insertText per composed character, each with the selection it replaces.
TEST_F(KeyInputTest, EachComposedCharacterIsOneKey)
{
    auto view = textView("t");
    view->setAutocapitalizationType(UITextAutocapitalizationTypeNone);
    ASSERT_TRUE(view->becomeFirstResponder());
    ASSERT_TRUE(driver.typeText("a\U0001F44D\U0001F3FDe\u0301 \U0001F1F5\U0001F1F9"));
    EXPECT_EQ(delegateOf(*view)->asked, (Log{"a", "\U0001F44D\U0001F3FD", "e\u0301", " ", "\U0001F1F5\U0001F1F9"}));
    EXPECT_EQ(view->selectedRange(), NSMakeRange(NSStringUTF16Length(view->text()), 0));
}

TEST_F(KeyInputTest, TheKeyboardCapitalisesAsTheResponderAsks)
{
    struct Case {
        UITextAutocapitalizationType type;
        const char* typed;
        const char* result;
    };
    const Case cases[] = {
        {UITextAutocapitalizationTypeNone, "hello world. bye\nnew", "hello world. bye\nnew"},
        {UITextAutocapitalizationTypeWords, "hello world. bye\nnew", "Hello World. Bye\nNew"},
        {UITextAutocapitalizationTypeSentences, "hello world. bye\nnew one! ok? yes.no",
         "Hello world. Bye\nNew one! Ok? Yes.no"},
        {UITextAutocapitalizationTypeAllCharacters, "straße ok", "STRASSE OK"},
        {UITextAutocapitalizationTypeSentences, "\u0645\u0631\u062d\u0628\u0627 1a",
         "\u0645\u0631\u062d\u0628\u0627 1a"},
    };
    auto view = textView("t");
    ASSERT_TRUE(view->becomeFirstResponder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        view->setText("");
        view->setAutocapitalizationType(c.type);
        ASSERT_TRUE(driver.typeText(c.typed));
        EXPECT_EQ(view->text(), c.result);
    }
    // The text before the caret decides: typed in the middle of a sentence, no capital.
    view->setAutocapitalizationType(UITextAutocapitalizationTypeSentences);
    view->setText("Hi. x");
    view->setSelectedRange(NSMakeRange(3, 0));
    ASSERT_TRUE(driver.typeText(" a"));
    EXPECT_EQ(view->text(), "Hi. A x");
}

TEST_F(KeyInputTest, DocumentPositionsStayInsideTheText)
{
    auto view = textView("t");
    view->setText("a\U0001F600b");  // four UTF-16 units
    auto begin = view->beginningOfDocument();
    EXPECT_EQ(view->endOfDocument()->offset(), 4);
    EXPECT_EQ(view->positionFromPositionOffset(begin, 5), nullptr);
    EXPECT_EQ(view->positionFromPositionOffset(begin, -1), nullptr);
    auto at = view->positionFromPositionOffset(begin, 3);
    ASSERT_NE(at, nullptr);
    view->setSelectedTextRange(view->textRangeFromPositionToPosition(at, at));
    EXPECT_EQ(view->selectedRange(), NSMakeRange(3, 0));
    view->setSelectedTextRange(view->textRangeFromPositionToPosition(at, begin));
    EXPECT_EQ(view->selectedRange(), NSMakeRange(0, 3)) << "the two ends in document order";
    EXPECT_EQ(view->textRangeFromPositionToPosition(at, nullptr), nullptr);
    view->setSelectedTextRange(nullptr);
    EXPECT_EQ(view->selectedRange(), NSMakeRange(0, 3));
}

}  // namespace
