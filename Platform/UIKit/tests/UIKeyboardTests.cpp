// The first responder and the keyboard, as a person meets them through the driver: which
// responder holds the keys, when the keyboard comes and goes, what it tells observers, and what
// it covers.
#include "UIKeyInputTestSupport.h"

#include "UIKit/UIButton.h"
#include "UIKit/UILabel.h"

namespace {

using Log = std::vector<std::string>;

// The bar's Done: ends the editing of the view it belongs to.
struct EndEditing {
    std::weak_ptr<UIView> view;
    void done()
    {
        if (auto v = view.lock()) v->endEditing(true);
    }
};

TEST_F(KeyInputTest, BecomingFirstResponderBringsTheKeyboardUpWithItsBar)
{
    auto ending = std::make_shared<EndEditing>();
    auto a = textView("a");
    ending->view = a;
    a->setInputAccessoryView(doneBar(ending, &EndEditing::done));
    const double start = DispatchClock::nowSeconds();

    ASSERT_TRUE(a->becomeFirstResponder());
    EXPECT_TRUE(a->isFirstResponder());
    EXPECT_EQ(window->firstResponder(), a);
    EXPECT_EQ(log, (Log{"a begin", "will-show"}));
    ASSERT_EQ(notes.size(), 1u);
    // Keyboard and bar together: 216 + 44 points at the bottom of a 320 x 568 window.
    EXPECT_EQ(notes[0].begin, "(0, 568, 320, 260)");
    EXPECT_EQ(notes[0].end, "(0, 308, 320, 260)");
    EXPECT_EQ(notes[0].duration, 0.25);
    EXPECT_EQ(notes[0].curve, UIViewAnimationCurveEaseInOut);
    EXPECT_EQ(rectText(UITestDriver::keyboardFrame()), "(0, 308, 320, 260)");

    driver.advance(0.24);
    EXPECT_EQ(log.size(), 2u) << "did-show before the slide ended";
    driver.advance(0.02);
    ASSERT_EQ(log, (Log{"a begin", "will-show", "did-show"}));
    EXPECT_NEAR(notes[1].time - start, 0.25, 1.0 / 60);
    EXPECT_EQ(notes[1].end, "(0, 308, 320, 260)");
    auto keyboard = UIKeyboard::sharedKeyboard();
    ASSERT_TRUE(keyboard->panelView());
    EXPECT_EQ(rectText(keyboard->panelView()->frame()), "(0, 352, 320, 216)");
    EXPECT_EQ(window->subviews().back(), a->inputAccessoryView()) << "the bar is the frontmost view";

    // A view added later goes below the keyboard.
    window->addSubview(UIView::viewWithFrame(CGRectMake(0, 0, 320, 568)));
    EXPECT_EQ(window->subviews().back(), a->inputAccessoryView());

    ASSERT_TRUE(driver.tapViewWithLabel("Done"));
    EXPECT_FALSE(a->isFirstResponder());
    EXPECT_EQ(log, (Log{"a begin", "will-show", "did-show", "a end", "will-hide"}));
    EXPECT_EQ(notes.back().begin, "(0, 308, 320, 260)");
    EXPECT_EQ(notes.back().end, "(0, 568, 320, 260)");
    driver.advance(0.3);
    EXPECT_EQ(log.back(), "did-hide");
    EXPECT_FALSE(keyboard->isVisible());
    EXPECT_TRUE(CGRectIsNull(UITestDriver::keyboardFrame()));
    EXPECT_EQ(keyboard->panelView()->superview(), nullptr);
}

TEST_F(KeyInputTest, OnlyAResponderInAWindowThatCanBecomeOneDoes)
{
    auto loose = UIView::viewWithFrame<UITextView>(CGRectMake(0, 0, 100, 40));
    EXPECT_FALSE(loose->becomeFirstResponder()) << "outside a window";
    EXPECT_FALSE(loose->isFirstResponder());
    auto plain = UIView::viewWithFrame(CGRectMake(0, 0, 100, 40));
    window->addSubview(plain);
    EXPECT_FALSE(plain->becomeFirstResponder()) << "a plain view takes no keys";
    driver.advance(0.3);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(UIKeyboard::sharedKeyboard()->isVisible());
    EXPECT_TRUE(plain->resignFirstResponder()) << "one that never was resigns at once";
}

TEST_F(KeyInputTest, SwitchingKeyInputsMovesTheKeyboardOnlyWhenTheBarHeightChanges)
{
    auto ending = std::make_shared<EndEditing>();
    auto a = textView("a"), b = textView("b"), c = textView("c");
    a->setInputAccessoryView(doneBar(ending, &EndEditing::done));
    b->setInputAccessoryView(doneBar(ending, &EndEditing::done));
    c->setInputAccessoryView(doneBar(ending, &EndEditing::done, 60));
    ASSERT_TRUE(a->becomeFirstResponder());
    driver.advance(0.3);
    log.clear();
    notes.clear();

    ASSERT_TRUE(b->becomeFirstResponder());
    EXPECT_EQ(log, (Log{"a end", "b begin"}));
    EXPECT_FALSE(a->isFirstResponder());
    auto keyboard = UIKeyboard::sharedKeyboard();
    EXPECT_EQ(keyboard->accessoryView(), b->inputAccessoryView());
    EXPECT_EQ(a->inputAccessoryView()->superview(), nullptr);
    EXPECT_EQ(rectText(b->inputAccessoryView()->frame()), "(0, 308, 320, 44)");
    driver.advance(0.3);
    EXPECT_EQ(log.size(), 2u) << "the same height posts nothing";

    ASSERT_TRUE(c->becomeFirstResponder());
    EXPECT_EQ(log, (Log{"a end", "b begin", "b end", "c begin", "will-show"}));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].begin, "(0, 308, 320, 260)");
    EXPECT_EQ(notes[0].end, "(0, 292, 320, 276)");
    driver.advance(0.3);
    EXPECT_EQ(log.back(), "did-show");
    EXPECT_EQ(rectText(c->inputAccessoryView()->frame()), "(0, 292, 320, 60)");
}

