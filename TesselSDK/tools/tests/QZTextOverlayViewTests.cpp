// The text overlay and screen without a GL context: where the box goes when the keyboard comes
// and the device turns, and which colours the strip offers.
#include "QZTextToolTestSupport.h"

#include "TesselSDK/tools/text/QZTextOverlayView.h"
#include "TesselSDK/tools/text/QZTextViewController.h"

#include "Foundation/NSLogCapture.h"
#include "Foundation/NSValue.h"

#include <cmath>

namespace {

// Answers the image rectangles it is given, one per question (the last one again once used up).
struct ImageRects : QZTextOverlayViewDelegate {
    std::vector<CGRect> rects;
    std::size_t asked = 0;
    std::vector<std::string> heard;
    CGRect rectForImageInTextOverlayView(QZTextOverlayView*) override
    {
        const CGRect rect = rects[std::min(asked, rects.size() - 1)];
        ++asked;
        return rect;
    }
    void textOverlayViewDidBeginEditing(QZTextOverlayView*) override { heard.push_back("begin"); }
    void textOverlayViewDidEndEditing(QZTextOverlayView*) override { heard.push_back("end"); }
};

class QZTextOverlayTest : public QZTextToolTest {
protected:
    void SetUp() override
    {
        QZTextToolTest::SetUp();
        overlay_ = UIView::viewWithFrame<QZTextOverlayView>(CGRectMake(0, 64, 320, 400));
        overlay_->setDelegate(rects_);
        window_->addSubview(overlay_);
        box_ = overlay_->textView();
    }
    void turn(CGRect before, CGRect after)
    {
        rects_->rects = {before, after};
        rects_->asked = 0;
        overlay_->willRotateToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
        overlay_->didRotateFromInterfaceOrientation(UIInterfaceOrientationPortrait);
        driver_.advance(0.2);
    }

