// The movable text box by touch: the handle turns and scales it, a pan moves it, a press starts
// editing; its placeholder; its size for a text; what it bakes.
#include "QZTextToolTestSupport.h"

#include "TesselSDK/tools/text/QZTextView.h"

#include "UIKit/UIGraphics.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

class QZTextBoxTest : public QZTextToolTest {
protected:
    void SetUp() override
    {
        QZTextToolTest::SetUp();
        box_ = UIView::viewWithFrame<QZTextView>(CGRectMake(60, 100, 200, 200));
        box_->setScale(1);
        box_->setCenter(CGPointMake(160, 200));
        window_->addSubview(box_);
    }

    // The handle's centre and the box's, in window points.
    CGPoint handlePoint() const { return UITestDriver::windowPoint(*box_->handle()); }
    CGPoint boxCentre() const { return box_->center(); }
    // Typed into the box, then editing ended as the tool's Done ends it.
    void type(const std::string& text)
    {
        ASSERT_TRUE(box_->textField()->becomeFirstResponder());
        ASSERT_TRUE(driver_.typeText(text));
        ASSERT_TRUE(window_->endEditing(true));
        driver_.advance(0.3);
    }
    // The finger on the handle, moved along `path` (each point from the handle's start, turned by
    // its angle about the box's centre and stretched by its factor).
    void dragHandle(const std::vector<std::pair<double, double>>& turnsAndStretches)
    {
        const CGPoint c = boxCentre(), start = handlePoint();
        std::vector<CGPoint> path;
        for (const auto& [angle, stretch] : turnsAndStretches) {
            const double dx = (start.x - c.x) * stretch, dy = (start.y - c.y) * stretch;
            path.push_back(CGPointMake(CGFloat(c.x + dx * std::cos(angle) - dy * std::sin(angle)),
                                       CGFloat(c.y + dx * std::sin(angle) + dy * std::cos(angle))));
        }
        driver_.drag(path, 0.5);
        lastFinger_ = path.back();
    }

    std::shared_ptr<QZTextView> box_;
    CGPoint lastFinger_{};
};

// The box grows, shrinks and turns until its corner is under the finger again; the margins round
// the text make twice the distance a little more than twice the scale.
TEST_F(QZTextBoxTest, TheHandleScalesAndTurnsTheBoxUnderTheFinger)
{
    type("Tessel");
    box_->setScalingEnabled(true);
    auto expectHandleAt = [&](CGPoint finger) {
        EXPECT_NEAR(handlePoint().x, finger.x, 1);
        EXPECT_NEAR(handlePoint().y, finger.y, 1);
    };
    dragHandle({{0, 1}, {0, 2}});
    expectHandleAt(lastFinger_);
    EXPECT_NEAR(box_->scale(), 2, 0.25);
    EXPECT_NEAR(box_->rotation(), 0, 0.05);
    EXPECT_EQ(box_->bounds().size.width, box_->boundsFromTextSize(box_->textField()->textSize()).size.width);

    dragHandle({{0, 1}, {0, 0.1}});
    EXPECT_EQ(box_->scale(), QZTextView::kMinimumScale) << "never below the floor";

    box_->setScale(1);
    box_->setRotation(0);
    std::vector<std::pair<double, double>> arc;
    for (int i = 0; i <= 20; ++i) arc.push_back({i * kPi / 180, 1});
    dragHandle(arc);
    expectHandleAt(lastFinger_);
    EXPECT_NEAR(box_->rotation() * 180 / kPi, 20, 0.5);
    EXPECT_NEAR(box_->scale(), 1, 0.01);

    // With turning off the box only scales.
    box_->setRotation(0);
    box_->setRotationEnabled(false);
    dragHandle({{0, 1}, {0.2, 1.5}});
    EXPECT_EQ(box_->rotation(), 0);
    EXPECT_GT(box_->scale(), 1.3f);
    const CGFloat scaled = box_->scale();

    // Until scaling is on the handle does nothing at all.
    box_->setRotationEnabled(true);
    box_->setScalingEnabled(false);
    dragHandle({{0, 1}, {0.3, 2}});
    EXPECT_EQ(box_->rotation(), 0);
    EXPECT_EQ(box_->scale(), scaled);
}

// A point at the centre has no direction and no distance: it neither collapses the box to the
// floor nor turns it.
TEST_F(QZTextBoxTest, TheHandleAtTheCentreChangesNothing)
{
    type("Tessel");
    box_->setScalingEnabled(true);
    box_->setScale(1.5);
    box_->setRotation(0.3f);
    box_->transformWithHandlePoint(box_->contentView()->center());
    EXPECT_EQ(box_->scale(), 1.5f);
    EXPECT_EQ(box_->rotation(), 0.3f);
}

TEST_F(QZTextBoxTest, APanOnTheTextMovesTheBoxButNotOneFromTheHandle)
{
    type("Tessel");
    box_->setSelectionState(QZTextViewUnselectedState);
    const CGPoint before = boxCentre();
    driver_.drag({before, CGPointMake(before.x + 40, before.y + 30)}, 0.4);
    EXPECT_NEAR(boxCentre().x, before.x + 40, 0.01);
    EXPECT_NEAR(boxCentre().y, before.y + 30, 0.01);
    EXPECT_EQ(box_->selectionState(), QZTextViewSelectedState);
    EXPECT_FALSE(box_->textField()->isFirstResponder()) << "a pan starts no editing";

    const CGPoint moved = boxCentre(), handle = handlePoint();
    driver_.drag({handle, CGPointMake(handle.x + 50, handle.y + 50)}, 0.4);
    EXPECT_EQ(boxCentre().x, moved.x);
    EXPECT_EQ(boxCentre().y, moved.y);

    box_->setDraggingEnabled(false);
    driver_.drag({moved, CGPointMake(moved.x - 60, moved.y)}, 0.4);
    EXPECT_EQ(boxCentre().x, moved.x) << "no dragging while it is off";
}

