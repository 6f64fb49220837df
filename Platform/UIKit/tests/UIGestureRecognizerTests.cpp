#include "UIKit/UILongPressGestureRecognizer.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UIPinchGestureRecognizer.h"
#include "UIKit/UIRotationGestureRecognizer.h"
#include "UIKit/UITapGestureRecognizer.h"
#include "UIKit/testing/UITestDriver.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

struct GestureTest : ::testing::Test {
    UITestDriver driver;
    std::shared_ptr<UIWindow> window = keyWindow();
    std::shared_ptr<RecordingView> view = UIView::viewWithFrame<RecordingView>(CGRectMake(50, 50, 200, 200));
    std::shared_ptr<StateRecorder> recorder = std::make_shared<StateRecorder>();
    GestureTest() { window->addSubview(view); }
};

TEST_F(GestureTest, TapsRecogniseWithinTheIntervalAndFailOnMovement)
{
    struct Case {
        const char* name;
        NSUInteger taps;
        std::function<void(UITestDriver&)> act;
        States expected;
    };
    const Case cases[] = {
        {"single tap", 1, [](UITestDriver& d) { d.tap(CGPointMake(100, 100)); }, {Ended}},
        {"double tap", 2, [](UITestDriver& d) { d.tap(CGPointMake(100, 100), 2); }, {Ended}},
        {"double tap too slow",
         2,
         [](UITestDriver& d) {
             d.tap(CGPointMake(100, 100));
             d.advance(0.4);
             d.tap(CGPointMake(100, 100));
         },
         {}},
        {"second tap starting 0.34 s after the first",
         2,
         [](UITestDriver& d) {
             d.press(CGPointMake(100, 100), 0.1);
             d.advance(0.24);
             d.press(CGPointMake(100, 100), 0.1);
         },
         {Ended}},
        {"a 20-point move",
         1,
         [](UITestDriver& d) {
             d.drag({{100, 100}, {120, 100}}, 0.1);
         },
         {}},
        {"an 8-point move",
         1,
         [](UITestDriver& d) {
             d.drag({{100, 100}, {108, 100}}, 0.1);
         },
         {Ended}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto rec = std::make_shared<StateRecorder>();
        auto tap = addRecognizer<UITapGestureRecognizer>(*view, rec);
        tap->setNumberOfTapsRequired(c.taps);
        c.act(driver);
        driver.advance(0.5);
        EXPECT_EQ(rec->states, c.expected);
        EXPECT_EQ(tap->state(), Possible);  // reset once its touches lifted
        view->removeGestureRecognizer(tap.get());
    }
}

TEST_F(GestureTest, TwoFingerTapNeedsBothFingers)
{
    auto tap = addRecognizer<UITapGestureRecognizer>(*view, recorder);
    tap->setNumberOfTouchesRequired(2);
    driver.tap(CGPointMake(100, 100));
    EXPECT_TRUE(recorder->states.empty());
    driver.touches({{0, UITouchPhaseBegan, {100, 100}}, {1, UITouchPhaseBegan, {150, 100}}});
    driver.advance(0.05);
    driver.touches({{0, UITouchPhaseEnded, {100, 100}}, {1, UITouchPhaseEnded, {150, 100}}});
    EXPECT_EQ(recorder->states, (States{Ended}));
    EXPECT_EQ(tap->locationInView(view.get()).x, 75);  // the centroid, in the view
}

TEST_F(GestureTest, LongPressBeginsAfterItsDurationAndChangesWithMoves)
{
    auto press = addRecognizer<UILongPressGestureRecognizer>(*view, recorder);
    driver.touchDown(0, {100, 100});
    driver.advance(0.49);
    EXPECT_TRUE(recorder->states.empty());
    driver.advance(0.02);
    EXPECT_EQ(recorder->states, (States{Began}));
    driver.touchMove(0, {130, 100});  // past the allowable movement, but it has begun
    driver.touchUp(0, {130, 100});
    EXPECT_EQ(recorder->states, (States{Began, Changed, Ended}));

    recorder->states.clear();
    driver.touchDown(0, {100, 100});
    driver.touchMove(0, {115, 100});
    driver.advance(0.6);
    driver.touchUp(0, {115, 100});
    EXPECT_TRUE(recorder->states.empty()) << "moving 15 points first fails it";

    press->setMinimumPressDuration(0);
    driver.touchDown(0, {100, 100});
    EXPECT_EQ(recorder->states, (States{Began})) << "a zero duration begins on touch-down";
    driver.touchUp(0, {100, 100});
    EXPECT_EQ(recorder->states, (States{Began, Ended}));
}

TEST_F(GestureTest, PanFollowsTheFingerCanBeResetAndIsCancelledWhenDisabled)
{
    auto pan = addRecognizer<UIPanGestureRecognizer>(*view, recorder);
    std::vector<CGPoint> translations;
    recorder->also = [&](UIGestureRecognizer*) { translations.push_back(pan->translationInView(view.get())); };
    driver.touchDown(0, {100, 100});
    driver.touchMove(0, {108, 100});
    EXPECT_TRUE(recorder->states.empty()) << "not past 10 points";
    driver.touchMove(0, {115, 100});
    driver.touchMove(0, {130, 110});
    ASSERT_EQ(recorder->states, (States{Began, Changed}));
    EXPECT_EQ(translations[0].x, 15);
    EXPECT_EQ(translations[1].x, 30);
    EXPECT_EQ(translations[1].y, 10);

    pan->setTranslation(CGPointZero, view.get());
    driver.touchMove(0, {140, 110});
    EXPECT_EQ(translations.back().x, 10);
    EXPECT_EQ(translations.back().y, 0);

    pan->setEnabled(false);
    EXPECT_EQ(recorder->states.back(), Cancelled);
    EXPECT_EQ(pan->state(), Possible);
    driver.touchMove(0, {160, 110});
    driver.touchUp(0, {160, 110});
    EXPECT_EQ(recorder->states.back(), Cancelled) << "a disabled recogniser ignores its touches";

    pan->setEnabled(true);
    recorder->states.clear();
    CGPoint velocity{};
    recorder->also = [&](UIGestureRecognizer*) { velocity = pan->velocityInView(view.get()); };
    driver.drag({{100, 100}, {100, 200}}, 0.5);
    EXPECT_EQ(folded(recorder->states), (States{Began, Changed, Ended}));
    EXPECT_NEAR(velocity.y, 200, 0.5) << "100 points in 0.5 s, read at the lift";
    driver.drag({{100, 100}, {100, 200}}, 0.5, 0.1);
    EXPECT_EQ(velocity.y, 0) << "held still for a tenth of a second";
}

TEST_F(GestureTest, PanTranslationIsInTheAskingViewsCoordinates)
{
    auto turned = UIView::viewWithFrame(CGRectMake(0, 0, 100, 100));
    turned->setTransform(CGAffineTransformMakeRotation(float(std::numbers::pi / 2)));
    view->addSubview(turned);
    auto pan = addRecognizer<UIPanGestureRecognizer>(*view, recorder);
    driver.drag({{100, 100}, {140, 100}}, 0.2);
    CGPoint t = pan->translationInView(turned.get());
    EXPECT_NEAR(t.x, 0, 1e-4);
    EXPECT_NEAR(t.y, -40, 1e-4);  // the finger moved along the turned view's -y
}

TEST_F(GestureTest, PinchScaleAndRotationFollowTheFingers)
{
    auto pinch = addRecognizer<UIPinchGestureRecognizer>(*view, recorder);
    CGFloat scale = 0;
    recorder->also = [&](UIGestureRecognizer*) { scale = pinch->scale(); };
    driver.pinch(CGPointMake(150, 150), 60, 120, 0.5);
    EXPECT_EQ(folded(recorder->states), (States{Began, Changed, Ended}));
    EXPECT_FLOAT_EQ(scale, 2);
    view->removeGestureRecognizer(pinch.get());

    auto rotationRecorder = std::make_shared<StateRecorder>();
    auto rotation = addRecognizer<UIRotationGestureRecognizer>(*view, rotationRecorder);
    CGFloat angle = 0;
    rotationRecorder->also = [&](UIGestureRecognizer*) { angle = rotation->rotation(); };
    driver.rotate(CGPointMake(150, 150), 50, CGFloat(std::numbers::pi / 2), 0.5);
    EXPECT_EQ(folded(rotationRecorder->states), (States{Began, Changed, Ended}));
    EXPECT_NEAR(angle, std::numbers::pi / 2, 1e-4);
    // Past half a turn the angle keeps counting.
    driver.rotate(CGPointMake(150, 150), 50, CGFloat(1.5 * std::numbers::pi), 1);
    EXPECT_NEAR(angle, 1.5 * std::numbers::pi, 1e-4);
}

// Turning fingers keep their distance only to within rounding: that is no pinch. Half a point more
// is.
TEST_F(GestureTest, TwoFingersThatOnlyTurnMakeNoPinch)
{
    auto pinch = addRecognizer<UIPinchGestureRecognizer>(*view, recorder);
    driver.rotate(CGPointMake(150, 150), 50, 0.7f, 0.5);
    EXPECT_TRUE(recorder->states.empty()) << "a turn was taken for a pinch";
    EXPECT_EQ(pinch->state(), UIGestureRecognizerStatePossible);

    driver.pinch(CGPointMake(150, 150), 100, 101, 0.1);
    EXPECT_EQ(folded(recorder->states), (States{Began, Changed, Ended}));
}

}  // namespace
