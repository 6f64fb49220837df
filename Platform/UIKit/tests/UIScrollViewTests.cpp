#include "UIKit/UIControl.h"
#include "UIKit/UIScrollView.h"
#include "UIKit/UITapGestureRecognizer.h"
#include "UIKit/testing/UITestDriver.h"
#include "QuartzCore/CABase.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Calls = std::vector<std::string>;

// Records the delegate's calls, runs of didScroll (and didZoom) folded into one.
struct ScrollRecorder : UIScrollViewDelegate {
    Calls calls;
    int scrolls = 0;
    CGPoint releaseOffset{}, velocity{}, target{};
    std::optional<CGPoint> moveTargetTo;
    std::shared_ptr<UIView> zoomed;
    double endedDecelerating = -1;

    void note(const std::string& call)
    {
        if (!calls.empty() && calls.back() == call && (call == "didScroll" || call == "didZoom")) return;
        calls.push_back(call);
    }
    void scrollViewDidScroll(UIScrollView*) override
    {
        ++scrolls;
        note("didScroll");
    }
    void scrollViewWillBeginDragging(UIScrollView*) override { note("willBeginDragging"); }
    void scrollViewWillEndDraggingWithVelocityTargetContentOffset(UIScrollView* s, CGPoint v, CGPoint* t) override
    {
        note("willEndDragging");
        releaseOffset = s->contentOffset();
        velocity = v;
        target = *t;
        if (moveTargetTo) *t = *moveTargetTo;
    }
    void scrollViewDidEndDraggingWillDecelerate(UIScrollView*, bool decelerate) override
    {
        note(decelerate ? "didEndDragging decelerate" : "didEndDragging");
    }
    void scrollViewWillBeginDecelerating(UIScrollView*) override { note("willBeginDecelerating"); }
    void scrollViewDidEndDecelerating(UIScrollView*) override
    {
        note("didEndDecelerating");
        endedDecelerating = CACurrentMediaTime();
    }
    void scrollViewDidEndScrollingAnimation(UIScrollView*) override { note("didEndScrollingAnimation"); }
    UIView* viewForZoomingInScrollView(UIScrollView*) override { return zoomed.get(); }
    void scrollViewWillBeginZoomingWithView(UIScrollView*, UIView*) override { note("willBeginZooming"); }
    void scrollViewDidZoom(UIScrollView*) override { note("didZoom"); }
    void scrollViewDidEndZoomingWithViewAtScale(UIScrollView*, UIView*, CGFloat scale) override
    {
        note("didEndZooming at " + std::to_string(scale).substr(0, 4));
    }
};

