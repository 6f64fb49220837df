// The meme screen without a GL context, driven by touches and keys: the canvas makes room for the
// keyboard and gets exactly its frame back, the panel's fields mirror and clear the captions, the
// keyboard's bar moves between them, and the panel's layout.
#include "QZMemeToolTestSupport.h"

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSValue.h"

#include <cmath>

namespace {

using Heard = std::vector<std::string>;

void expectRectEq(CGRect actual, CGRect expected)
{
    EXPECT_FLOAT_EQ(actual.origin.x, expected.origin.x);
    EXPECT_FLOAT_EQ(actual.origin.y, expected.origin.y);
    EXPECT_FLOAT_EQ(actual.size.width, expected.size.width);
    EXPECT_FLOAT_EQ(actual.size.height, expected.size.height);
}

class QZMemeScreenTest : public QZMemeToolTest {
protected:
    std::shared_ptr<QZMemeOverlayView> overlay() const { return tool_->memeOverlayView(); }
    // A person's tap on a panel field, as far as the keyboard's slide.
    void tapField(const std::shared_ptr<QZMemeTextField>& field)
    {
        driver_.tap(*field->tapButton());
        driver_.advance(0.3);
    }
    // The keyboard announcing itself again where it stands, as the platform does when another
    // text view takes the keys.
    static void postWillShowAgain()
    {
        const CGRect frame = UIKeyboard::sharedKeyboard()->frame();
        NSNotificationCenter::defaultCenter()->postNotificationName(
            UIKeyboardWillShowNotification, nullptr,
            Value::dictionary({{UIKeyboardFrameBeginUserInfoKey, Value(NSValue::valueWithCGRect(frame))},
                               {UIKeyboardFrameEndUserInfoKey, Value(NSValue::valueWithCGRect(frame))},
                               {UIKeyboardAnimationDurationUserInfoKey, Value(0.25)}}));
    }
    static void postWillHide()
    {
        NSNotificationCenter::defaultCenter()->postNotificationName(
            UIKeyboardWillHideNotification, nullptr,
            Value::dictionary({{UIKeyboardAnimationDurationUserInfoKey, Value(0.25)}}));
    }
};

// ---- The canvas and the keyboard ----

TEST_F(QZMemeScreenTest, TheCanvasMakesRoomForTheKeyboardAndGetsItsFrameBack)
{
    struct Case {
        const char* name;
        CGSize image;
        bool landscape;
        CGFloat overlap;  // the canvas ends at 455; the keyboard and its 44-point bar begin above
        bool zoomsBack;
    } cases[] = {
        {"square", {512, 512}, false, 455 - (568 - 216 - 44), false},
        // Narrower than the window: zoomed to its width, too tall for the canvas afterwards.
        {"tall", {300, 600}, false, 455 - (568 - 216 - 44), true},
        // A landscape keyboard (162 high): the overlap is still the intersection's height, never
        // its width (which would be the canvas's whole width).
        {"landscape keyboard", {512, 512}, true, 455 - (568 - 162 - 44), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UIApplication::sharedApplication()->setStatusBarOrientation(c.landscape ? UIInterfaceOrientationLandscapeLeft
                                                                                : UIInterfaceOrientationPortrait);
        auto tool = presentMeme(c.image);
        const CGRect before = canvas_->frame();
        expectRectEq(before, kCanvasFrame);
        const float fitted = canvas_->calculatedMinimumZoomScale();

        tapField(tool->topTextField());
        ASSERT_TRUE(overlay()->topTextView()->isFirstResponder());
        EXPECT_TRUE(overlay()->isKeyboardShowing());
        EXPECT_FLOAT_EQ(overlay()->keyboardOverlap(), c.overlap);
        expectRectEq(canvas_->frame(), CGRectMake(0, 64, 320, 391 - c.overlap));
        EXPECT_NEAR(canvas_->contentSize().width, 320, 0.01) << "the photo fills the window's width";
        EXPECT_NEAR(canvas_->contentOffset().y, 0, 0.01) << "the top caption in view";

        ASSERT_TRUE(driver_.tapViewWithLabel("Done"));
        expectRectEq(canvas_->frame(), before);
        EXPECT_EQ(overlay()->keyboardOverlap(), 0);
        driver_.advance(0.35);
        EXPECT_FALSE(overlay()->isKeyboardShowing());
        EXPECT_EQ(tool->activeTextBox(), QZMemeTextBoxNone);
        if (c.zoomsBack) {
            EXPECT_NEAR(canvas_->zoomScale(), fitted, 1e-4) << "the whole photo again";
        }
        EXPECT_NEAR(canvas_->contentSize().width * canvas_->contentSize().height,
                    c.image.width * c.image.height * fitted * fitted, 1);
        // Hidden once more: nothing left to give back.
        postWillHide();
        driver_.advance(0.35);
        expectRectEq(canvas_->frame(), before);

        tool->viewWillDisappear(false);
        tool_.reset();
        canvas_->removeFromSuperview();
        bar_->removeFromSuperview();
    }
}

// The platform this was made for announces the keyboard again whenever another caption takes the
// keys, while the canvas is short already: measured against the short canvas, the overlap would
// read 0 and the height under the keyboard would never come back.
TEST_F(QZMemeScreenTest, AKeyboardAnnouncedAgainWhileTheCanvasIsShortChangesNothing)
{
    auto tool = presentMeme(CGSizeMake(300, 600));
    auto log = std::make_shared<MemeOverlayLog>();
    tapField(tool->topTextField());
    const CGRect shortened = canvas_->frame();
    const CGFloat zoom = canvas_->zoomScale(), overlap = overlay()->keyboardOverlap();
    ASSERT_GT(overlap, 0);
    overlay()->setDelegate(log);
    postWillShowAgain();
    driver_.advance(0.3);
    expectRectEq(canvas_->frame(), shortened);
    EXPECT_EQ(canvas_->zoomScale(), zoom);
    EXPECT_EQ(overlay()->keyboardOverlap(), overlap);
    EXPECT_EQ(log->heard, Heard{"begin 0"}) << "the screen is still told";

    overlay()->setDelegate(std::static_pointer_cast<QZMemeOverlayViewDelegate>(tool));
    ASSERT_TRUE(driver_.tapViewWithLabel("Done"));
    driver_.advance(0.35);
    expectRectEq(canvas_->frame(), kCanvasFrame);
}

// Back gives the height back before the screen goes, and the keyboard's going later gives none.
TEST_F(QZMemeScreenTest, BackWhileTypingGivesTheHeightBackOnce)
{
    auto tool = presentMeme(CGSizeMake(512, 512));
    tapField(tool->topTextField());
    ASSERT_GT(overlay()->keyboardOverlap(), 0);
    ASSERT_TRUE(driver_.tapViewWithLabel("Editor"));
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusCancelled});
    expectRectEq(canvas_->frame(), kCanvasFrame);
    EXPECT_FALSE(overlay()->isObservingKeyboard());
    tool->viewWillDisappear(false);
    tool_.reset();
    driver_.advance(0.4);
    EXPECT_FALSE(UIKeyboard::sharedKeyboard()->isVisible());
    expectRectEq(canvas_->frame(), kCanvasFrame);
}

