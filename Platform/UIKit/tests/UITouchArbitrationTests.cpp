#include "UIKit/UILongPressGestureRecognizer.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UIPinchGestureRecognizer.h"
#include "UIKit/UITapGestureRecognizer.h"
#include "UIKit/testing/UITestDriver.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Heard = std::vector<std::string>;

struct ArbitrationTest : ::testing::Test {
    UITestDriver driver;
    std::shared_ptr<UIWindow> window = keyWindow();
    std::shared_ptr<RecordingView> outer = UIView::viewWithFrame<RecordingView>(CGRectMake(0, 0, 300, 300));
    std::shared_ptr<RecordingView> inner = UIView::viewWithFrame<RecordingView>(CGRectMake(50, 50, 200, 200));
    ArbitrationTest()
    {
        window->addSubview(outer);
        outer->addSubview(inner);
    }
    void dragInside() { driver.drag({{100, 100}, {100, 160}}, 0.3); }
};

TEST_F(ArbitrationTest, NestedPansTheInnerWinsUnlessADelegateAllowsBoth)
{
    auto outerStates = std::make_shared<StateRecorder>(), innerStates = std::make_shared<StateRecorder>();
    auto outerPan = addRecognizer<UIPanGestureRecognizer>(*outer, outerStates);
    addRecognizer<UIPanGestureRecognizer>(*inner, innerStates);
    dragInside();
    EXPECT_EQ(folded(innerStates->states), (States{Began, Changed, Ended}));
    EXPECT_TRUE(outerStates->states.empty());

    auto both = std::make_shared<GestureDelegate>();
    both->simultaneous = true;
    outerPan->setDelegate(both);
    innerStates->states.clear();
    dragInside();
    EXPECT_EQ(folded(innerStates->states), (States{Began, Changed, Ended}));
    EXPECT_EQ(folded(outerStates->states), (States{Began, Changed, Ended}));
}

TEST_F(ArbitrationTest, SingleTapWaitingForADoubleTapFiresOnlyAfterTheInterval)
{
    auto singles = std::make_shared<StateRecorder>(), doubles = std::make_shared<StateRecorder>();
    auto single = addRecognizer<UITapGestureRecognizer>(*inner, singles);
    auto twice = addRecognizer<UITapGestureRecognizer>(*inner, doubles);
    twice->setNumberOfTapsRequired(2);
    single->requireGestureRecognizerToFail(twice);

    driver.tap(CGPointMake(100, 100));
    driver.advance(0.25);
    EXPECT_TRUE(singles->states.empty());
    driver.advance(0.1);  // 0.35 s after the tap began
    EXPECT_EQ(singles->states, (States{Ended}));
    EXPECT_TRUE(doubles->states.empty());

    singles->states.clear();
    driver.tap(CGPointMake(100, 100), 2);
    driver.advance(1);
    EXPECT_EQ(doubles->states, (States{Ended}));
    EXPECT_TRUE(singles->states.empty());
    // The view's touch-ends waited for the taps to decide, which cancelled them: the single tap
    // its tap, the double tap both of its own.
    EXPECT_EQ(inner->heard, (Heard{"began", "cancelled", "began", "began", "cancelled x2"}));
}

TEST_F(ArbitrationTest, ABeganRecogniserCancelsTheViewsTouchesUnlessToldNot)
{
    auto pan = addRecognizer<UIPanGestureRecognizer>(*inner, std::make_shared<StateRecorder>());
    dragInside();
    EXPECT_EQ(inner->folded(), (Heard{"began", "moved", "cancelled"}));

    inner->heard.clear();
    pan->setCancelsTouchesInView(false);
    dragInside();
    EXPECT_EQ(inner->folded(), (Heard{"began", "moved", "ended"}));

    inner->heard.clear();
    pan->setCancelsTouchesInView(true);
    auto refuse = std::make_shared<GestureDelegate>();
    refuse->shouldBegin = false;
    pan->setDelegate(refuse);
    dragInside();
    EXPECT_EQ(inner->folded(), (Heard{"began", "moved", "ended"})) << "should-begin NO leaves the view its touches";
    EXPECT_EQ(pan->state(), Possible);

    inner->heard.clear();
    refuse->shouldBegin = std::nullopt;
    refuse->shouldReceive = false;
    dragInside();
    EXPECT_EQ(inner->folded(), (Heard{"began", "moved", "ended"})) << "a touch it does not receive";
}

TEST_F(ArbitrationTest, ZeroDurationLongPressAndPanRunTogetherWhenAllowed)
{
    auto presses = std::make_shared<StateRecorder>(), pans = std::make_shared<StateRecorder>();
    auto press = addRecognizer<UILongPressGestureRecognizer>(*inner, presses);
    auto pan = addRecognizer<UIPanGestureRecognizer>(*inner, pans);
    press->setMinimumPressDuration(0);
    press->setAllowableMovement(3.4028235e38f);
    dragInside();
    EXPECT_EQ(presses->states.front(), Began);
    EXPECT_TRUE(pans->states.empty()) << "the long press began first: the pan failed";

    presses->states.clear();
    auto both = std::make_shared<GestureDelegate>();
    both->simultaneous = true;
    press->setDelegate(both);
    pan->setDelegate(both);
    dragInside();
    EXPECT_EQ(folded(presses->states), (States{Began, Changed, Ended}));
    EXPECT_EQ(folded(pans->states), (States{Began, Changed, Ended}));
}