struct ScrollTest : ::testing::Test {
    UITestDriver driver;
    std::shared_ptr<UIWindow> window = keyWindow();
    std::shared_ptr<UIScrollView> scroll = UIView::viewWithFrame<UIScrollView>(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<ScrollRecorder> recorder = std::make_shared<ScrollRecorder>();
    ScrollTest()
    {
        window->addSubview(scroll);
        scroll->setContentSize(CGSizeMake(320, 4000));
        scroll->setDelegate(recorder);
    }
    bool settle(double timeout = 10)
    {
        return driver.runUntil([&] { return !scroll->isDecelerating() && !scroll->isDragging(); }, timeout);
    }
};

TEST_F(ScrollTest, AFlickDeceleratesToItsPredictedTargetOnTheClock)
{
    double start = CACurrentMediaTime();
    driver.drag({{160, 400}, {160, 100}}, 0.25);  // 1.2 points per ms at the lift
    double released = CACurrentMediaTime() - start;
    EXPECT_EQ(recorder->calls, (Calls{"willBeginDragging", "didScroll", "willEndDragging", "didEndDragging decelerate",
                                      "willBeginDecelerating"}));
    EXPECT_TRUE(scroll->isDecelerating());
    EXPECT_FLOAT_EQ(recorder->releaseOffset.y, 300) << "the offset follows the finger";
    EXPECT_NEAR(recorder->velocity.y, 1.2, 1e-3);
    double travel = 1.2 / -std::log(0.998);
    EXPECT_NEAR(recorder->target.y, 300 + travel, 0.01);
    EXPECT_EQ(recorder->target.x, 0);

    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");
    EXPECT_EQ(recorder->calls[recorder->calls.size() - 2], "didScroll");
    EXPECT_EQ(scroll->contentOffset().y, recorder->target.y) << "it rests exactly at the target";
    // Less than half a point to go after t ms: travel * 0.998^t < 0.5.
    double restsAfter = std::log(0.5 / travel) / std::log(0.998) / 1000;
    double took = recorder->endedDecelerating - start - released;
    EXPECT_GE(took, restsAfter - 1e-6);
    EXPECT_LE(took, restsAfter + 1.0 / 60 + 1e-6);
}

TEST_F(ScrollTest, ReleaseTargetsSlowReleasesAndEdges)
{
    // Held still before the lift: nothing left to go.
    driver.drag({{160, 400}, {160, 300}}, 0.3, 0.2);
    EXPECT_EQ(recorder->calls, (Calls{"willBeginDragging", "didScroll", "willEndDragging", "didEndDragging"}));
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(scroll->contentOffset().y, 100);

    // A delegate that moves the target moves the end.
    recorder->calls.clear();
    recorder->moveTargetTo = CGPointMake(0, 1000);
    driver.drag({{160, 400}, {160, 300}}, 0.1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(scroll->contentOffset().y, 1000);
    EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");

    // Past the top: half as far, then back to the edge over 0.3 s.
    recorder->moveTargetTo.reset();
    scroll->setContentOffset(CGPointZero);
    recorder->calls.clear();
    driver.drag({{160, 100}, {160, 300}}, 0.3, 0.2);
    EXPECT_EQ(recorder->releaseOffset.y, -100);
    EXPECT_EQ(recorder->calls[3], "didEndDragging decelerate");
    driver.advance(0.29);
    EXPECT_LT(scroll->contentOffset().y, 0);
    driver.advance(0.02);
    EXPECT_EQ(scroll->contentOffset().y, 0);
    EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");

    // Without bounces the edge holds.
    scroll->setBounces(false);
    driver.drag({{160, 100}, {160, 300}}, 0.3, 0.2);
    EXPECT_EQ(recorder->releaseOffset.y, 0);
}

TEST_F(ScrollTest, NegativeInsetsAndAxesThatDoNotScroll)
{
    scroll->setContentSize(CGSizeMake(320, 480));
    driver.drag({{160, 400}, {160, 100}}, 0.2);
    EXPECT_EQ(scroll->contentOffset().y, 0) << "content that fits does not scroll";
    EXPECT_TRUE(recorder->calls.empty());

    scroll->setAlwaysBounceVertical(true);
    driver.drag({{160, 400}, {160, 300}}, 0.2, 0.2);
    EXPECT_EQ(recorder->releaseOffset.y, 50) << "always bouncing: it moves, banded";
    ASSERT_TRUE(settle());
    EXPECT_EQ(scroll->contentOffset().y, 0);

    // Negative insets: the content range shrinks by them.
    scroll->setContentSize(CGSizeMake(320, 1000));
    scroll->setContentInset(UIEdgeInsetsMake(-100, 0, -100, 0));
    scroll->setContentOffset(CGPointMake(0, 100));
    driver.drag({{160, 100}, {160, 400}}, 0.2);  // a flick up past the top
    ASSERT_TRUE(settle());
    EXPECT_EQ(scroll->contentOffset().y, 100);
    driver.drag({{160, 400}, {160, 100}}, 0.1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(scroll->contentOffset().y, 1000 - 100 - 480);
}

TEST_F(ScrollTest, PagingSnapsToTheNearestOrTheNextPage)
{
    scroll->setContentSize(CGSizeMake(320 * 5, 480));
    scroll->setPagingEnabled(true);
    struct Case {
        CGFloat from, to;
        double seconds, hold;
        CGFloat page;
    };
    const Case cases[] = {
        {300, 200, 0.5, 0.2, 0},    // slow, a third of a page: back
        {300, 100, 0.5, 0.2, 320},  // slow, past half: on
        {300, 260, 0.05, 0, 640},   // a flick: the next page in its direction
        {100, 160, 0.05, 0, 320},   // a flick back
        {300, 100, 0.1, 0, 640},    // a fast one still goes one page
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        driver.drag({{c.from, 240}, {c.to, 240}}, c.seconds, c.hold);
        ASSERT_TRUE(settle());
        EXPECT_EQ(scroll->contentOffset().x, c.page);
        EXPECT_EQ(scroll->contentOffset().y, 0);
    }
}

struct Clicks {
    Calls heard;
    void down() { heard.push_back("down"); }
    void upInside() { heard.push_back("up inside"); }
    void upOutside() { heard.push_back("up outside"); }
    void cancel() { heard.push_back("cancel"); }
};

struct ScrollViewTakingControlTouches : UIScrollView {
    using UIScrollView::UIScrollView;
    bool touchesShouldCancelInContentView(UIView*) override { return true; }
};

TEST_F(ScrollTest, AButtonInsideFiresOnAQuickTapAndDragsDecideWhoKeepsTheTouch)
{
    auto clicks = std::make_shared<Clicks>();
    auto makeButton = [&](UIScrollView& in) {
        auto button = UIView::viewWithFrame<UIControl>(CGRectMake(60, 100, 200, 200));
        button->addTarget(clicks, &Clicks::down, UIControlEventTouchDown);
        button->addTarget(clicks, &Clicks::upInside, UIControlEventTouchUpInside);
        button->addTarget(clicks, &Clicks::upOutside, UIControlEventTouchUpOutside);
        button->addTarget(clicks, &Clicks::cancel, UIControlEventTouchCancel);
        in.addSubview(button);
        return button;
    };
    auto button = makeButton(*scroll);

    driver.tap(CGPointMake(160, 200));  // lifted within 0.15 s: began and ended together
    EXPECT_EQ(clicks->heard, (Calls{"down", "up inside"}));

    clicks->heard.clear();
    driver.touchDown(0, {160, 200});
    driver.advance(0.1);
    EXPECT_TRUE(clicks->heard.empty()) << "held back for 0.15 s";
    driver.advance(0.06);
    EXPECT_EQ(clicks->heard, (Calls{"down"}));
    driver.touchUp(0, {160, 200});

    clicks->heard.clear();
    driver.drag({{160, 250}, {160, 50}}, 0.1);  // dragging begins before the delay ends
    EXPECT_TRUE(clicks->heard.empty());
    EXPECT_GT(scroll->contentOffset().y, 0);
    ASSERT_TRUE(settle());

    // The button has the touch: a drag leaves it there and does not scroll.
    scroll->setContentOffset(CGPointZero);
    clicks->heard.clear();
    driver.touchDown(0, {160, 250});
    driver.advance(0.2);
    driver.drag({{160, 250}, {160, 450}}, 0.2);
    EXPECT_EQ(scroll->contentOffset().y, 0);
    EXPECT_EQ(clicks->heard, (Calls{"down", "up outside"}));

    // Unless the scroll view says a drag may take it.
    auto taking = UIView::viewWithFrame<ScrollViewTakingControlTouches>(CGRectMake(0, 0, 320, 480));
    taking->setContentSize(CGSizeMake(320, 4000));
    window->addSubview(taking);
    makeButton(*taking);
    clicks->heard.clear();
    driver.touchDown(0, {160, 250});
    driver.advance(0.2);
    driver.drag({{160, 250}, {160, 50}}, 0.2, 0.2);
    EXPECT_EQ(clicks->heard, (Calls{"down", "cancel"}));
    EXPECT_GT(taking->contentOffset().y, 100);
}

TEST_F(ScrollTest, ATouchDownStopsADecelerationAndItsViewsNeverSeeIt)
{
    auto content = UIView::viewWithFrame<RecordingView>(CGRectMake(0, 0, 320, 4000));
    scroll->addSubview(content);
    auto taps = std::make_shared<StateRecorder>();
    std::vector<bool> deceleratingWhenTapped;
    taps->also = [&](UIGestureRecognizer*) { deceleratingWhenTapped.push_back(scroll->isDecelerating()); };
    addRecognizer<UITapGestureRecognizer>(*content, taps);

    driver.drag({{160, 400}, {160, 100}}, 0.2);
    content->heard.clear();  // the drag's own touch
    driver.advance(0.2);
    ASSERT_TRUE(scroll->isDecelerating());
    CGFloat stoppedAt = scroll->contentOffset().y;
    driver.tap(CGPointMake(160, 240));
    EXPECT_EQ(deceleratingWhenTapped, (std::vector<bool>{true}));
    EXPECT_TRUE(content->heard.empty());
    EXPECT_FALSE(scroll->isDecelerating());
    driver.advance(1);
    EXPECT_EQ(scroll->contentOffset().y, stoppedAt);
    EXPECT_EQ(std::count(recorder->calls.begin(), recorder->calls.end(), "didEndDecelerating"), 0);

    driver.press(CGPointMake(160, 240), 0.2);  // at rest, the views see touches again
    EXPECT_EQ(content->heard, (std::vector<std::string>{"began", "cancelled"})) << "the tap took it at the lift";
    EXPECT_EQ(deceleratingWhenTapped, (std::vector<bool>{true, false}));
}

TEST_F(ScrollTest, ProgrammaticOffsetsTellTheDelegate)
{
    scroll->setContentOffset(CGPointMake(0, 500), true);
    driver.advance(0.15);
    EXPECT_GT(scroll->contentOffset().y, 0);
    EXPECT_LT(scroll->contentOffset().y, 500);
    driver.advance(0.2);
    EXPECT_EQ(scroll->contentOffset().y, 500);
    EXPECT_GT(recorder->scrolls, 10) << "every frame";
    EXPECT_EQ(recorder->calls, (Calls{"didScroll", "didEndScrollingAnimation"}));

    recorder->calls.clear();
    recorder->scrolls = 0;
    UIView::animateWithDuration(0.3, [&] { scroll->setContentOffset(CGPointMake(0, 100)); });
    EXPECT_EQ(scroll->contentOffset().y, 100) << "at once";
    driver.advance(0.5);
    EXPECT_EQ(recorder->scrolls, 1);
    EXPECT_EQ(recorder->calls, (Calls{"didScroll"}));
}

TEST_F(ScrollTest, ZoomScalesTheViewAndPinchesBounceBackToTheLimits)
{
    auto image = UIView::viewWithFrame(CGRectMake(0, 0, 400, 600));
    scroll->addSubview(image);
    scroll->setContentSize(image->frame().size);
    recorder->zoomed = image;
    scroll->setMinimumZoomScale(0.5f);
    scroll->setMaximumZoomScale(2);

    scroll->setZoomScale(4);
    EXPECT_EQ(scroll->zoomScale(), 2) << "clamped";
    EXPECT_EQ(image->transform().a, 2);
    EXPECT_EQ(image->frame().origin.x, 0);
    EXPECT_EQ(scroll->contentSize().width, 800);
    EXPECT_EQ(scroll->contentSize().height, 1200);

    scroll->setZoomScale(1);
    scroll->setContentOffset(CGPointMake(40, 60));
    recorder->calls.clear();
    // Fingers 100 points apart spread to 150 about (160, 240): 1.5, the point between them stays.
    CGPoint under = image->convertPointFromView(CGPointMake(160, 240), window.get());
    driver.pinch(CGPointMake(160, 240), 100, 150, 0.3);
    EXPECT_FLOAT_EQ(scroll->zoomScale(), 1.5f);
    CGPoint now = image->convertPointToView(under, window.get());
    EXPECT_NEAR(now.x, 160, 1e-3);
    EXPECT_NEAR(now.y, 240, 1e-3);
    EXPECT_EQ(recorder->calls.front(), "willBeginZooming");
    EXPECT_EQ(recorder->calls.back(), "didEndZooming at 1.50");

    // Past the maximum: damped, then back over 0.3 s.
    driver.pinch(CGPointMake(160, 240), 100, 300, 0.3);
    EXPECT_GT(scroll->zoomScale(), 2);
    EXPECT_LT(scroll->zoomScale(), 4.5);
    EXPECT_TRUE(scroll->isZooming());
    driver.advance(0.35);
    EXPECT_EQ(scroll->zoomScale(), 2);
    EXPECT_FALSE(scroll->isZooming());
    EXPECT_EQ(recorder->calls.back(), "didEndZooming at 2.00");

    scroll->setBouncesZoom(false);
    driver.pinch(CGPointMake(160, 240), 200, 50, 0.3);
    EXPECT_EQ(scroll->zoomScale(), 0.5f) << "stops at the limit";

    recorder->calls.clear();
    scroll->setZoomScale(1, true);
    driver.advance(0.4);
    EXPECT_EQ(scroll->zoomScale(), 1);
    EXPECT_EQ(recorder->calls.back(), "didEndZooming at 1.00");

    scroll->zoomToRect(CGRectMake(100, 100, 160, 240), false);
    EXPECT_EQ(scroll->zoomScale(), 2);
    EXPECT_EQ(scroll->contentOffset().x, 180 * 2 - 160);
    EXPECT_EQ(scroll->contentOffset().y, 220 * 2 - 240);
}

// Observers of the offset, content size and frame hear each real change twice: before it (the
// values read then are the old ones) and after it; a value set again unchanged says nothing.
TEST_F(ScrollTest, ObserversHearOffsetSizeAndFrameChangesBeforeAndAfter)
{
    std::vector<std::string> heard;
    auto note = [&](const std::string& key, bool prior) {
        std::string value;
        if (key == "contentOffset") value = std::to_string(int(scroll->contentOffset().y));
        if (key == "contentSize") value = std::to_string(int(scroll->contentSize().height));
        if (key == "frame") value = std::to_string(int(scroll->frame().size.width));
        heard.push_back(key + (prior ? " before " : " after ") + value);
    };
    std::vector<unsigned long> tokens;
    for (const char* key : {"contentOffset", "contentSize", "frame"})
        tokens.push_back(scroll->addObserverForKey(key, note));

    scroll->setContentOffset(CGPointMake(0, 30));
    scroll->setContentOffset(CGPointMake(0, 30));
    scroll->setContentSize(CGSizeMake(320, 5000));
    scroll->setContentSize(CGSizeMake(320, 5000));
    scroll->setFrame(CGRectMake(0, 0, 200, 480));
    scroll->setFrame(CGRectMake(0, 0, 200, 480));
    EXPECT_EQ(heard,
              (std::vector<std::string>{"contentOffset before 0", "contentOffset after 30", "contentSize before 4000",
                                        "contentSize after 5000", "frame before 320", "frame after 200"}));
    // A drag moves the offset through the same announcements.
    heard.clear();
    driver.drag({CGPointMake(100, 300), CGPointMake(100, 200)}, 0.3, 0.2);
    settle();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), "contentOffset before 30");
    for (unsigned long token : tokens) scroll->removeObserver(token);
    heard.clear();
    scroll->setContentOffset(CGPointMake(0, 0));
    EXPECT_TRUE(heard.empty());
}

}  // namespace