TEST_F(KeyInputTest, BecomingFailsWhileTheCurrentResponderRefusesToResign)
{
    auto clinging = textView("clinging", nullptr, UIView::viewWithFrame<ClingingTextView>(CGRectMake(0, 0, 100, 40)));
    auto other = textView("other");
    ASSERT_TRUE(clinging->becomeFirstResponder());
    EXPECT_FALSE(other->becomeFirstResponder());
    EXPECT_FALSE(clinging->resignFirstResponder());
    EXPECT_TRUE(clinging->isFirstResponder());
    EXPECT_EQ(log, (Log{"clinging begin", "will-show"}));

    // endEditing asks, unless forced; on a view outside it, it asks nothing.
    EXPECT_TRUE(other->endEditing(true));
    EXPECT_TRUE(clinging->isFirstResponder());
    EXPECT_FALSE(window->endEditing(false));
    EXPECT_TRUE(clinging->isFirstResponder());
    EXPECT_TRUE(window->endEditing(true));
    EXPECT_FALSE(clinging->isFirstResponder());
    EXPECT_EQ(log.back(), "will-hide");
}

TEST_F(KeyInputTest, AResponderLeavingItsWindowResignsAndTheKeyboardGoes)
{
    auto box = UIView::viewWithFrame(CGRectMake(0, 0, 320, 200));
    auto other = UIView::viewWithFrame(CGRectMake(0, 300, 320, 100));
    window->addSubview(box);
    window->addSubview(other);
    auto a = textView("a", box);
    ASSERT_TRUE(a->becomeFirstResponder());
    driver.advance(0.3);

    // Moving inside the window keeps it.
    other->addSubview(a);
    EXPECT_TRUE(a->isFirstResponder());
    EXPECT_EQ(log, (Log{"a begin", "will-show", "did-show"}));

    other->removeFromSuperview();
    EXPECT_FALSE(a->isFirstResponder());
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(log, (Log{"a begin", "will-show", "did-show", "a end", "will-hide"}));
    driver.advance(0.3);
    EXPECT_EQ(log.back(), "did-hide");
    EXPECT_FALSE(UIKeyboard::sharedKeyboard()->isVisible());
}

TEST_F(KeyInputTest, EndEditingResignsTheResponderInsideTheView)
{
    auto box = UIView::viewWithFrame(CGRectMake(0, 0, 320, 200));
    auto sibling = UIView::viewWithFrame(CGRectMake(0, 300, 320, 100));
    window->addSubview(box);
    window->addSubview(sibling);
    auto a = textView("a", box);
    ASSERT_TRUE(a->becomeFirstResponder());
    EXPECT_TRUE(sibling->endEditing(false));
    EXPECT_TRUE(a->isFirstResponder());
    EXPECT_TRUE(box->endEditing(false));
    EXPECT_FALSE(a->isFirstResponder());
    EXPECT_EQ(log, (Log{"a begin", "will-show", "a end", "will-hide"}));
    // Hidden before its slide up ended: only the last slide's end is reported.
    driver.advance(0.5);
    EXPECT_EQ(log, (Log{"a begin", "will-show", "a end", "will-hide", "did-hide"}));
}

