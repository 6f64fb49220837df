// The centre-zero slider, driven through touches on the virtual clock.

#include "TesselSDKFoundation/QZSlider.h"
#include "TesselSDKFoundation/tests/QZWidgetTestSupport.h"
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
        {0, 160, false, CGRectMake(163, 0, 30, 56), UIViewContentModeRight},
        {100, 281, true, CGRectMake(127, 0, 151, 56), UIViewContentModeScaleToFill},
        {-100, 39, false, CGRectMake(42, 0, 151, 56), UIViewContentModeScaleToFill},
        {10, 172.1f, true, CGRectMake(127, 0, 42.1f, 56), UIViewContentModeLeft},
        {-20, 135.8f, false, CGRectMake(138.8f, 0, 54.2f, 56), UIViewContentModeScaleToFill},
        // Unclamped, as owners expect: the knob runs past the end.
        {200, 402, true, CGRectMake(127, 0, 272, 56), UIViewContentModeScaleToFill},
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
            if (pan->state() == UIGestureRecognizerStateChanged) ++*changes;
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
