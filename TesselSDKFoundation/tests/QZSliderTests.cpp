// The centre-zero slider, driven through touches on the virtual clock.

#include "TesselSDKFoundation/QZSlider.h"
#include "TesselSDKFoundation/tests/QZWidgetTestSupport.h"
#include "CoreGraphics/CGImage.h"
#include "UIKit/UIPanGestureRecognizer.h"

#include <cmath>

namespace {

// What the slider sent, in order: "changed" or "up".
struct Events {
    std::vector<std::string> sent;
    void changed(QZSlider*) { sent.push_back("changed"); }
    void up(QZSlider*) { sent.push_back("up"); }
    int count(const char* what) const { return int(std::count(sent.begin(), sent.end(), what)); }
};

class QZSliderTest : public QZWidgetTest {
protected:
    void SetUp() override
    {
        QZWidgetTest::SetUp();
        slider = UIView::viewWithFrame<QZSlider>(CGRectMake(0, 200, 320, 56));
        slider->addTarget(events, &Events::changed, UIControlEventValueChanged);
        slider->addTarget(events, &Events::up, UIControlEventTouchUpInside);
        show(slider);
    }
    CGFloat knobX() const { return slider->handleContainerView()->center().x; }
    // A drag of the knob from where it is to window x `to`, then the lift.
    void dragKnobTo(CGFloat to)
    {
        driver->drag({CGPointMake(knobX(), 228), CGPointMake(to, 228)}, 0.4, 0.05);
        driver->advance(0.5);
    }