    std::shared_ptr<ImageRects> rects_ = std::make_shared<ImageRects>();
    std::shared_ptr<QZTextOverlayView> overlay_;
    std::shared_ptr<QZTextView> box_;
};

TEST_F(QZTextOverlayTest, ATurnKeepsTheBoxAtItsPlaceOnTheImage)
{
    box_->setCenter(CGPointMake(100, 150));
    box_->setScale(1.5f);
    box_->setRotation(0.4f);
    // The image from (10, 50) 300 x 200, then (40, 20) 240 x 160 after the turn: the box's centre
    // was at 0.3 and 0.5 of it.
    turn(CGRectMake(10, 50, 300, 200), CGRectMake(40, 20, 240, 160));
    EXPECT_NEAR(box_->center().x, 40 + 0.3 * 240, 1e-3);
    EXPECT_NEAR(box_->center().y, 20 + 0.5 * 160, 1e-3);
    EXPECT_EQ(box_->scale(), 1.5f) << "scale and turn come back after the fade";
    EXPECT_EQ(box_->rotation(), 0.4f);
    EXPECT_EQ(box_->alpha(), 1);
}

// No image view (a zero rectangle) on either side of the turn: nothing to be proportional to.
TEST_F(QZTextOverlayTest, ATurnWithoutAnImageRectangleKeepsTheBoxsCentre)
{
    for (const auto& [before, after] :
         {std::pair{CGRectZero, CGRectMake(40, 20, 240, 160)}, std::pair{CGRectMake(10, 50, 300, 200), CGRectZero},
          std::pair{CGRectMake(10, 50, 0, 200), CGRectMake(40, 20, 240, 160)}}) {
        box_->setCenter(CGPointMake(100, 150));
        turn(before, after);
        EXPECT_EQ(box_->center().x, 100);
        EXPECT_EQ(box_->center().y, 150);
    }
}

TEST_F(QZTextOverlayTest, TheBoxWaitsAboveTheKeyboardAndComesBack)
{
    overlay_->startObservingKeyboard();
    box_->setCenter(CGPointMake(100, 300));
    box_->setRotation(0.5f);
    box_->setScalingEnabled(true);
    ASSERT_TRUE(box_->textField()->becomeFirstResponder());
    // The keyboard's top at 568 - 216 = 352 in the window, 288 in the overlay: 400 - 288 = 112
    // points of the overlay lie under it.
    EXPECT_EQ(rects_->heard, std::vector<std::string>{"begin"});
    EXPECT_TRUE(overlay_->isKeyboardShowing());
    EXPECT_FALSE(box_->isDraggingEnabled());
    EXPECT_FALSE(box_->isRotationEnabled());
    EXPECT_FALSE(box_->isScalingEnabled());
    EXPECT_EQ(box_->center().x, 160);
    EXPECT_EQ(box_->center().y, 144);
    EXPECT_EQ(box_->rotation(), 0);
    EXPECT_EQ(box_->handle()->alpha(), 0);
    driver_.advance(0.3);

    ASSERT_TRUE(overlay_->endEditing(true));
    EXPECT_EQ(rects_->heard, (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(box_->center().x, 100);
    EXPECT_EQ(box_->center().y, 300);
    EXPECT_EQ(box_->rotation(), 0.5f);
    EXPECT_FALSE(box_->isScalingEnabled()) << "scaling waits for the slide back";
    driver_.advance(0.3);
    EXPECT_TRUE(box_->isScalingEnabled());
    EXPECT_FALSE(overlay_->isKeyboardShowing());
    EXPECT_TRUE(box_->isDraggingEnabled());
    EXPECT_EQ(box_->handle()->alpha(), 1);

    // A keyboard that leaves the overlay alone leaves all of it visible.
    overlay_->keyboardWillShow_QZ(NSNotification::make(
        UIKeyboardWillShowNotification, nullptr,
        Value::dictionary(
            {{UIKeyboardFrameEndUserInfoKey, Value(NSValue::valueWithCGRect(CGRectMake(0, 600, 320, 216)))},
             {UIKeyboardAnimationDurationUserInfoKey, Value(0.25)}})));
    EXPECT_EQ(box_->center().x, 160);
    EXPECT_EQ(box_->center().y, 200);
}

// A line of 700 "W" with no space is far wider than the screen: while it is typed the box is
// shown shrunk into the area above the keyboard, its own size (and so the text it bakes) as the
// text needs; with the keyboard gone it is shown at that size again. Before, it ran off both
// sides of the screen.
TEST_F(QZTextOverlayTest, ALongUnbrokenLineKeepsTheBoxOnTheScreenWhileTyping)
{
    overlay_->startObservingKeyboard();
    box_->setCenter(CGPointMake(100, 300));
    ASSERT_TRUE(box_->textField()->becomeFirstResponder());
    driver_.advance(0.3);
    ASSERT_TRUE(driver_.typeText(std::string(700, 'W')));
    driver_.advance(0.3);
    const CGRect shown = box_->frame();
    // 112 points of the overlay lie under the keyboard (as above).
    const CGRect visible = CGRectMake(0, 0, 320, 288);
    EXPECT_TRUE(CGRectContainsRect(CGRectInset(visible, -0.01f, -0.01f), shown))
        << shown.origin.x << " " << shown.origin.y << " " << shown.size.width << " " << shown.size.height;
    EXPECT_GT(box_->bounds().size.width, 10 * visible.size.width) << "the box keeps the size of its text";
    const CGRect inWindow = box_->convertRectToView(box_->bounds(), window_.get());
    EXPECT_TRUE(CGRectContainsRect(CGRectInset(window_->bounds(), -0.01f, -0.01f), inWindow));

    ASSERT_TRUE(overlay_->endEditing(true));
    driver_.advance(0.3);
    EXPECT_EQ(box_->frame().size.width, box_->bounds().size.width) << "shown at its own size again";
    EXPECT_EQ(box_->center().x, 100);
}

TEST_F(QZTextOverlayTest, ATapDeselectsTheBoxOrEndsTheTyping)
{
    box_->setSelectionState(QZTextViewSelectedState);
    driver_.tap(CGPointMake(20, 80));
    EXPECT_EQ(box_->selectionState(), QZTextViewUnselectedState);
    overlay_->startObservingKeyboard();
    ASSERT_TRUE(box_->textField()->becomeFirstResponder());
    driver_.advance(0.3);
    driver_.tap(CGPointMake(20, 80));
    EXPECT_FALSE(box_->textField()->isFirstResponder());
    EXPECT_EQ(box_->selectionState(), QZTextViewSelectedState);
}

// ---- The screen's palette ----

std::shared_ptr<QZTextViewController> textScreen(Value colors)
{
    auto screen = QZToolViewController::makeWithGLInstance<QZTextViewController>(
        nullptr, Value::dictionary({{"colors", std::move(colors)}}), false);
    screen->view()->setFrame(CGRectMake(0, 455, 320, 100));
    return screen;
}

TEST_F(QZTextToolTest, TheStripOffersOnlyTheColoursTheSettingsSpellOut)
{
    NSLogCapture log;
    auto screen = textScreen(Value::array({"#FF0000", 7, "zz", "00FF00"}));
    window_->addSubview(screen->view());
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("-[QZTextViewController viewDidLoad] "), std::string::npos);
    EXPECT_NE(lines[0].find("7"), std::string::npos);
    EXPECT_NE(lines[1].find("zz"), std::string::npos);
    // On appearing the first colour is selected, centred, and the box takes it.
    screen->viewDidAppear(false);
    driver_.advance(0.3);
    EXPECT_EQ(screen->conveyorView()->horizontalTableView()->numberOfRowsInSection(0), 2);
    EXPECT_EQ(screen->conveyorView()->selectedIndex(), 0);
    auto red = UITestDriver::visibleViewWithLabel("Red");
    ASSERT_TRUE(red);
    EXPECT_NEAR(CGRectGetMidX(UITestDriver::visibleRect(*red)), 160, 0.01);
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Green"));
    CGFloat r = 0, g = 0, b = 0, a = 0;
    ASSERT_TRUE(screen->textOverlayView()->textView()->textField()->textColor()->getRed(&r, &g, &b, &a));
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 0);

    // Nothing usable: an empty strip, nothing selected, the box's colours as they were.
    auto empty = textScreen(Value::array({"", "#12"}));
    window_->addSubview(empty->view());
    empty->viewDidAppear(false);
    empty->view()->layoutIfNeeded();
    EXPECT_EQ(empty->conveyorView()->horizontalTableView()->numberOfRowsInSection(0), 0);
    EXPECT_EQ(empty->conveyorView()->selectedIndex(), NSNotFound);
}

TEST_F(QZTextToolTest, TheEraserIsNeverTheTextsColour)
{
    auto screen = textScreen(Value::array({"#FF0000"}));
    auto box = screen->textOverlayView()->textView();
    const auto before = box->textField()->textColor();
    NSLogCapture log;
    screen->colorControllerDidSelectEraser(screen->colorConveyorController().get(), true);
    screen->colorControllerDidScrollToEraser(screen->colorConveyorController().get(), true);
    EXPECT_EQ(log.lines().size(), 2u);
    EXPECT_TRUE(log.contains(
        "-[QZTextViewController colorController:didSelectEraser:] Eraser shouldn't be enabled for text tool"));
    EXPECT_TRUE(log.contains(
        "-[QZTextViewController colorController:didScrollToEraser:] Eraser shouldn't be enabled for text tool"));
    EXPECT_EQ(box->textField()->textColor(), before);
}

}  // namespace