// A turn hides the keyboard at once, before the controllers hear of it, and brings it back at the
// new size once the turn has ended.
TEST_F(KeyInputTest, ADeviceTurnHidesTheKeyboardAndShowsItAgainAtTheNewSize)
{
    struct Case {
        UIUserInterfaceIdiom idiom;
        CGSize screen;
        const char* portrait;   // keyboard and 44-point bar, shown in portrait
        const char* landscape;  // after the turn
    };
    const Case cases[] = {
        {UIUserInterfaceIdiomPhone, CGSizeMake(320, 568), "(0, 308, 320, 260)", "(0, 114, 568, 206)"},
        {UIUserInterfaceIdiomPad, CGSizeMake(768, 1024), "(0, 716, 768, 308)", "(0, 372, 1024, 396)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.portrait);
        PlatformSettings::setInterfaceIdiom(c.idiom);
        PlatformSettings::setScreenSize(float(c.screen.width), float(c.screen.height));
        auto app = UIApplication::sharedApplication();
        app->setStatusBarOrientation(UIInterfaceOrientationPortrait);
        window = UIWindow::window();
        window->makeKeyAndVisible();
        auto ending = std::make_shared<EndEditing>();
        auto a = textView("a");
        a->setInputAccessoryView(doneBar(ending, &EndEditing::done));
        ASSERT_TRUE(a->becomeFirstResponder());
        driver.advance(0.3);
        EXPECT_EQ(notes.back().end, c.portrait);
        log.clear();
        notes.clear();

        ASSERT_TRUE(app->turnDeviceToOrientation(UIInterfaceOrientationLandscapeLeft, 0.3));
        EXPECT_EQ(log, (Log{"will-hide", "did-hide"}));
        EXPECT_FALSE(UIKeyboard::sharedKeyboard()->isVisible());
        EXPECT_TRUE(a->isFirstResponder()) << "the responder keeps the keys through the turn";
        driver.advance(0.32);
        EXPECT_EQ(log, (Log{"will-hide", "did-hide", "will-show"}));
        driver.advance(0.3);
        EXPECT_EQ(log, (Log{"will-hide", "did-hide", "will-show", "did-show"}));
        EXPECT_EQ(notes.back().end, c.landscape);
        EXPECT_EQ(rectText(a->inputAccessoryView()->frame()).substr(0, 12), std::string(c.landscape).substr(0, 12));

        ASSERT_TRUE(window->endEditing(true));
        driver.advance(0.3);
        ASSERT_TRUE(app->turnDeviceToOrientation(UIInterfaceOrientationPortrait, 0.3));
        driver.advance(0.35);
        log.clear();
        notes.clear();
    }
}

// ---- The driver and the keyboard ----

class RecordingButton : public UIButton {
public:
    using UIButton::UIButton;
    std::vector<CGPoint> downs;
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override
    {
        downs.push_back((*touches.begin())->locationInView(nullptr));
        UIButton::touchesBegan(touches, event);
    }
};

TEST_F(KeyInputTest, TheDriverFindsNothingUnderTheKeyboardAndTapsAViewAboveItsEdge)
{
    auto label = [&](CGRect frame, const std::string& text) {
        auto view = UIView::viewWithFrame<UILabel>(frame);
        view->setText(text);
        window->addSubview(view);
        return view;
    };
    label(CGRectMake(0, 400, 200, 30), "Under");
    auto partly = UIView::viewWithFrame<RecordingButton>(CGRectMake(0, 320, 200, 60));
    partly->setTitle("Partly", UIControlStateNormal);
    window->addSubview(partly);
    auto a = textView("a");
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Under"));

    ASSERT_TRUE(a->becomeFirstResponder());
    driver.advance(0.3);
    // The keyboard's top edge is at 568 - 216 = 352.
    EXPECT_FALSE(UITestDriver::visibleViewWithLabel("Under"));
    EXPECT_EQ(rectText(UITestDriver::visibleRect(*partly)), "(0, 320, 200, 32)");
    ASSERT_TRUE(driver.tapViewWithLabel("Partly"));
    ASSERT_EQ(partly->downs.size(), 1u);
    EXPECT_EQ(partly->downs[0].y, 336) << "tapped in its part above the keyboard";

    // Touches on the keyboard reach nothing under it.
    driver.tap(CGPointMake(100, 370));
    EXPECT_EQ(partly->downs.size(), 1u);

    ASSERT_TRUE(a->resignFirstResponder());
    driver.advance(0.3);
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Under"));
}

TEST_F(KeyInputTest, KeysWithoutAKeyInputFirstResponderTypeNothing)
{
    auto a = textView("a");
    const double before = DispatchClock::nowSeconds();
    EXPECT_FALSE(driver.typeText("abc"));
    EXPECT_FALSE(driver.pressReturn());
    EXPECT_FALSE(driver.pressBackspace());
    EXPECT_EQ(DispatchClock::nowSeconds(), before) << "no key pressed, no time spent";
    EXPECT_EQ(a->text(), "");

    ASSERT_TRUE(a->becomeFirstResponder());
    EXPECT_FALSE(driver.typeText("a\xff")) << "ill-formed UTF-8";
    EXPECT_EQ(a->text(), "");
    EXPECT_TRUE(driver.typeText("ab"));
    EXPECT_NEAR(DispatchClock::nowSeconds() - before, 2.0 / 60, 1e-6) << "one key a frame";
    EXPECT_TRUE(driver.pressReturn());
    EXPECT_TRUE(driver.pressBackspace());
    EXPECT_TRUE(driver.pressBackspace());
    EXPECT_EQ(a->text(), "A") << "sentences: the first letter capitalised";
}

}  // namespace