// ---- The panel's fields ----

TEST_F(QZMemeScreenTest, TheFieldsMirrorTheCaptionsAndClearThem)
{
    auto tool = presentMeme(CGSizeMake(512, 512));
    auto top = tool->topTextField(), bottom = tool->bottomTextField();
    const auto textColor = QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor");
    CGFloat r = 0, g = 0, b = 0, a = 0;
    for (const auto& [field, placeholder] : {std::pair{top, "Top Line"}, std::pair{bottom, "Bottom Line"}}) {
        EXPECT_EQ(field->label()->text(), placeholder);
        ASSERT_TRUE(field->label()->textColor()->getRed(&r, &g, &b, &a));
        EXPECT_FLOAT_EQ(a, 0.8f);
        EXPECT_EQ(field->clearButton()->alpha(), 0);
    }
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Top Line"));

    // Typed and done: the field shows the caption in the theme's colour, with its clear button.
    tapField(top);
    ASSERT_TRUE(overlay()->topTextView()->isFirstResponder()) << "a tap on a field types its caption";
    ASSERT_TRUE(driver_.typeText("hello there world"));
    const CGFloat shrunk = overlay()->topTextView()->fontSize();
    ASSERT_LT(shrunk, 100) << "three lines do not fit a third of the photo at 100";
    ASSERT_TRUE(driver_.tapViewWithLabel("Done"));
    driver_.advance(0.35);
    EXPECT_EQ(top->label()->text(), "HELLO THERE WORLD");
    CGFloat tr = 0, tg = 0, tb = 0, ta = 0;
    ASSERT_TRUE(textColor->getRed(&tr, &tg, &tb, &ta));
    ASSERT_TRUE(top->label()->textColor()->getRed(&r, &g, &b, &a));
    EXPECT_EQ(std::vector<CGFloat>({r, g, b, a}), std::vector<CGFloat>({tr, tg, tb, ta})) << "the theme's colour";
    EXPECT_EQ(top->clearButton()->alpha(), 1);
    EXPECT_EQ(bottom->label()->text(), "Bottom Line");

    // The clear button empties the caption and gives it back its full size.
    driver_.tap(*top->clearButton());
    EXPECT_EQ(overlay()->topTextView()->text(), "");
    EXPECT_EQ(overlay()->topTextView()->textView()->text(), "");
    EXPECT_EQ(overlay()->topTextView()->fontSize(), 100);
    EXPECT_EQ(top->label()->text(), "Top Line");
    EXPECT_EQ(top->clearButton()->alpha(), 0);
    EXPECT_FALSE(UIKeyboard::sharedKeyboard()->isVisible()) << "clearing types nothing";

    tapField(bottom);
    EXPECT_TRUE(overlay()->bottomTextView()->isFirstResponder());
    EXPECT_EQ(tool->activeTextBox(), QZMemeBottomTextBox);
}