// A press that begins at once but waits for a longer press to fail (a tap beside a hold): a quick
// tap gives it Began, then Ended, once, whichever of the two hears the lift first; the view's
// touch is cancelled, and both start afresh for the next tap.
TEST_F(ArbitrationTest, AnImmediatePressWaitingForAHoldBeginsAndEndsOnTheLiftInEitherOrder)
{
    for (bool tapFirst : {false, true}) {
        SCOPED_TRACE(tapFirst ? "the tap added first" : "the hold added first");
        auto host = UIView::viewWithFrame<RecordingView>(CGRectMake(0, 0, 100, 100));
        window->addSubview(host);
        auto taps = std::make_shared<StateRecorder>(), holds = std::make_shared<StateRecorder>();
        std::shared_ptr<UILongPressGestureRecognizer> tap, hold;
        if (tapFirst) tap = addRecognizer<UILongPressGestureRecognizer>(*host, taps);
        hold = addRecognizer<UILongPressGestureRecognizer>(*host, holds);
        if (!tapFirst) tap = addRecognizer<UILongPressGestureRecognizer>(*host, taps);
        hold->setMinimumPressDuration(0.2);
        tap->setMinimumPressDuration(0);
        tap->requireGestureRecognizerToFail(hold);

        for (int round = 0; round < 2; ++round) {
            taps->states.clear();
            host->heard.clear();
            driver.tap(CGPointMake(50, 50));
            EXPECT_EQ(taps->states, (States{Began, Ended}));
            EXPECT_TRUE(holds->states.empty());
            EXPECT_EQ(host->heard, (Heard{"began", "cancelled"}));
            EXPECT_EQ(tap->state(), UIGestureRecognizerStatePossible);
            driver.advance(0.3);
        }
        // Held past its time, the hold wins and the tap never begins.
        taps->states.clear();
        driver.press(CGPointMake(50, 50), 0.3);
        EXPECT_TRUE(taps->states.empty());
        EXPECT_EQ(holds->states, (States{Began, Ended}));
        host->removeFromSuperview();
    }
}

TEST_F(ArbitrationTest, TouchesPassUpTheResponderChainAndStayWithTheirView)
{
    auto plain = UIView::viewWithFrame(CGRectMake(0, 0, 50, 50));
    inner->addSubview(plain);
    driver.drag({{60, 60}, {200, 200}}, 0.2);  // leaves the plain view at once
    EXPECT_EQ(inner->folded(), (Heard{"began", "moved", "ended"}));
    EXPECT_TRUE(outer->heard.empty());
}

TEST_F(ArbitrationTest, MultipleTouchOffGivesTheViewOnlyItsFirstTouch)
{
    auto pinches = std::make_shared<StateRecorder>();
    auto pinch = addRecognizer<UIPinchGestureRecognizer>(*inner, pinches);
    pinch->setCancelsTouchesInView(false);
    auto twoFingers = [&] {
        driver.touches({{0, UITouchPhaseBegan, {100, 150}}, {1, UITouchPhaseBegan, {200, 150}}});
        driver.touches({{0, UITouchPhaseMoved, {90, 150}}, {1, UITouchPhaseMoved, {210, 150}}});
        driver.touches({{0, UITouchPhaseEnded, {90, 150}}, {1, UITouchPhaseEnded, {210, 150}}});
    };
    twoFingers();
    EXPECT_EQ(inner->heard, (Heard{"began", "moved", "ended"}));
    EXPECT_EQ(pinches->states, (States{Began, Ended})) << "its recognisers see both";

    inner->heard.clear();
    inner->setMultipleTouchEnabled(true);
    twoFingers();
    EXPECT_EQ(inner->heard, (Heard{"began x2", "moved x2", "ended x2"}));
}

TEST_F(ArbitrationTest, AnExclusiveTouchViewHoldsTheScreenAlone)
{
    auto other = UIView::viewWithFrame<RecordingView>(CGRectMake(0, 320, 300, 100));
    window->addSubview(other);
    inner->setExclusiveTouch(true);
    driver.touchDown(0, {100, 100});
    driver.touchDown(1, {100, 350});
    driver.touchUp(1, {100, 350});
    driver.touchUp(0, {100, 100});
    EXPECT_TRUE(other->heard.empty()) << "blocked while the exclusive view holds a touch";
    EXPECT_EQ(inner->heard, (Heard{"began", "ended"}));

    inner->heard.clear();
    driver.touchDown(1, {100, 350});
    driver.touchDown(0, {100, 100});
    driver.touchUp(0, {100, 100});
    driver.touchUp(1, {100, 350});
    EXPECT_TRUE(inner->heard.empty()) << "takes no touch while another view holds one";
    EXPECT_EQ(other->heard, (Heard{"began", "ended"}));
}

TEST_F(ArbitrationTest, AViewAnimatingWithoutUserInteractionIsNotHit)
{
    for (UIViewAnimationOptions options : {UIViewAnimationOptions(0), UIViewAnimationOptionAllowUserInteraction}) {
        SCOPED_TRACE(options);
        inner->heard.clear();
        outer->heard.clear();
        UIView::animateWithDuration(1, 0.5, options, [&] { inner->setAlpha(0.5f); });
        driver.tap(CGPointMake(100, 100));  // inside the delay
        driver.advance(0.9);
        driver.tap(CGPointMake(100, 100));  // while it runs
        bool allowed = options != 0;
        EXPECT_EQ(inner->heard.size(), allowed ? 4u : 0u);
        EXPECT_EQ(outer->heard.size(), allowed ? 0u : 4u);
        driver.advance(1);
        inner->heard.clear();
        driver.tap(CGPointMake(100, 100));
        EXPECT_EQ(inner->heard, (Heard{"began", "ended"})) << "hit again once the animation is over";
    }
}

}  // namespace