TEST_F(QZTextBoxTest, APressOnTheTextStartsEditingButNotOneOnTheHandle)
{
    type("Tessel");
    driver_.press(handlePoint(), 0.3);
    EXPECT_FALSE(box_->textField()->isFirstResponder());
    driver_.press(boxCentre(), 0.1);
    EXPECT_TRUE(box_->textField()->isFirstResponder());
    EXPECT_EQ(box_->selectionState(), QZTextViewFocusedState);
    EXPECT_TRUE(box_->textField()->longPressRecognizer()->isEnabled()) << "taps place the cursor in a text";
}

TEST_F(QZTextBoxTest, ThePlaceholderShowsUntilSomethingIsTypedAndAfterAllIsDeleted)
{
    auto field = box_->placeholderField();
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isPlaceHolding());
    EXPECT_EQ(field->text(), "Enter text here");
    EXPECT_EQ(field->accessibilityLabel(), "Enter text here");
    EXPECT_EQ(box_->text(), "");
    EXPECT_EQ(field->textAlpha(), 0.5f);
    EXPECT_FALSE(field->longPressRecognizer()->isEnabled());
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(300, 200), false, 1);
    box_->rectForTextInView(*window_);
    box_->drawTextInRect(CGRectMake(20, 20, 260, 160));
    EXPECT_TRUE(inkOf(UIGraphicsGetImageFromCurrentImageContext()).empty()) << "the placeholder is never baked";
    UIGraphicsEndImageContext();
    const CGRect placeholderBounds = box_->bounds();

    ASSERT_TRUE(box_->textField()->becomeFirstResponder());
    ASSERT_TRUE(driver_.typeText("A"));
    EXPECT_FALSE(field->isPlaceHolding());
    EXPECT_EQ(box_->text(), "A");
    EXPECT_EQ(field->textAlpha(), 1);
    EXPECT_EQ(field->currentOffset(), 1);
    EXPECT_TRUE(field->longPressRecognizer()->isEnabled());
    EXPECT_LT(box_->bounds().size.width, placeholderBounds.size.width) << "the box fits its text";

    ASSERT_TRUE(driver_.pressBackspace());
    EXPECT_TRUE(field->isPlaceHolding());
    EXPECT_EQ(box_->text(), "");
    EXPECT_EQ(field->text(), "Enter text here");
    EXPECT_EQ(field->textAlpha(), 0.5f);
    EXPECT_EQ(field->currentOffset(), 0);
    EXPECT_FALSE(field->longPressRecognizer()->isEnabled());
    EXPECT_EQ(box_->bounds().size.width, placeholderBounds.size.width) << "the box heard the change";
}

TEST_F(QZTextBoxTest, TheBoxSizeFollowsTheTextAndTheScale)
{
    struct Case {
        CGFloat scale;
        CGRect bounds;
    };
    for (const Case& c : {Case{1, CGRectMake(0, 0, 144, 87.5f)}, Case{0.6f, CGRectMake(0, 0, 96, 62.1f)},
                          Case{2, CGRectMake(0, 0, 244, 131)}}) {
        box_->setScale(c.scale);
        const CGRect bounds = box_->boundsFromTextSize(CGSizeMake(100, 36));
        EXPECT_NEAR(bounds.size.width, c.bounds.size.width, 1e-4) << c.scale;
        EXPECT_NEAR(bounds.size.height, c.bounds.size.height, 1e-4) << c.scale;
    }
    box_->setScale(0.5f);
    EXPECT_EQ(box_->scale(), QZTextView::kMinimumScale);
}

// Baked into another view's coordinates the text keeps its place, turned with the box.
TEST_F(QZTextBoxTest, BakingPutsTheTextWhereTheBoxShowsIt)
{
    type("Tessel");
    box_->setScale(1.4f);
    box_->setRotation(float(kPi / 2));
    box_->setSelectionState(QZTextViewUnselectedState);
    driver_.advance(0.3);
    // What the window shows of the text, and the text baked in the window's coordinates.
    const InkBox shown = inkOf(UITestDriver::snapshot(*window_));
    UIGraphicsBeginImageContextWithOptions(window_->bounds().size, false, 1);
    const CGRect rect = box_->rectForTextInView(*window_);
    EXPECT_NEAR(box_->applyScale(), 1.4f, 1e-5);
    box_->drawTextInRect(rect);
    const InkBox baked = inkOf(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext();
    ASSERT_FALSE(shown.empty());
    ASSERT_FALSE(baked.empty());
    EXPECT_GT(baked.bottom - baked.top, baked.right - baked.left) << "turned a quarter";
    EXPECT_NEAR(baked.left, shown.left, 2);
    EXPECT_NEAR(baked.right, shown.right, 2);
    EXPECT_NEAR(baked.top, shown.top, 2);
    EXPECT_NEAR(baked.bottom, shown.bottom, 2);
}

}  // namespace