// ---- The keyboard's bar ----

TEST_F(QZMemeScreenTest, PrevNextAndDoneMoveBetweenTheCaptions)
{
    auto tool = presentMeme(CGSizeMake(512, 512));
    tapField(tool->topTextField());
    EXPECT_EQ(tool->activeTextBox(), QZMemeTopTextBox);
    EXPECT_FALSE(tool->prevBBI()->isEnabled());
    ASSERT_TRUE(driver_.tapViewWithLabel("Prev"));
    EXPECT_TRUE(overlay()->topTextView()->isFirstResponder());

    ASSERT_TRUE(driver_.tapViewWithLabel("Next"));
    EXPECT_TRUE(overlay()->bottomTextView()->isFirstResponder());
    EXPECT_EQ(tool->activeTextBox(), QZMemeBottomTextBox);
    EXPECT_TRUE(tool->prevBBI()->isEnabled());
    EXPECT_TRUE(tool->nextBBI()->isEnabled());
    driver_.advance(0.3);
    const CGSize content = canvas_->contentSize(), bounds = canvas_->bounds().size;
    EXPECT_NEAR(canvas_->contentOffset().x, 0, 0.01);
    EXPECT_NEAR(canvas_->contentOffset().y, std::max<CGFloat>(content.height - bounds.height, 0), 0.01);
    EXPECT_GT(canvas_->contentOffset().y, 50) << "the bottom of the photo";

    ASSERT_TRUE(driver_.tapViewWithLabel("Prev"));
    EXPECT_TRUE(overlay()->topTextView()->isFirstResponder());
    driver_.advance(0.3);
    EXPECT_NEAR(canvas_->contentOffset().y, 0, 0.01);

    ASSERT_TRUE(driver_.tapViewWithLabel("Next"));
    ASSERT_TRUE(driver_.tapViewWithLabel("Next"));
    EXPECT_EQ(tool->activeTextBox(), QZMemeTextBoxNone);
    EXPECT_FALSE(overlay()->bottomTextView()->isFirstResponder());
    driver_.advance(0.35);
    EXPECT_FALSE(UIKeyboard::sharedKeyboard()->isVisible());
    expectRectEq(canvas_->frame(), kCanvasFrame);
}

// A drag of the canvas while a caption is typed: once the finger lifts the caption scrolls back.
TEST_F(QZMemeScreenTest, AfterADragTheCanvasScrollsBackToTheCaption)
{
    auto tool = presentMeme(CGSizeMake(512, 512));
    tapField(tool->topTextField());
    ASSERT_NEAR(canvas_->contentOffset().y, 0, 0.01);
    // Through the middle third of the photo, where no caption takes the touch; held still before
    // the lift, so that nothing is left to decelerate.
    driver_.touchDown(1, CGPointMake(160, 250));
    for (int step = 1; step <= 30; ++step) {
        driver_.advance(1 / 60.0);
        driver_.touchMove(1, CGPointMake(160, 250 - 2 * CGFloat(step)));
    }
    driver_.advance(0.2);
    EXPECT_GT(canvas_->contentOffset().y, 30) << "the drag scrolled";
    driver_.touchUp(1, CGPointMake(160, 190));
    driver_.advance(0.7);
    EXPECT_NEAR(canvas_->contentOffset().y, 0, 0.01);
    EXPECT_TRUE(overlay()->topTextView()->isFirstResponder());
}

// ---- Layout ----

TEST_F(QZMemeScreenTest, TheFieldsShareThePanelsHeight)
{
    struct Case {
        float panel;
        CGFloat top, bottom;
    } cases[] = {{100, 29.1667f, 72.8333f}, {113, 33.5f, 81.5f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.panel);
        auto tool = presentMeme(CGSizeMake(512, 512), c.panel);
        for (const auto& [field, y] :
             {std::pair{tool->topTextField(), c.top}, std::pair{tool->bottomTextField(), c.bottom}}) {
            EXPECT_NEAR(field->center().y, y, 1e-3);
            EXPECT_EQ(field->center().x, 160);
            EXPECT_EQ(field->frame().size.width, 300);
            EXPECT_EQ(field->frame().size.height, 37);
        }
        tool->viewWillDisappear(false);
        tool->view()->removeFromSuperview();
        tool_.reset();
        canvas_->removeFromSuperview();
        bar_->removeFromSuperview();
    }
}

}  // namespace