namespace {

// The wheel moves the content as a drag of its length would, clamped to the edges, with no
// deceleration; a view that scrolls sideways only takes a vertical wheel sideways; at an edge, or
// in a view that cannot scroll, nothing moves and the wheel is left to an enclosing view.
TEST_F(ScrollTest, TheWheelScrollsAsADragWithoutDecelerationOrBounce)
{
    EXPECT_TRUE(scroll->scrollByWheel(CGPointMake(0, 120)));
    EXPECT_EQ(scroll->contentOffset().y, 120);
    EXPECT_EQ(recorder->calls, (Calls{"willBeginDragging", "didScroll", "willEndDragging", "didEndDragging"}));
    EXPECT_FALSE(scroll->isDragging());
    EXPECT_FALSE(scroll->isDecelerating());

    recorder->calls.clear();
    EXPECT_TRUE(scroll->scrollByWheel(CGPointMake(0, -500)));
    EXPECT_EQ(scroll->contentOffset().y, 0) << "clamped at the top, no bounce";
    EXPECT_FALSE(scroll->scrollByWheel(CGPointMake(0, -40))) << "already at the top";
    EXPECT_TRUE(scroll->scrollByWheel(CGPointMake(40, 0))) << "a sideways scroll moves an upright view";
    EXPECT_EQ(scroll->contentOffset().y, 40);
    EXPECT_EQ(scroll->contentOffset().x, 0);
    scroll->setContentOffset(CGPointZero);

    auto strip = UIView::viewWithFrame<UIScrollView>(CGRectMake(0, 400, 320, 80));
    strip->setContentSize(CGSizeMake(900, 80));
    scroll->addSubview(strip);
    EXPECT_TRUE(strip->scrollByWheel(CGPointMake(0, 40)));
    EXPECT_EQ(strip->contentOffset().x, 40) << "a vertical wheel moves a sideways strip";
    EXPECT_EQ(strip->contentOffset().y, 0);
    EXPECT_TRUE(strip->scrollByWheel(CGPointMake(0, 4000)));
    EXPECT_EQ(strip->contentOffset().x, 580);

    strip->setScrollEnabled(false);
    EXPECT_FALSE(strip->scrollByWheel(CGPointMake(0, -40)));
}

}  // namespace