    std::shared_ptr<Events> events = std::make_shared<Events>();
    std::shared_ptr<QZSlider> slider;
};

TEST_F(QZSliderTest, TrackPiecesAndKnobTravelIn320Points)
{
    EXPECT_TRUE(RectNear(slider->centerImageView()->frame(), CGRectMake(145, 0, 30, 56)));
    EXPECT_TRUE(RectNear(slider->leftCapImageView()->frame(), CGRectMake(32, 0, 10, 56)));
    EXPECT_TRUE(RectNear(slider->leftStretchableImageView()->frame(), CGRectMake(42, 0, 103, 56)));
    EXPECT_TRUE(RectNear(slider->rightStretchableImageView()->frame(), CGRectMake(175, 0, 103, 56)));
    EXPECT_TRUE(RectNear(slider->rightCapImageView()->frame(), CGRectMake(278, 0, 10, 56)));
    EXPECT_TRUE(RectNear(slider->handleContainerView()->bounds(), CGRectMake(0, 0, 55, 56)));

    slider->setMinimumValue(-100);
    slider->setMaximumValue(100);
    struct Row {
        CGFloat value;
        CGFloat knob;
        bool rightShows;
        CGRect fill;  // the fill that shows
        UIViewContentMode mode;
    };
    const Row rows[] = {
        // Each fill runs from the centre mark to the knob.
        {0, 160, false, CGRectMake(160, 0, 0, 56), UIViewContentModeRight},
        {100, 281, true, CGRectMake(160, 0, 121, 56), UIViewContentModeScaleToFill},
        {-100, 39, false, CGRectMake(39, 0, 121, 56), UIViewContentModeScaleToFill},
        {10, 172.1f, true, CGRectMake(160, 0, 12.1f, 56), UIViewContentModeLeft},
        {-20, 135.8f, false, CGRectMake(135.8f, 0, 24.2f, 56), UIViewContentModeRight},
        {-50, 99.5f, false, CGRectMake(99.5f, 0, 60.5f, 56), UIViewContentModeScaleToFill},
        // Unclamped, as owners expect: the knob runs past the end.
        {200, 402, true, CGRectMake(160, 0, 242, 56), UIViewContentModeScaleToFill},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        slider->setValue(row.value);
        EXPECT_NEAR(knobX(), row.knob, 0.01);
        EXPECT_NEAR(slider->value(), row.value, 0.001);
        EXPECT_EQ(slider->rightGooImageView()->isHidden(), !row.rightShows);
        EXPECT_EQ(slider->leftGooImageView()->isHidden(), row.rightShows);
        const auto& fill = row.rightShows ? slider->rightGooImageView() : slider->leftGooImageView();
        const auto& active = row.rightShows ? slider->rightGooImageViewActive() : slider->leftGooImageViewActive();
        EXPECT_TRUE(RectNear(fill->frame(), row.fill));
        EXPECT_TRUE(RectNear(active->frame(), row.fill));
        EXPECT_EQ(fill->contentMode(), row.mode);
    }
    EXPECT_TRUE(events->sent.empty());  // setValue sends nothing
}

TEST_F(QZSliderTest, DraggingPastTheRightEndGivesTheMaximumThenTouchUpInsideAfterTheLift)
{
    slider->setMinimumValue(-100);
    slider->setMaximumValue(100);
    slider->setValue(0);
    int panChanges = 0;
    struct PanCounter {
        int* changes;
        void seen(UIPanGestureRecognizer* pan)
        {
            // The pan's beginning is a step of the knob too.
            if (pan->state() == UIGestureRecognizerStateBegan || pan->state() == UIGestureRecognizerStateChanged)
                ++*changes;
        }
    };
    auto counter = std::make_shared<PanCounter>(PanCounter{&panChanges});
    for (const auto& r : slider->handleContainerView()->gestureRecognizers())
        if (auto pan = std::dynamic_pointer_cast<UIPanGestureRecognizer>(r)) pan->addTarget(counter, &PanCounter::seen);

    driver->touchDown(1, CGPointMake(160, 228));
    EXPECT_FLOAT_EQ(slider->rightGooImageViewActive()->alpha(), 1);
    for (CGFloat x = 170; x <= 400; x += 10) driver->touchMove(1, CGPointMake(x, 228));
    EXPECT_TRUE(events->sent.size() > 0 && events->count("up") == 0);
    driver->touchUp(1, CGPointMake(400, 228));
    EXPECT_EQ(slider->sliderPosition(), 1);
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(knobX(), 281);

    ASSERT_GT(panChanges, 0);
    EXPECT_EQ(events->count("changed"), panChanges);
    EXPECT_EQ(events->count("up"), 1);
    EXPECT_EQ(events->sent.back(), "up");

    driver->advance(0.25);
    EXPECT_FLOAT_EQ(slider->rightGooImageViewActive()->alpha(), 0);
    EXPECT_FLOAT_EQ(slider->leftGooImageViewActive()->alpha(), 0);
}

// The pan begins on the first motion past its slop; a pointer that jumps there (a quick flick,
// a coarse mouse) takes the knob all the way at once.
TEST_F(QZSliderTest, OneJumpRightAfterThePressMovesTheKnobAsFar)
{
    slider->setMinimumValue(-100);
    slider->setMaximumValue(100);
    slider->setValue(0);
    driver->touchDown(1, CGPointMake(160, 228));
    driver->advance(1.0 / 60);
    driver->touchMove(1, CGPointMake(220, 228));
    // The touch band is 248 points wide and the knob travels 121 points either side.
    const CGFloat knob = 160 + 121 * 60 / 124.0f;
    EXPECT_NEAR(knobX(), knob, 0.01);
    EXPECT_NEAR(slider->value(), 100 * 60 / 124.0, 0.01);
    EXPECT_EQ(events->count("changed"), 1);
    driver->touchUp(1, CGPointMake(220, 228));
    EXPECT_NEAR(knobX(), knob, 0.01);
}

TEST_F(QZSliderTest, APressThatDoesNotMoveStillSendsTouchUpInside)
{
    driver->press(CGPointMake(160, 228), 0.3);
    EXPECT_EQ(events->sent, std::vector<std::string>{"up"});
}

TEST_F(QZSliderTest, ADoubleTapOnTheCentreMarkResetsToZero)
{
    struct Row {
        const char* name;
        CGFloat min, max;
        CGFloat positionAfter;
    };
    const Row rows[] = {
        {"range -100..100", -100, 100, 0},
        // The range starts empty: the position stays where the knob was dragged, not NaN.
        {"empty range", 0, 0, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        slider->setMinimumValue(row.min);
        slider->setMaximumValue(row.max);
        dragKnobTo(0);  // the knob away from the centre mark
        ASSERT_EQ(slider->sliderPosition(), -1);
        events->sent.clear();
        driver->tap(CGPointMake(160, 228), 2);
        driver->advance(0.5);
        EXPECT_EQ(slider->sliderPosition(), row.positionAfter);
        EXPECT_FALSE(std::isnan(knobX()));
        EXPECT_EQ(slider->value(), row.min == row.max ? row.min : 0);
        EXPECT_EQ(events->sent, std::vector<std::string>{"changed"});
    }
}

// Where the fill shows along the track's groove: the first and last x whose pixel is lit above
// the bare groove, leaving out the knob and the centre mark's tick.
struct LitSpan {
    int first = -1;
    int last = -1;
};

LitSpan litGrooveSpan(QZSlider& slider)
{
    auto image = UIViewSnapshot(slider);
    CGImageRef pixels = image->CGImage();
    const size_t width = CGImageGetWidth(pixels);
    const uint8_t* row = CGImageGetBytes(pixels) + 27 * CGImageGetBytesPerRow(pixels);
    const CGFloat knob = slider.handleContainerView()->center().x;
    LitSpan span;
    for (size_t x = 0; x < width; ++x) {
        if (std::abs(CGFloat(x) + 0.5f - knob) < 18 || std::abs(CGFloat(x) + 0.5f - 160) < 3) continue;
        if (row[x * 4 + 1] < 0x48) continue;  // the groove is #1C1C1C; the fill lights it to about #6D6D6D
        if (span.first < 0) span.first = int(x);
        span.last = int(x);
    }
    return span;
}

TEST_F(QZSliderTest, TheFillRunsFromTheCentreMarkToTheKnobAndIsGoneAtZero)
{
    slider->setMinimumValue(-100);
    slider->setMaximumValue(100);
    driver->press(CGPointMake(160, 228), 0.1);  // the active fills fade out once a touch ends
    driver->advance(0.5);
    struct Row {
        CGFloat value;
        int first, last;  // -1: nothing lit
    };
    // The knob at 220.5 (50) and 99.5 (-50) covers 18 points either side of its centre.
    const Row rows[] = {{0, -1, -1}, {50, 163, 202}, {-50, 118, 157}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        slider->setValue(row.value);
        driver->turn();
        const LitSpan span = litGrooveSpan(*slider);
        EXPECT_NEAR(span.first, row.first, 1);
        EXPECT_NEAR(span.last, row.last, 1);
    }
}

TEST_F(QZSliderTest, LooksAsReviewed)
{
    slider->setMinimumValue(-100);
    slider->setMaximumValue(100);
    driver->press(CGPointMake(160, 228), 0.1);  // a new slider looks touched until a touch ends
    driver->advance(0.5);
    expectGolden(*slider, "QZSlider_rest");
    dragKnobTo(60);
    expectGolden(*slider, "QZSlider_left");
    dragKnobTo(250);
    expectGolden(*slider, "QZSlider_right");
    driver->touchDown(1, CGPointMake(knobX(), 228));
    driver->advance(0.3);
    expectGolden(*slider, "QZSlider_touched");
    driver->touchUp(1, CGPointMake(knobX(), 228));
}

}  // namespace
